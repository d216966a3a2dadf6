// The handlers of the window's buttons and combos: each reads what the staff typed or
// picked, calls its workflow, and shows the outcome where the workflow leaves that to the
// view (the work area, the tabs, the column titles).
#include <array>
#include <string>

#include "storedb/lookup_datasets.h"
#include "text/cp950.h"
#include "window/FrmQorClient.h"
#include "window/big5_qt.h"

namespace qor::window {

void TFormQorClient::SpeedButton1Click() {
    signIn_.ask(fromQString(signInBar_->Ed_CustID->text()),
                fromQString(signInBar_->Ed_Passwd->text()));
    statusLine_->Memo1->clear();
    workArea_->Panel3->setVisible(signIn_.answer());
    SwitchTabs(TabSwitch::SignIn);
}

void TFormQorClient::SpeedButton2Click() {
    const std::string days = fromQString(signInBar_->Ed_Day->text());
    SwitchTabs(TabSwitch::ProductButton);
    // The grid shows the list once it is made, on every way out; the editor and the import
    // controls still follow each row, since every state change checks the store.
    const GridUpdatesHeld listing(*productPage_->DBGrid1);
    productDownload_.download(days, workArea_->CheckBox1->isChecked());
}

void TFormQorClient::SpeedButton3Click() {
    SwitchTabs(TabSwitch::PromotionButton);
    promotions_.download();
}

void TFormQorClient::SpeedButton4Click() {
    SwitchTabs(TabSwitch::SupplierButton);
    // A failed or stopped request ends here: titles and search field stay as they were.
    suppliers_.load();
    titleSupplierColumns();
    supplierPage_->SearchEdit1->setDataField("PROVIDER_ID");
}

// By position, as the statement lists the columns; a reply with fewer gets fewer titles.
void TFormQorClient::titleSupplierColumns() {
    const std::array<std::string, 4> titles{QOR_BIG5("代號"), QOR_BIG5("名稱"),
                                            QOR_BIG5("電話"), QOR_BIG5("統編")};
    TDBGrid& grid = *supplierPage_->DBGrid4;
    const int titled = std::min(grid.columnCount(), int(titles.size()));
    for (int column = 0; column < titled; ++column)
        grid.setColumnTitle(column, titles[std::size_t(column)]);
}

void TFormQorClient::SpeedButton5Click() { productImport_.importCurrent(); }

void TFormQorClient::SpeedButton6Click() { productImport_.undo(); }

void TFormQorClient::SpeedButton9Click() { productImport_.importAll(); }

// Products the store lacks bring up the product tab with them; none lacking transfers.
void TFormQorClient::SpeedButton7Click() {
    bool lacking = false;
    {
        const GridUpdatesHeld listing(*productPage_->DBGrid1);
        lacking = promotions_.checkItems();
    }
    if (lacking)
        SwitchTabs(TabSwitch::ItemCheck);
    else
        promotionPage_->SpeedButton8->click();
}

void TFormQorClient::SpeedButton8Click() { promotions_.transferUntaken(); }

void TFormQorClient::wwDBLookupCombo5BeforeDropDown() { storedb::openIfClosed(store_->CDS_PDITEM); }
void TFormQorClient::wwDBLookupCombo8BeforeDropDown() { storedb::openIfClosed(store_->CDS_PDCLASS); }
void TFormQorClient::wwDBLookupCombo1BeforeDropDown() { storedb::openIfClosed(store_->CDS_Provider); }
void TFormQorClient::wwDBLookupCombo2BeforeDropDown() { storedb::openIfClosed(store_->CDS_Unit); }

}  // namespace qor::window
