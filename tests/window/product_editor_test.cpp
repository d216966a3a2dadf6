// The product editor in the real window over a store database: where its controls stand,
// what a screen reader and the Tab key find, what the choices store, when the unit list is
// read.
#include <QAccessible>
#include <QAbstractItemModel>
#include <QTableView>

#include "product_editor_fixture.h"
#include "qt_printing.h"
#include "window/big5_qt.h"

namespace qor::window::test {
namespace {

QString spoken(QWidget* control) {
    QAccessibleInterface* access = QAccessible::queryAccessibleInterface(control);
    return access ? access->text(QAccessible::Name) : QString();
}

// The editor control a focused widget belongs to: a group's button counts as its group.
QString controlOf(QWidget* focused) {
    QWidget* parent = focused ? focused->parentWidget() : nullptr;
    if (dynamic_cast<TDBRadioGroup*>(parent)) return parent->objectName();
    return focused ? focused->objectName() : QString();
}

TEST_F(ProductEditor, ControlsStandInTheirPlacesSpokenByTheirLabelsInTheTabOrder) {
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    EXPECT_EQ(form->productPage().editor.DBEd_ProdID->geometry(), QRect(80, 6, 153, 21));
    EXPECT_EQ(form->productPage().editor.DBEdit17->geometry(), QRect(568, 76, 181, 21));
    EXPECT_EQ(form->productPage().editor.wwDBLookupCombo2->geometry(), QRect(493, 99, 77, 21));
    EXPECT_EQ(form->productPage().editor.GroupBox1->geometry().topLeft(), QPoint(98, 207));
    EXPECT_EQ(form->productPage().editor.DBRadioGroup2->geometry().topLeft(), QPoint(643, 147));
    EXPECT_EQ(form->productPage().editor.Edit1->text(), "%");
    for (TDBEdit* nameBox : {form->productPage().editor.DBEdit15, form->productPage().editor.DBEdit17, form->productPage().editor.DBEdit9}) {
        EXPECT_TRUE(nameBox->isReadOnly());
        EXPECT_FALSE(nameBox->focusPolicy() & Qt::TabFocus);
        EXPECT_EQ(nameBox->palette().color(QPalette::Base), QColor(182, 207, 190));
    }
    for (int n = 3; n <= 27; ++n) {
        auto* label = form->productPage().editor.Panel8->findChild<QLabel*>(QStringLiteral("Label%1").arg(n));
        ASSERT_NE(label, nullptr) << n;
        ASSERT_NE(label->buddy(), nullptr) << n;
        EXPECT_LT(label->geometry().right(), label->buddy()->geometry().left()) << n;
        if (label->buddy()->geometry().left() == 80) {
            EXPECT_EQ(label->geometry().left(), 16) << n;
        }
    }
    EXPECT_EQ(spoken(form->productPage().editor.DBEdit4), toQString(QOR_BIG5("商品名稱")));
    EXPECT_EQ(spoken(form->productPage().editor.wwDBLookupCombo5), toQString(QOR_BIG5("商品類別")));
    EXPECT_EQ(spoken(form->productPage().editor.Edit1), toQString(QOR_BIG5("毛利率")));
    EXPECT_EQ(spoken(form->productPage().editor.DBRadioGroup2), toQString(QOR_BIG5("採購方式")));
    EXPECT_EQ(spoken(form->productPage().editor.DBCheckBox4), toQString(QOR_BIG5("浮動價格")));

    // Tab from the first control: every control in the table's order, name boxes passed by.
    QStringList order{"DBEd_ProdID"};
    form->productPage().editor.DBEd_ProdID->setFocus();
    for (int step = 0; step < 50 && order.size() < 36; ++step) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        const QString now = controlOf(QApplication::focusWidget());
        if (now != order.back()) order << now;
    }
    const QStringList expected{
        "DBEd_ProdID", "DBEdit2", "DBEdit4", "DBEdit6", "DBEdit5", "DBEdit3",
        "wwDBLookupCombo5", "wwDBLookupCombo8", "wwDBLookupCombo1", "wwDBLookupCombo2",
        "DBEdit11", "DBEdit10", "DBEdit18", "DBEdit_PPrice2", "DBEdit_PsalePrice", "DBEdit13",
        "DBEdit20", "Edit1", "DBEdit21", "DBEdit22", "DBEdit23", "DBEdit24", "DBEdit25",
        "DBEdit26", "DBEdit27", "DBRadioGroup1", "DBRadioGroup2", "DBCheckBox1", "DBCheckBox2",
        "DBCheckBox3", "DBCheckBox4", "DBCheckBox5", "DBCheckBox6", "DBCheckBox7", "DBCheckBox8",
        "DBRadioGroup3"};
    EXPECT_EQ(order, expected);
}

TEST_F(ProductEditor, EachCheckBoxAndRadioButtonStoresItsValue) {
    list({{"N1", "A01"}});
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    struct Box {
        TDBCheckBox* box;
        const char* field;
        const char* checked;
        const char* unchecked;
    };
    for (const Box& b : {Box{form->productPage().editor.DBCheckBox1, "IN_TAG", "1", "0"},
                         Box{form->productPage().editor.DBCheckBox2, "SAL_TAG", "1", "0"},
                         Box{form->productPage().editor.DBCheckBox3, "DEL_FLAG", "True", "False"},
                         Box{form->productPage().editor.DBCheckBox4, "P_PU", "0", "1"},
                         Box{form->productPage().editor.DBCheckBox5, "P_PU2", "0", "1"},
                         Box{form->productPage().editor.DBCheckBox6, "PRN_CODE_YN", "Y", "N"},
                         Box{form->productPage().editor.DBCheckBox7, "MEM_DISCOUNT", "Y", "N"},
                         Box{form->productPage().editor.DBCheckBox8, "WEB_SHOW", "Y", "N"}}) {
        EXPECT_EQ(b.box->checkState(), Qt::PartiallyChecked) << b.field;  // no value yet
        click(b.box);
        EXPECT_EQ(field(b.field).asString(), b.checked) << b.field;
        click(b.box);
        EXPECT_EQ(field(b.field).asString(), b.unchecked) << b.field;
    }
    text("P_PU2", "X");
    EXPECT_EQ(form->productPage().editor.DBCheckBox5->checkState(), Qt::PartiallyChecked);

    struct Choice {
        TDBRadioGroup* group;
        const char* field;
        std::vector<std::string> values;
    };
    for (const Choice& c : {Choice{form->productPage().editor.DBRadioGroup1, "TAX_KIND", {QOR_BIG5("應稅"), QOR_BIG5("免稅")}},
                            Choice{form->productPage().editor.DBRadioGroup2, "BUY_CLASS", {"U", "S", "US"}},
                            Choice{form->productPage().editor.DBRadioGroup3, "STOCK_QTY", {"Y", "N"}}}) {
        ASSERT_EQ(c.group->count(), int(c.values.size()));
        for (int i = 0; i < c.group->count(); ++i) {
            click(c.group->button(i));
            EXPECT_EQ(field(c.field).asString(), c.values[std::size_t(i)]) << c.field;
        }
    }
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(ProductEditor, TheUnitListIsReadFromTheStoreAtItsFirstDropDownOnly) {
    list({{"N1", "A01"}});
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    TwwDBLookupCombo* units = form->productPage().editor.wwDBLookupCombo2;
    units->setFocus();
    QTest::keyClick(units, Qt::Key_F4);
    ASSERT_TRUE(units->droppedDown());
    EXPECT_EQ(units->listView()->model()->rowCount(), 2);
    QTest::keyClick(units->listView(), Qt::Key_Escape);

    // A unit the store gains later is not offered: the list stays as first read.
    storedb::SqlQuery& write = form->store().SQLQuery1;
    write.close();
    write.setSql("INSERT INTO PROD_UNIT VALUES ('CTN', 'Carton')");
    write.execSql();
    QTest::keyClick(units, Qt::Key_F4);
    ASSERT_TRUE(units->droppedDown());
    EXPECT_EQ(units->listView()->model()->rowCount(), 2);
    QTest::keyClick(units->listView(), Qt::Key_Escape);
    EXPECT_TRUE(dialogs.boxes.empty());
}

}  // namespace
}  // namespace qor::window::test
