#pragma once
// The status line at the bottom of the window, and the work area between it and the sign-in
// bar: the button bar (商品資料, 販促資料, 廠商資料, 生鮮商品) over the page area with the
// three work tabs, whose pages the product, promotion and supplier pages fill.
#include <QCheckBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>

#include "window/panel.h"

namespace qor::window {

struct StatusLine {
    explicit StatusLine(QWidget* window);

    static constexpr int kHeight = 27;

    Panel* Panel2;
    QPlainTextEdit* Memo1;  // nothing reads it; a sign-in empties it
};

struct WorkArea {
    explicit WorkArea(QWidget* window);

    Panel* Panel3;  // shown once signed in
    Panel* Panel4;  // the button bar
    QPushButton* SpeedButton2;  // "商品資料"
    QPushButton* SpeedButton3;  // "販促資料"
    QPushButton* SpeedButton4;  // "廠商資料"
    QCheckBox* CheckBox1;       // "生鮮商品"
    Panel* Panel5;  // the page area
    QTabWidget* PageControl1;
    QWidget* TabSheet1;  // products
    QWidget* TabSheet2;  // promotions
    QWidget* TabSheet3;  // suppliers
};

}  // namespace qor::window
