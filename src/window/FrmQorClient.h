#pragma once
// FormQorClient: the program's one window, the view of the workflows (src/workflows) its
// buttons start. It builds and lays out the controls, region by region, and its handlers, named
// after the control and the event (SpeedButton2Click), each call a workflow. The components
// keep their layout names; prefixes: CDS_ an in-memory dataset, DSP_ a provider, SQL_ a
// store-database query, DS_ a data source, Ed_ an edit; Panel, Label and SpeedButton are
// numbered in layout order. Where each lives:
//
//   region or workflow            components
//   signInBar()                   Panel1; Ed_CustID, Ed_Passwd, SpeedButton1 (連線), Ed_Day
//   statusLine()                  Panel2, Memo1
//   workArea()                    Panel3 (shown once signed in), the button bar Panel4 with
//                                 SpeedButton2 (商品資料), 3 (販促資料), 4 (廠商資料) and
//                                 CheckBox1 (生鮮商品), PageControl1 with TabSheet1..3
//   productPage()                 DBGrid1, Splitter1, Panel7; editor: Panel8 and its
//                                 controls; importBar: Panel9, SpeedButton5 (匯入存檔),
//                                 6 (復原編輯), 9 (import all)
//   promotionPage()               DBGrid2 (masters), DBGrid3 (items), SpeedButton7 (品項檢查),
//                                 SpeedButton8 (資料轉入, hidden)
//   supplierPage()                DBGrid4, SearchEdit1
//   signIn()                      ClientDataSet1, CDS_Cust
//   productDownload()             the product dataset's validations and state change
//   promotions()                  CDS_PSaleSub, DS_PSaleSub
//   suppliers()                   CDS_Fac, DS_Fac
//   store()                       SQLConnection1/2, SQLQuery1/2, SQL_M, SQL_S, the provider
//                                 chains (CDS_PRODUCT, CDS_PsaleMaster, the lookup lists)
//   source()                      CDS_Source: head-office rows of the last download
#include <QWidget>
#include <memory>
#include <optional>

#include "dataset/dataset.h"
#include "gateway/FrmDataModHttp.h"
#include "storedb/definition_paths.h"
#include "storedb/store_objects.h"
#include "window/hourglass_cursor.h"
#include "window/product_page.h"
#include "window/promotion_page.h"
#include "window/sign_in_bar.h"
#include "window/supplier_page.h"
#include "window/window_dialogs.h"
#include "window/work_area.h"
#include "window/work_display.h"
#include "workflows/head_office.h"
#include "workflows/product_download.h"
#include "workflows/product_import.h"
#include "workflows/promotions.h"
#include "workflows/sign_in.h"
#include "workflows/suppliers.h"

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
    // Long work shows its progress here and can be stopped there (WorkDisplay).
    WorkDisplay& workDisplay() { return workDisplay_; }
    // On by default; off, the work runs as it always ran (WorkDisplay::setShown).
    void showWorkProgress(bool on) { workDisplay_.setShown(on); }

    // ---- handlers
    void FormCreate();
    void SpeedButton1Click();  // sign-in
    void SpeedButton2Click();  // product download
    void SpeedButton3Click();  // promotion download
    void SpeedButton4Click();  // supplier list
    void SpeedButton5Click();  // import the current product
    void SpeedButton6Click();  // undo the current product's edit
    void SpeedButton7Click();  // item check: the product tab, or the transfer
    void SpeedButton8Click();  // transfer, unless taken
    void SpeedButton9Click();  // import every product
    void wwDBLookupCombo5BeforeDropDown();  // each opens its lookup list unless it is open
    void wwDBLookupCombo8BeforeDropDown();
    void wwDBLookupCombo1BeforeDropDown();
    void wwDBLookupCombo2BeforeDropDown();
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
    void SwitchTabs(TabSwitch by);

    // ---- the regions, top to bottom
    SignInBar& signInBar() { return *signInBar_; }
    StatusLine& statusLine() { return *statusLine_; }
    WorkArea& workArea() { return *workArea_; }
    ProductPage& productPage() { return *productPage_; }
    PromotionPage& promotionPage() { return *promotionPage_; }
    SupplierPage& supplierPage() { return *supplierPage_; }

    // ---- the workflows and what they work on
    workflows::SignIn& signIn() { return signIn_; }
    workflows::ProductDownload& productDownload() { return productDownload_; }
    workflows::ProductImport& productImport() { return productImport_; }
    workflows::Promotions& promotions() { return promotions_; }
    workflows::Suppliers& suppliers() { return suppliers_; }
    storedb::StoreObjects& store() { return *store_; }
    ds::Dataset& source() { return CDS_Source_; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void placeRegions();
    void bindHandlers();
    void showImportControls(bool storeLacksProduct);
    void titleSupplierColumns();
    void sortByTitle(TDBGrid& grid, int column);

    WindowDialogs& dialogs_;
    std::unique_ptr<storedb::DefinitionPaths> settingsPaths_;  // when no paths were given
    std::unique_ptr<storedb::StoreObjects> store_;
    ds::Dataset CDS_Source_{"CDS_Source"};
    WorkDisplay workDisplay_{*this};
    std::optional<HourglassCursor> hourglass_;  // during the transfer's writes

    workflows::HeadOffice headOffice_{&workDisplay_};
    workflows::SignIn signIn_;
    workflows::ProductDownload productDownload_;
    workflows::ProductImport productImport_;
    workflows::Promotions promotions_;
    workflows::Suppliers suppliers_;

    std::unique_ptr<SignInBar> signInBar_;
    std::unique_ptr<StatusLine> statusLine_;
    std::unique_ptr<WorkArea> workArea_;
    std::unique_ptr<ProductPage> productPage_;
    std::unique_ptr<PromotionPage> promotionPage_;
    std::unique_ptr<SupplierPage> supplierPage_;
};

}  // namespace qor::window
