#pragma once
// A product-like dataset opened in memory with one posted row, its data source, and a shown,
// active window to put bound controls in.
#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

#include "dataset/dataset.h"
#include "dataset/datasource.h"
#include "recording_dialogs.h"
#include "text/cp950.h"
#include "text/errors.h"

namespace qor::window::test {

inline ds::FieldDef textField(const char* name, int size, const std::string& label = {}) {
    ds::FieldDef d;
    d.name = name;
    d.size = size;
    d.displayLabel = label;
    return d;
}

inline ds::FieldDef numberField(const char* name, ds::FieldKind kind, const std::string& label) {
    ds::FieldDef d;
    d.name = name;
    d.kind = kind;
    d.displayLabel = label;
    return d;
}

class BoundControls : public ::testing::Test {
protected:
    BoundControls() {
        ds.declareField(textField("PROD_NAME", 10, QOR_BIG5("商品名稱")));
        ds.declareField(textField("PD_ITEMID", 10, QOR_BIG5("類別代號")));
        ds.declareField(textField("PD_ITEMNAME", 20, QOR_BIG5("類別名稱")));
        ds::FieldDef price = numberField("PSALE_PRICE", ds::FieldKind::Float, QOR_BIG5("門市售價"));
        price.required = true;
        ds.declareField(price);
        ds::FieldDef avg = numberField("AVG_COST", ds::FieldKind::Float, QOR_BIG5("平均成本"));
        avg.displayFormat = "#0.00";
        ds.declareField(avg);
        ds.declareField(numberField("IN_TAG", ds::FieldKind::Integer, QOR_BIG5("進貨管制")));
        ds.declareField(textField("DEL_FLAG", 5));
        ds.declareField(textField("P_PU", 1));
        ds.declareField(textField("BUY_CLASS", 10));
        ds.open();
        ds.append();
        field("PROD_NAME").setAsString("Tea");
        field("PSALE_PRICE").setAsFloat(25);
        field("AVG_COST").setAsFloat(3);
        ds.post();
        other = new QLineEdit(&form);
        other->setObjectName("other");
    }

    // Shows the window with the controls made so far and waits until it takes the keyboard.
    void showForm() {
        form.show();
        QApplication::setActiveWindow(&form);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    }

    ds::Field& field(const char* name) { return ds.fieldByName(name); }
    std::vector<std::string> errors() const {
        std::vector<std::string> texts;
        for (const Box& b : dialogs.boxes)
            if (b.kind == Box::Error) texts.push_back(b.text);
        return texts;
    }

    RecordingDialogs dialogs;
    ds::Dataset ds{"CDS_PRODUCT"};
    ds::DataSource source{"DS_PRODUCT", &ds};
    QWidget form;
    QLineEdit* other;
};

}  // namespace qor::window::test
