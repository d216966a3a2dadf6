// The promotion button. It brings up its own tab before it fetches anything.
#include "window/FrmQorClient.h"

namespace qor::window {

void TFormQorClient::SpeedButton3Click() { SwitchTabs(TabSwitch::PromotionButton); }

}  // namespace qor::window
