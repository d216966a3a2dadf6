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

inline ds::FieldDef def(const char* name, ds::FieldKind kind, int size, std::string label = {}) {
    ds::FieldDef d;
    d.name = name;
    d.kind = kind;
    d.size = size;
    d.displayLabel = std::move(label);
    return d;
}

class BoundControls : public ::testing::Test {
protected:
    BoundControls() {
        using K = ds::FieldKind;
        ds.declareField(def("PROD_NAME", K::String, 10, QOR_BIG5("商品名稱")));
        ds.declareField(def("PD_ITEMID", K::String, 10));
        ds.declareField(def("PD_ITEMNAME", K::String, 20));
        ds::FieldDef price = def("PSALE_PRICE", K::Float, 0, QOR_BIG5("門市售價"));
        price.required = true;
        ds.declareField(price);
        ds::FieldDef avg = def("AVG_COST", K::Float, 0);
        avg.displayFormat = "#0.00";
        ds.declareField(avg);
        ds.declareField(def("IN_TAG", K::Integer, 0));
        ds.declareField(def("DEL_FLAG", K::String, 5));
        ds.declareField(def("P_PU", K::String, 1));
        ds.declareField(def("BUY_CLASS", K::String, 10));
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
    RecordingDialogs dialogs;
    ds::Dataset ds{"CDS_PRODUCT"};
    ds::DataSource source{"DS_PRODUCT", &ds};
    QWidget form;
    QLineEdit* other;
};

}  // namespace qor::window::test
