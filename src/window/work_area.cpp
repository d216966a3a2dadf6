#include "window/work_area.h"

#include <QVBoxLayout>

#include "text/cp950.h"
#include "window/widget_placing.h"

namespace qor::window {

namespace {

constexpr int kButtonBarHeight = 41;

}  // namespace

StatusLine::StatusLine(QWidget* window) {
    Panel2 = new Panel(QStringLiteral("Panel2"), window);
    Memo1 = namedWidget<QPlainTextEdit>(Panel2, "Memo1");
    auto* fill = new QVBoxLayout(Panel2);
    fill->setContentsMargins(0, 0, 0, 0);
    fill->addWidget(Memo1);
}

WorkArea::WorkArea(QWidget* window) {
    Panel3 = new Panel(QStringLiteral("Panel3"), window);

    Panel4 = new Panel(QStringLiteral("Panel4"), Panel3);
    Panel4->setFixedHeight(kButtonBarHeight);
    SpeedButton2 = placeButton(Panel4, "SpeedButton2", QOR_BIG5("商品資料"), {14, 7, 97, 27});
    SpeedButton3 = placeButton(Panel4, "SpeedButton3", QOR_BIG5("販促資料"), {118, 7, 97, 27});
    SpeedButton4 = placeButton(Panel4, "SpeedButton4", QOR_BIG5("廠商資料"), {224, 7, 97, 27});
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

    auto* pageFill = new QVBoxLayout(Panel5);
    pageFill->setContentsMargins(1, 1, 1, 1);
    pageFill->addWidget(PageControl1);

    auto* stack = new QVBoxLayout(Panel3);
    stack->setContentsMargins(0, 0, 0, 0);
    stack->setSpacing(0);
    stack->addWidget(Panel4);
    stack->addWidget(Panel5, 1);
}

}  // namespace qor::window
