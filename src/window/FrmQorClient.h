#pragma once
// FormQorClient: the program's one window. It owns every dataset the workflows use; its
// handlers are spread over one source file per workflow.
//
// The components keep their layout names, which say little by themselves. Prefixes: CDS_ an
// in-memory dataset, DSP_ a provider, SQL_ a store-database query, DS_ a data source, Ed_ an
// edit; Panel, Label and SpeedButton are numbered in layout order; handlers are named after
// the control and the event (SpeedButton2Click). What each one is for:
//
//   name                          what it is                                 used by
//   Panel1                        sign-in bar, top                           sign-in
//   Label1, Ed_CustID             "店代號": the store code                   sign-in
//   Label2, Ed_Passwd             "識別碼": the identification code, as #    sign-in
//   SpeedButton1                  "連線": signs in                           sign-in
//   Label28, Ed_Day               "前推天數": days to look back              product download
//   Panel2, Memo1                 status line; a sign-in empties it          sign-in
//   Panel3                        work area, shown once signed in            all work
//   Panel4                        button bar of the work area                all work
//   SpeedButton2                  "商品資料": product download               products
//   SpeedButton3                  "販促資料": promotion download             promotions
//   SpeedButton4                  "廠商資料": supplier list                  suppliers
//   CheckBox1                     "生鮮商品": fresh goods only               product download
//   Panel5, PageControl1          page area and its tabs                     tab switch
//   TabSheet1                     product tab                                products
//   TabSheet2                     promotion tab                              promotions
//   TabSheet3                     supplier tab                               suppliers
//   DBGrid1                       the listed products, read-only; title      products, sorting
//                                 click sorts
//   Splitter1                     between the product grid and the editor    product editor
//   Panel7, Panel8                editor area; the editor's controls         product editor
//   Label3..Label27               the editor's field captions                product editor
//   DBEd_ProdID, DBEdit2..27,     data-aware edits, one per PRODUCT field;   product editor
//     DBEdit_PPrice2,               DBEdit15, 17 and 9 are read-only name
//     DBEdit_PsalePrice             boxes (category, attribute, supplier)
//   wwDBLookupCombo5, 8, 1, 2     look-up combos: category, attribute,       product editor
//                                 supplier, unit (from the store's lists)
//   DBRadioGroup1..3              tax kind, buying class, stock quantity     product editor
//   GroupBox1, DBCheckBox1..8     the product's eight yes/no flags           product editor
//   Edit1                         "%" box, bound to nothing                  -
//   Panel9                        the editor's buttons                       product editor
//   SpeedButton5                  "匯入存檔": imports the current product    product import
//   SpeedButton6                  "復原編輯": drops the row's changes        product editor
//   SpeedButton9                  no caption: imports every product          product import
//   Panel10                       promotion tab frame                        promotions
//   Panel11, Panel12              master grid panel; item grid panel         promotions
//   DBGrid2, DBGrid3              promotion masters; the current one's       promotions
//                                 items (both edited in place, in memory)
//   Panel13                       item check panel                           item check
//   SpeedButton7                  "品項檢查": the item check                 item check
//   SpeedButton8                  "資料轉入": never shown, pressed by the    transfer
//                                 item check to transfer the promotion
//   Memo2                         text box under the item check; unused      -
//   Panel14, Panel15              supplier grid panel; search edit panel     suppliers
//   DBGrid4                       head-office suppliers; title click sorts   suppliers, sorting
//                                 and points the search edit at the column
//   SearchEdit1                   finds a supplier by the sorted column      suppliers
//   ClientDataSet1, CDS_Cust      the signed-in store's row, twice           sign-in
//   CDS_Source                    head-office rows of the last download      products,
//                                                                            promotions, item check
//   CDS_PSaleSub, DS_PSaleSub     the current promotion's items              promotions, transfer
//   CDS_Fac, DS_Fac               head-office suppliers                      suppliers
//   -- in store() (storedb::StoreObjects):
//   SQLConnection1                the store database                         all but the transfer
//   SQLConnection2                the store database, second attachment      transfer
//   SQLQuery1                     look-ups by barcode and key; the insert    products, promotions
//   SQLQuery2                     the look-up at each editor state change    product editor
//   SQL_M, SQL_S                  promotion master and item inserts          transfer
//   SQL_Product, DSP_Product,     the product record: products the store     products, editor,
//     CDS_PRODUCT, DS_PRODUCT       lacks, edited and imported                 import
//   CDS_PDITEM, CDS_Provider,     category, supplier, attribute and unit     product editor
//     CDS_PDCLASS, CDS_Unit         lists of the look-up combos (with their
//                                   SQL_ queries and DSP_ providers)
//   SQL_PSaleMaster,              the promotions the store has not taken,    promotions, transfer
//     DSP_PSaleMaster,              in the layout of the store's master
//     CDS_PsaleMaster,              table
//     DS_PSaleMaster
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTabWidget>
#include <QWidget>
#include <cstdint>
#include <memory>
#include <string>

#include "dataset/dataset.h"
#include "dataset/datasource.h"
#include "gateway/FrmDataModHttp.h"
#include "storedb/definition_paths.h"
#include "storedb/store_objects.h"
#include "window/DBSearch.h"
#include "window/dbcontrols/DBCheckBox.h"
#include "window/dbcontrols/DBEdit.h"
#include "window/dbcontrols/DBGrid.h"
#include "window/dbcontrols/DBRadioGroup.h"
#include "window/dbcontrols/wwDBLookupCombo.h"
#include "window/panel.h"
#include "window/window_dialogs.h"
#include "window/work_display.h"

namespace qor::window {

// Who switches the work tabs; each leaves them in its own state (see SwitchTabs).
enum class TabSwitch {
    ProductButton,    // page 0 only, captioned with the window caption
    PromotionButton,  // page 1 only, captioned with the window caption
    SupplierButton,   // page 2 only, captioned with the window caption
    ItemCheck,        // page 0 only, caption untouched
    SignIn,           // no tab at all
};

class TFormQorClient : public QWidget {
public:
    // Builds the window from its layout and runs FormCreate. Opens nothing: no connection,
    // no dataset. The boxes go through `dialogs`. The definition files of the store database
    // are found through `paths`, or through the per-user settings when none is given.
    explicit TFormQorClient(WindowDialogs& dialogs, QWidget* parent = nullptr,
                            const storedb::DefinitionPaths* paths = nullptr);
    ~TFormQorClient() override;

    // The gateway module is made after the window, so it is handed over afterwards; its
    // exchanges report to the window's progress display from then on.
    void setDataModHttp(gateway::TDataModHttp* dataModHttp);
    WindowDialogs& dialogs() { return dialogs_; }

    // ---- long work: the gateway exchanges, the reconciliation, import-all, the promotion
    // download and the transfer show their progress (WorkDisplay) and can be stopped there.
    // A stop ends the work at its next safe point as a silent abort, leaving what a failure
    // at that point leaves: an exchange as a transport failure (no box), the reconciliation
    // and the promotion download between rows, import-all between rows with the rows before
    // committed, the transfer rolled back whole.
    WorkDisplay& workDisplay() { return workDisplay_; }
    // On by default. Off, the work runs as it always ran: nothing shown, nothing to stop;
    // for measuring what the display costs.
    void showWorkProgress(bool on);

    // ---- handlers
    void FormCreate();
    void SpeedButton1Click();  // sign-in
    void SpeedButton2Click();  // products
    void SpeedButton3Click();  // promotions
    void SpeedButton4Click();  // suppliers
    void SwitchTabs(TabSwitch by);

    // ---- promotions: the master list (store().CDS_PsaleMaster) and the current master's
    // items (CDS_PSaleSub). Nothing here is written to the store until TransferPromotion.
    // SpeedButton3Click lists every head-office master of bill type '1' the store has not
    // taken (no PSALE_MASTER row with it as SOURCE_ID), copied by field name, and stands on
    // the first. The open and every move of the master list fetch the current master's items
    // (CDS_PsaleMasterAfterOpen): n listed masters make n + 2 fetches, a click on another
    // master one.
    void CDS_PsaleMasterAfterOpen(ds::Dataset& DataSet);
    // The item check: the head office's products of the items' promotion go through the
    // product reconciliation (fresh goods off) into CDS_PRODUCT. Products the store lacks
    // bring up the product tab with them (TabSwitch::ItemCheck) and nothing is written;
    // none lacking presses SpeedButton8. The statement is dumped to 123.TXT in the gateway
    // module's dump folder first; when that fails the check ends with
    //     Cannot create file "<path>". <reason>
    // before anything is sent.
    void SpeedButton7Click();
    // The transfer check: a master the store has taken already (SOURCE_ID) is passed over in
    // silence; any other goes to TransferPromotion.
    void SpeedButton8Click();
    // Writes the current master and its items (those with a PROD_ID, in list order) in one
    // transaction on SQLConnection2, under the hourglass, the item grid holding still. The
    // promotion is written whole or not at all: any failure rolls back and shows the warning
    //     資料寫入失敗..!
    //     PROD_ID: <the item being written, when it was an item>
    //     <what failed>
    // A promotion without items writes nothing.
    void TransferPromotion();

    // ---- column sorting by title, on DBGrid1 (products) and DBGrid4 (suppliers)
    // A title click sorts the grid's dataset by the clicked column, ascending and descending
    // in turn whichever column is clicked: ascending as its field-name order, descending as
    // the named order "i" + field (defined on first use, kept for the run). The title gets
    // "▲" or "▼" before it, every other mark of the grid goes. A pending edit is posted
    // first; when that fails its error is raised, the order stays and the marks are gone.
    // DBGrid4's click also points SearchEdit1 at the column and gives it the focus. A
    // column the grid does not have (a closed dataset) does nothing.
    void DBGrid1TitleClick(int Column);
    void DBGrid4TitleClick(int Column);
    // Removes a leading "▲" or "▼" from every title of the grid; other titles stay as they are.
    void ClearSortMarks(TDBGrid& grid);

    // ---- the product editing dataset (store().CDS_PRODUCT)
    // The product reconciliation over `source`, from its current row, into `products` (open,
    // opened empty by the caller), the store looked up through SQLQuery1; with `freshGoods`
    // the listed rows start in category "0109099" at price 0. The product download runs it
    // over CDS_Source with CheckBox1's state, the promotion item check with it off. Failures
    // as storedb::reconcileProducts: rows listed before stay, a failing row stays in insert
    // state.
    void ReconcileProducts(ds::Dataset& source, ds::Dataset& products, bool freshGoods);
    // Each runs before a value is stored in its field (typed or assigned by the program),
    // reads the value being assigned and, when the store has that code, sets the name field
    // (PD_ITEMNAME, PD_CLASSNAME, PROVIDER_NAME) to the store's name. Never refuses a value.
    void CDS_PRODUCTPD_ITEMIDValidate(ds::Field& Sender);
    void CDS_PRODUCTPD_CLASSIDValidate(ds::Field& Sender);
    void CDS_PRODUCTPROVIDER_IDValidate(ds::Field& Sender);
    // At every state change of CDS_PRODUCT: SpeedButton5 and Panel9 are enabled when the
    // store lacks the current row's PROD_ID, disabled when it has it (looked up through
    // SQLQuery2). Panel8 is never disabled.
    void DS_PRODUCTStateChange(ds::DataSource& Sender);

    // ---- the product editor and import (FrmQorClient_import.cpp)
    // Each opens its combo's lookup dataset (CDS_PDITEM, CDS_PDCLASS, CDS_Provider,
    // CDS_Unit) unless it is open; an open list is never read again.
    void wwDBLookupCombo5BeforeDropDown();
    void wwDBLookupCombo8BeforeDropDown();
    void wwDBLookupCombo1BeforeDropDown();
    void wwDBLookupCombo2BeforeDropDown();
    // Imports the current row of CDS_PRODUCT as shown (typed text not yet stored included)
    // on SQLConnection1 through SQLQuery1, committed on its own. A code the store has:
    // nothing, silently. A category it lacks: the warning "分類未設置..!", then a silent
    // abort; nothing written. A database error: its text; nothing written. The row stays
    // listed in its state, and the import controls are not looked at again.
    void SpeedButton5Click();
    // Cancels the current row's unposted changes (an appended row goes).
    void SpeedButton6Click();
    // Imports every listed row from the first (an edit in progress posted first), in one
    // transaction on SQLConnection1, passing over codes the store has (a code listed twice
    // is written once). The first failure ends the run on its row: the rows before it are
    // committed before its box shows, it and the rows after are not written. Never leaves
    // the transaction open.
    void SpeedButton9Click();

    // ---- the frame
    Panel* Panel1 = nullptr;  // sign-in bar
    QLabel* Label1 = nullptr;
    QLineEdit* Ed_CustID = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* Ed_Passwd = nullptr;
    QPushButton* SpeedButton1 = nullptr;
    QLabel* Label28 = nullptr;
    QLineEdit* Ed_Day = nullptr;

    Panel* Panel2 = nullptr;  // status line
    QPlainTextEdit* Memo1 = nullptr;

    Panel* Panel3 = nullptr;  // work area
    Panel* Panel4 = nullptr;  // button bar
    QPushButton* SpeedButton2 = nullptr;
    QPushButton* SpeedButton3 = nullptr;
    QPushButton* SpeedButton4 = nullptr;
    QCheckBox* CheckBox1 = nullptr;
    Panel* Panel5 = nullptr;  // page area
    QTabWidget* PageControl1 = nullptr;
    QWidget* TabSheet1 = nullptr;
    QWidget* TabSheet2 = nullptr;
    QWidget* TabSheet3 = nullptr;

    // ---- product tab: the grid above the splitter, the editor controls into Panel8.
    QSplitter* Splitter1 = nullptr;
    TDBGrid* DBGrid1 = nullptr;  // the listed products, read-only
    Panel* Panel7 = nullptr;  // editor area
    Panel* Panel8 = nullptr;  // editor panel
    Panel* Panel9 = nullptr;  // button panel
    QPushButton* SpeedButton5 = nullptr;
    QPushButton* SpeedButton6 = nullptr;
    QPushButton* SpeedButton9 = nullptr;

    // ---- the editor panel Panel8, over DS_PRODUCT; each control named by its label
    // (Label3 .. Label27, left of it) for screen readers. Tab order as listed.
    TDBEdit* DBEd_ProdID = nullptr;        // PROD_ID
    TDBEdit* DBEdit2 = nullptr;            // PROD_ID2
    TDBEdit* DBEdit4 = nullptr;            // PROD_NAME
    TDBEdit* DBEdit6 = nullptr;            // PROD_SNAME
    TDBEdit* DBEdit5 = nullptr;            // PROD_SCALE
    TDBEdit* DBEdit3 = nullptr;            // PROD_BARCODE
    TwwDBLookupCombo* wwDBLookupCombo5 = nullptr;  // PD_ITEMID from CDS_PDITEM
    TDBEdit* DBEdit15 = nullptr;           // PD_ITEMNAME, name box
    TwwDBLookupCombo* wwDBLookupCombo8 = nullptr;  // PD_CLASSID from CDS_PDCLASS
    TDBEdit* DBEdit17 = nullptr;           // PD_CLASSNAME, name box
    TwwDBLookupCombo* wwDBLookupCombo1 = nullptr;  // PROVIDER_ID from CDS_Provider
    TDBEdit* DBEdit9 = nullptr;            // PROVIDER_NAME, name box
    TwwDBLookupCombo* wwDBLookupCombo2 = nullptr;  // UNITNAME: the code (UNIT_ID) of CDS_Unit
    TDBEdit* DBEdit11 = nullptr;           // N_PRICE
    TDBEdit* DBEdit10 = nullptr;           // SALE_PRICE
    TDBEdit* DBEdit18 = nullptr;           // P_PRICE
    TDBEdit* DBEdit_PPrice2 = nullptr;     // P_PRICE2
    TDBEdit* DBEdit_PsalePrice = nullptr;  // PSALE_PRICE
    TDBEdit* DBEdit13 = nullptr;           // VIP_PRICE
    TDBEdit* DBEdit20 = nullptr;           // CR_PRICE
    QLineEdit* Edit1 = nullptr;            // "%", bound to nothing, does nothing
    TDBEdit* DBEdit21 = nullptr;           // FIRST_COST
    TDBEdit* DBEdit22 = nullptr;           // NET_COST
    TDBEdit* DBEdit23 = nullptr;           // ADD_COST
    TDBEdit* DBEdit24 = nullptr;           // STD_COST
    TDBEdit* DBEdit25 = nullptr;           // AVG_COST
    TDBEdit* DBEdit26 = nullptr;           // FREE_TAX
    TDBEdit* DBEdit27 = nullptr;           // U_DIS
    TDBRadioGroup* DBRadioGroup1 = nullptr;  // TAX_KIND
    TDBRadioGroup* DBRadioGroup2 = nullptr;  // BUY_CLASS
    QGroupBox* GroupBox1 = nullptr;          // the eight check boxes
    TDBCheckBox* DBCheckBox1 = nullptr;      // IN_TAG
    TDBCheckBox* DBCheckBox2 = nullptr;      // SAL_TAG
    TDBCheckBox* DBCheckBox3 = nullptr;      // DEL_FLAG
    TDBCheckBox* DBCheckBox4 = nullptr;      // P_PU, checked "0"
    TDBCheckBox* DBCheckBox5 = nullptr;      // P_PU2, checked "0"
    TDBCheckBox* DBCheckBox6 = nullptr;      // PRN_CODE_YN
    TDBCheckBox* DBCheckBox7 = nullptr;      // MEM_DISCOUNT
    TDBCheckBox* DBCheckBox8 = nullptr;      // WEB_SHOW
    TDBRadioGroup* DBRadioGroup3 = nullptr;  // STOCK_QTY

    // ---- promotion tab: the master grid fills Panel11, the item grid Panel12; both edit in
    // place, in memory only.
    Panel* Panel10 = nullptr;
    Panel* Panel11 = nullptr;
    TDBGrid* DBGrid2 = nullptr;
    Panel* Panel12 = nullptr;
    TDBGrid* DBGrid3 = nullptr;
    Panel* Panel13 = nullptr;
    QPushButton* SpeedButton7 = nullptr;
    QPushButton* SpeedButton8 = nullptr;  // never shown; pressed by the program only
    QPlainTextEdit* Memo2 = nullptr;

    // ---- supplier tab: the grid fills Panel14, the search edit sits on Panel15.
    Panel* Panel14 = nullptr;
    TDBGrid* DBGrid4 = nullptr;  // read-only, skipped by the Tab key
    Panel* Panel15 = nullptr;
    TSearchEdit* SearchEdit1 = nullptr;

    // ---- gateway-fed datasets: no provider, no field list, filled by OpenRemoteQuery only
    ds::Dataset ClientDataSet1{"ClientDataSet1"};
    ds::Dataset CDS_Cust{"CDS_Cust"};
    ds::Dataset CDS_Source{"CDS_Source"};
    ds::Dataset CDS_PSaleSub{"CDS_PSaleSub"};
    ds::Dataset CDS_Fac{"CDS_Fac"};
    ds::DataSource DS_PSaleSub{"DS_PSaleSub", &CDS_PSaleSub};
    ds::DataSource DS_Fac{"DS_Fac", &CDS_Fac};

    // ---- the store database: both connections, the queries, the provider chains and their
    // data sources (SQLConnection1, SQLQuery1, CDS_PRODUCT, DS_PRODUCT, ...)
    storedb::StoreObjects& store() { return *store_; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void buildSignInBar();
    void buildStatusLine();
    void buildWorkArea();
    void buildProductPage();
    void buildProductEditor();  // Panel8's controls (FrmQorClient_editor_layout.cpp)
    void buildPromotionPage();
    void buildSupplierPage();
    void placeRegions();
    // The product dataset's field validations and state change, bound once at construction.
    void bindProductHandlers();
    // DBGrid1's and DBGrid4's title clicks, bound once at construction.
    void bindTitleClicks();
    // The master list's item fetch and the item check and transfer buttons.
    void bindPromotionHandlers();
    // The transfer's item inserts, in list order; `failingItem` names the one being written.
    void writePromotionItems(std::string& failingItem);
    void sortByTitle(TDBGrid& grid, int column);
    // Runs the handler inside the boundary whenever the button is clicked.
    void onClick(QPushButton* button, void (TFormQorClient::*handler)());
    gateway::TDataModHttp& DataModHttp();
    // The progress the core's work reports to; nullptr while the display is off.
    WorkProgress* progress() { return showProgress_ ? &workDisplay_ : nullptr; }
    // A safe point of the window's own walks (WorkProgress::checkpoint).
    void checkpoint(std::uint64_t done, std::uint64_t total) {
        if (WorkProgress* shown = progress()) shown->checkpoint(done, total);
    }

    WindowDialogs& dialogs_;
    gateway::TDataModHttp* dataModHttp_ = nullptr;
    std::unique_ptr<storedb::DefinitionPaths> settingsPaths_;  // when no paths were given
    std::unique_ptr<storedb::StoreObjects> store_;
    WorkDisplay workDisplay_{*this};
    bool showProgress_ = true;
};

}  // namespace qor::window
