// Data-aware edits on a dataset opened in memory: what they show, when they start an edit and
// store the typed text, and what a refused text does.
#include <QAccessible>

#include "dbcontrols_fixture.h"
#include "qt_printing.h"
#include "window/big5_qt.h"
#include "window/dbcontrols/DBEdit.h"

namespace qor::window::test {
namespace {

class DBEditTest : public BoundControls {
protected:
    TDBEdit* bound(const char* fieldName, const std::string& label) {
        auto* edit = new TDBEdit(dialogs, &form);
        edit->setAccessibleName(toQString(label));
        edit->setDataSource(&source);
        edit->setDataField(fieldName);
        return edit;
    }
    // Selects what the edit holds and types over it, a key per character.
    void typeInto(QWidget* edit, const QString& text) {
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        for (QChar c : text)
            QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
};

TEST_F(DBEditTest, ShowsTheDisplayTextUnfocusedAndTheEditTextFocused) {
    TDBEdit* avg = bound("AVG_COST", QOR_BIG5("平均成本"));
    showForm();
    EXPECT_EQ(avg->text(), "3.00");
    avg->setFocus();
    EXPECT_EQ(avg->text(), "3");
    other->setFocus();
    EXPECT_EQ(avg->text(), "3.00");
    EXPECT_EQ(ds.state(), ds::DataSetState::Browse);  // looking changes nothing

    ds.close();
    QApplication::processEvents();  // an unfocused edit shows a change at the next turn
    EXPECT_EQ(avg->text(), "");
    EXPECT_TRUE(avg->isReadOnly());
}

TEST_F(DBEditTest, TypingStartsAnEditAndLeavingOrEnterStoresTheText) {
    TDBEdit* name = bound("PROD_NAME", QOR_BIG5("商品名稱"));
    showForm();
    name->setFocus();
    QTest::keyClick(name, Qt::Key_End);
    EXPECT_EQ(ds.state(), ds::DataSetState::Browse);
    QTest::keyClicks(name, "s");
    EXPECT_EQ(ds.state(), ds::DataSetState::Edit);
    EXPECT_EQ(name->text(), "Teas");
    EXPECT_EQ(field("PROD_NAME").asString(), "Tea");  // stored on leaving, not per key
    other->setFocus();
    EXPECT_EQ(field("PROD_NAME").asString(), "Teas");

    typeInto(name, "Green");
    QTest::keyClick(name, Qt::Key_Return);
    EXPECT_EQ(field("PROD_NAME").asString(), "Green");
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(DBEditTest, TypingStopsAtWhatTheTextFieldCanHold) {
    TDBEdit* name = bound("PROD_NAME", QOR_BIG5("商品名稱"));  // 10 bytes
    showForm();
    typeInto(name, QString::fromUtf8("商品名们稱簡稱"));  // 们 is no Big5 character
    EXPECT_EQ(name->text(), QString::fromUtf8("商品名稱簡"));
    other->setFocus();
    EXPECT_EQ(field("PROD_NAME").asString(), QOR_BIG5("商品名稱簡"));
}

TEST_F(DBEditTest, ARefusedNumberShowsTheBoxAndKeepsTheFocusAndTheText) {
    TDBEdit* price = bound("PSALE_PRICE", QOR_BIG5("門市售價"));
    showForm();
    typeInto(price, "abc");
    other->setFocus();
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text,
              "'abc' is not a valid floating point value for field '" + QOR_BIG5("門市售價") + "'");
    EXPECT_EQ(QApplication::focusWidget(), price);
    EXPECT_EQ(price->text(), "abc");
    EXPECT_EQ(field("PSALE_PRICE").asFloat(), 25);

    QTest::keyClick(price, Qt::Key_Escape);  // puts the field's text back
    EXPECT_EQ(price->text(), "25");
}

TEST_F(DBEditTest, AnEmptiedNumberHasNoValueAndThePostAsksForItsControl) {
    TDBEdit* price = bound("PSALE_PRICE", QOR_BIG5("門市售價"));
    showForm();
    typeInto(price, "");
    QTest::keyClick(price, Qt::Key_Backspace);
    other->setFocus();
    EXPECT_TRUE(field("PSALE_PRICE").isNull());
    EXPECT_EQ(price->text(), "");

    EXPECT_THROW(ds.post(), qor::Error);  // required
    EXPECT_EQ(QApplication::focusWidget(), price);
}

TEST_F(DBEditTest, TheNameBoxFollowsItsFieldAndIsNoTabStop) {
    field("PD_ITEMID").onValidate = [this](ds::Field& code) {
        if (code.asString() == "A01") field("PD_ITEMNAME").setAsString(QOR_BIG5("飲料"));
    };
    TDBEdit* code = bound("PD_ITEMID", QOR_BIG5("商品類別"));
    TDBEdit* nameBox = bound("PD_ITEMNAME", QOR_BIG5("類別名稱"));
    nameBox->setNameBox(QColor(182, 207, 190));
    QWidget::setTabOrder(code, nameBox);
    QWidget::setTabOrder(nameBox, other);
    showForm();

    typeInto(code, "A01");
    QTest::keyClick(code, Qt::Key_Tab);
    QApplication::processEvents();
    EXPECT_EQ(nameBox->text(), toQString(QOR_BIG5("飲料")));
    EXPECT_EQ(QApplication::focusWidget(), other);
    EXPECT_TRUE(nameBox->isReadOnly());

    auto* access = QAccessible::queryAccessibleInterface(code);
    ASSERT_NE(access, nullptr);
    EXPECT_EQ(access->text(QAccessible::Name), toQString(QOR_BIG5("商品類別")));
}

}  // namespace
}  // namespace qor::window::test
