// The window's frame: caption, size, font, the three regions and the controls outside the tabs.
#include "window/FrmQorClient.h"

#include <QResizeEvent>
#include <QVBoxLayout>
#include <stdexcept>

#include "text/cp950.h"
#include "window/handler_boundary.h"
#include "window/password_char_style.h"
#include "window/settings_definition_paths.h"
#include "window/widget_placing.h"
#include "window/window_font.h"

namespace qor::window {

namespace {

constexpr int kSignInBarHeight = 41;
constexpr int kStatusLineHeight = 27;
constexpr int kButtonBarHeight = 41;

// The code the identification edit holds before the user types one.
constexpr const char* kDefaultPassword = "1234";

}  // namespace

TFormQorClient::TFormQorClient(WindowDialogs& dialogs, QWidget* parent,
                               const storedb::DefinitionPaths* paths)
    : QWidget(parent), dialogs_(dialogs) {
    if (!paths) {
        settingsPaths_ = std::make_unique<SettingsDefinitionPaths>();
        paths = settingsPaths_.get();
    }
    // Made closed: a connection opens when a workflow first needs it.
    store_ = std::make_unique<storedb::StoreObjects>(*paths);

    setObjectName(QStringLiteral("FormQorClient"));
    setWindowTitle(QStringLiteral("FormQorClient"));
    setFont(windowFont());
    // Outer 800 x 550 with the frame; the client area inside it is 792 x 516.
    move(132, 111);
    resize(792, 516);

    buildSignInBar();
    buildStatusLine();
    buildWorkArea();
    placeRegions();
    bindProductHandlers();
    bindTitleClicks();
    bindPromotionHandlers();

    FormCreate();
}

TFormQorClient::~TFormQorClient() = default;

void TFormQorClient::FormCreate() { Panel3->hide(); }

void TFormQorClient::buildSignInBar() {
    Panel1 = new Panel(QStringLiteral("Panel1"), this);

    Label1 = placeLabel(Panel1, "Label1", QOR_BIG5("店代號"), {11, 11, 42, 13});
    Ed_CustID = placeWidget<QLineEdit>(Panel1, "Ed_CustID", {62, 7, 121, 21});
    Ed_CustID->setText(QStringLiteral("LoginID"));

    Label2 = placeLabel(Panel1, "Label2", QOR_BIG5("識別碼"), {192, 10, 42, 13});
    Ed_Passwd = placeWidget<QLineEdit>(Panel1, "Ed_Passwd", {240, 6, 121, 21});
    auto* hashes = new PasswordCharStyle();
    hashes->setParent(Ed_Passwd);
    Ed_Passwd->setStyle(hashes);
    Ed_Passwd->setEchoMode(QLineEdit::Password);
    Ed_Passwd->setText(QString::fromLatin1(kDefaultPassword));

    SpeedButton1 = placeButton(Panel1, "SpeedButton1", QOR_BIG5("連線"), {364, 5, 75, 24});
    onClick(SpeedButton1, &TFormQorClient::SpeedButton1Click);

    Label28 = placeLabel(Panel1, "Label28", QOR_BIG5("前推天數"), {693, 13, 56, 13});
    Ed_Day = placeWidget<QLineEdit>(Panel1, "Ed_Day", {754, 10, 28, 21});
    Ed_Day->setMaxLength(2);
    Ed_Day->setText(QStringLiteral("7"));

    setTabOrder(Ed_CustID, Ed_Passwd);
    setTabOrder(Ed_Passwd, Ed_Day);
    Ed_CustID->setFocus();
}

void TFormQorClient::buildStatusLine() {
    Panel2 = new Panel(QStringLiteral("Panel2"), this);
    Memo1 = namedWidget<QPlainTextEdit>(Panel2, "Memo1");
    auto* fill = new QVBoxLayout(Panel2);
    fill->setContentsMargins(0, 0, 0, 0);
    fill->addWidget(Memo1);
}

void TFormQorClient::buildWorkArea() {
    Panel3 = new Panel(QStringLiteral("Panel3"), this);

    Panel4 = new Panel(QStringLiteral("Panel4"), Panel3);
    Panel4->setFixedHeight(kButtonBarHeight);
    SpeedButton2 = placeButton(Panel4, "SpeedButton2", QOR_BIG5("商品資料"), {14, 7, 97, 27});
    SpeedButton3 = placeButton(Panel4, "SpeedButton3", QOR_BIG5("販促資料"), {118, 7, 97, 27});
    SpeedButton4 = placeButton(Panel4, "SpeedButton4", QOR_BIG5("廠商資料"), {224, 7, 97, 27});
    onClick(SpeedButton2, &TFormQorClient::SpeedButton2Click);
    onClick(SpeedButton3, &TFormQorClient::SpeedButton3Click);
    onClick(SpeedButton4, &TFormQorClient::SpeedButton4Click);
    CheckBox1 = placeWidget<QCheckBox>(Panel4, "CheckBox1", {680, 16, 97, 17});
    CheckBox1->setText(toQString(QOR_BIG5("生鮮商品")));
    CheckBox1->setChecked(false);

    Panel5 = new Panel(QStringLiteral("Panel5"), Panel3);
    PageControl1 = namedWidget<QTabWidget>(Panel5, "PageControl1");
    PageControl1->setTabPosition(QTabWidget::East);
    // Qt's tab row does not wrap into several rows; with many tabs it scrolls instead.
    PageControl1->setUsesScrollButtons(true);
    TabSheet1 = namedWidget<QWidget>(nullptr, "TabSheet1");
    TabSheet2 = namedWidget<QWidget>(nullptr, "TabSheet2");
    TabSheet3 = namedWidget<QWidget>(nullptr, "TabSheet3");
    PageControl1->addTab(TabSheet1, QStringLiteral("TabSheet1"));
    PageControl1->addTab(TabSheet2, QStringLiteral("TabSheet2"));
    PageControl1->addTab(TabSheet3, QStringLiteral("TabSheet3"));
    PageControl1->setCurrentIndex(0);
    buildProductPage();
    buildPromotionPage();
    buildSupplierPage();

    auto* pageFill = new QVBoxLayout(Panel5);
    pageFill->setContentsMargins(1, 1, 1, 1);
    pageFill->addWidget(PageControl1);

    auto* stack = new QVBoxLayout(Panel3);
    stack->setContentsMargins(0, 0, 0, 0);
    stack->setSpacing(0);
    stack->addWidget(Panel4);
    stack->addWidget(Panel5, 1);
}

// The sign-in bar keeps the top, the status line the bottom, the work area what lies between,
// whether it is shown or not.
void TFormQorClient::placeRegions() {
    const int w = width();
    const int h = height();
    Panel1->setGeometry(0, 0, w, kSignInBarHeight);
    Panel2->setGeometry(0, h - kStatusLineHeight, w, kStatusLineHeight);
    Panel3->setGeometry(0, kSignInBarHeight, w,
                        std::max(0, h - kSignInBarHeight - kStatusLineHeight));
}

void TFormQorClient::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    placeRegions();
}

void TFormQorClient::onClick(QPushButton* button, void (TFormQorClient::*handler)()) {
    QObject::connect(button, &QPushButton::clicked, this,
                     [this, handler] { runHandler(dialogs_, [&] { (this->*handler)(); }); });
}

void TFormQorClient::setDataModHttp(gateway::TDataModHttp* dataModHttp) {
    dataModHttp_ = dataModHttp;
    if (dataModHttp_) dataModHttp_->setProgress(progress());
}

void TFormQorClient::showWorkProgress(bool on) {
    showProgress_ = on;
    if (dataModHttp_) dataModHttp_->setProgress(progress());
}

gateway::TDataModHttp& TFormQorClient::DataModHttp() {
    if (dataModHttp_ == nullptr) throw std::logic_error("the gateway module is not set");
    return *dataModHttp_;
}

}  // namespace qor::window
