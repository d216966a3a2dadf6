// The promotion and supplier buttons. Each brings up its own tab before it fetches anything.
#include "window/FrmQorClient.h"

namespace qor::window {

void TFormQorClient::SpeedButton3Click() { SwitchTabs(TabSwitch::PromotionButton); }

void TFormQorClient::SpeedButton4Click() { SwitchTabs(TabSwitch::SupplierButton); }

}  // namespace qor::window
