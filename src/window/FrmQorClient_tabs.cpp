// The tab switch every workflow shares: one tab alone, or none.
#include <array>

#include "window/FrmQorClient.h"

namespace qor::window {

namespace {

struct TabState {
    int page;          // the one page shown; -1 for none
    bool takeCaption;  // the page's caption becomes the window caption
};

TabState stateAfter(TabSwitch by) {
    switch (by) {
        case TabSwitch::ProductButton: return {0, true};
        case TabSwitch::PromotionButton: return {1, true};
        case TabSwitch::SupplierButton: return {2, true};
        case TabSwitch::ItemCheck: return {0, false};
        case TabSwitch::SignIn: return {-1, false};
    }
    return {-1, false};
}

}  // namespace

void TFormQorClient::SwitchTabs(TabSwitch by) {
    const TabState state = stateAfter(by);
    QTabWidget* PageControl1 = workArea_->PageControl1;
    const std::array<QWidget*, 3> pages{workArea_->TabSheet1, workArea_->TabSheet2,
                                        workArea_->TabSheet3};
    const int activeBefore = PageControl1->currentIndex();

    if (state.page >= 0) {
        PageControl1->setTabVisible(state.page, true);
        PageControl1->setCurrentIndex(state.page);
        if (state.takeCaption) PageControl1->setTabText(state.page, windowTitle());
    }
    for (int i = 0; i < static_cast<int>(pages.size()); ++i) {
        if (i != state.page) PageControl1->setTabVisible(i, false);
    }
    for (int i = 0; i < static_cast<int>(pages.size()); ++i) pages[i]->setVisible(i == state.page);

    // Hiding every tab leaves the active page as it was; Qt would have moved it.
    if (state.page < 0 && PageControl1->currentIndex() != activeBefore && activeBefore >= 0) {
        PageControl1->setCurrentIndex(activeBefore);
        pages[activeBefore]->setVisible(false);
    }
}

}  // namespace qor::window
