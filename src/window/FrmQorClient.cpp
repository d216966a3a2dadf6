// The window's frame: caption, size, font, the regions top to bottom, and what ties the
// controls to their handlers and the workflows to the controls they drive.
#include "window/FrmQorClient.h"

#include <QResizeEvent>
#include <algorithm>

#include "window/handler_boundary.h"
#include "window/settings_definition_paths.h"
#include "window/window_font.h"

namespace qor::window {

namespace {

std::unique_ptr<storedb::DefinitionPaths> settingsPathsUnless(const storedb::DefinitionPaths* given) {
    if (given) return nullptr;
    return std::make_unique<SettingsDefinitionPaths>();
}

}  // namespace

TFormQorClient::TFormQorClient(WindowDialogs& dialogs, QWidget* parent,
                               const storedb::DefinitionPaths* paths)
    : QWidget(parent),
      dialogs_(dialogs),
      settingsPaths_(settingsPathsUnless(paths)),
      // Made closed: a connection opens when a workflow first needs it.
      store_(std::make_unique<storedb::StoreObjects>(paths ? *paths : *settingsPaths_)),
      signIn_(headOffice_, dialogs_),
      productDownload_(headOffice_, *store_, CDS_Source_, &workDisplay_),
      productImport_(*store_, dialogs_, &workDisplay_),
      promotions_(headOffice_, *store_, CDS_Source_, productDownload_, dialogs_, &workDisplay_),
      suppliers_(headOffice_) {
    setObjectName(QStringLiteral("FormQorClient"));
    setWindowTitle(QStringLiteral("FormQorClient"));
    setFont(windowFont());
    // Outer 800 x 550 with the frame; the client area inside it is 792 x 516.
    move(132, 111);
    resize(792, 516);

    signInBar_ = std::make_unique<SignInBar>(this);
    statusLine_ = std::make_unique<StatusLine>(this);
    workArea_ = std::make_unique<WorkArea>(this);
    productPage_ = std::make_unique<ProductPage>(workArea_->TabSheet1, dialogs_, *store_);
    promotionPage_ = std::make_unique<PromotionPage>(
        workArea_->TabSheet2, dialogs_, store_->DS_PSaleMaster, promotions_.DS_PSaleSub);
    supplierPage_ =
        std::make_unique<SupplierPage>(workArea_->TabSheet3, dialogs_, suppliers_.DS_Fac);
    placeRegions();
    bindHandlers();

    FormCreate();
}

TFormQorClient::~TFormQorClient() = default;

void TFormQorClient::FormCreate() { workArea_->Panel3->hide(); }

void TFormQorClient::bindHandlers() {
    const auto onClick = [this](QPushButton* button, void (TFormQorClient::*handler)()) {
        QObject::connect(button, &QPushButton::clicked, this,
                         [this, handler] { runHandler(dialogs_, [&] { (this->*handler)(); }); });
    };
    onClick(signInBar_->SpeedButton1, &TFormQorClient::SpeedButton1Click);
    onClick(workArea_->SpeedButton2, &TFormQorClient::SpeedButton2Click);
    onClick(workArea_->SpeedButton3, &TFormQorClient::SpeedButton3Click);
    onClick(workArea_->SpeedButton4, &TFormQorClient::SpeedButton4Click);
    const ImportBar& bar = productPage_->importBar;
    onClick(bar.SpeedButton5, &TFormQorClient::SpeedButton5Click);
    onClick(bar.SpeedButton6, &TFormQorClient::SpeedButton6Click);
    onClick(bar.SpeedButton9, &TFormQorClient::SpeedButton9Click);
    onClick(promotionPage_->SpeedButton7, &TFormQorClient::SpeedButton7Click);
    onClick(promotionPage_->SpeedButton8, &TFormQorClient::SpeedButton8Click);

    const ProductEditor& editor = productPage_->editor;
    editor.wwDBLookupCombo5->beforeDropDown = [this] { wwDBLookupCombo5BeforeDropDown(); };
    editor.wwDBLookupCombo8->beforeDropDown = [this] { wwDBLookupCombo8BeforeDropDown(); };
    editor.wwDBLookupCombo1->beforeDropDown = [this] { wwDBLookupCombo1BeforeDropDown(); };
    editor.wwDBLookupCombo2->beforeDropDown = [this] { wwDBLookupCombo2BeforeDropDown(); };

    connect(productPage_->DBGrid1, &TDBGrid::titleClick, this,
            [this](int column) { DBGrid1TitleClick(column); });
    connect(supplierPage_->DBGrid4, &TDBGrid::titleClick, this,
            [this](int column) { DBGrid4TitleClick(column); });

    productDownload_.onImportControls = [this](bool lacking) { showImportControls(lacking); };
    promotions_.onBusy = [this](bool busy) {
        if (busy)
            hourglass_.emplace();
        else
            hourglass_.reset();
    };
}

// The editor (Panel8) stays usable either way; it is never disabled.
void TFormQorClient::showImportControls(bool storeLacksProduct) {
    ImportBar& bar = productPage_->importBar;
    bar.SpeedButton5->setEnabled(storeLacksProduct);
    bar.Panel9->setEnabled(storeLacksProduct);
    if (storeLacksProduct) productPage_->editor.Panel8->setEnabled(true);
}

// The sign-in bar keeps the top, the status line the bottom, the work area what lies between,
// whether it is shown or not.
void TFormQorClient::placeRegions() {
    const int w = width();
    const int h = height();
    signInBar_->Panel1->setGeometry(0, 0, w, SignInBar::kHeight);
    statusLine_->Panel2->setGeometry(0, h - StatusLine::kHeight, w, StatusLine::kHeight);
    workArea_->Panel3->setGeometry(
        0, SignInBar::kHeight, w, std::max(0, h - SignInBar::kHeight - StatusLine::kHeight));
}

void TFormQorClient::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    placeRegions();
}

void TFormQorClient::setDataModHttp(gateway::TDataModHttp* dataModHttp) {
    headOffice_.setGateway(dataModHttp);
}

}  // namespace qor::window
