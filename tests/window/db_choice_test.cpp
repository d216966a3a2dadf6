// Data-aware check boxes and radio groups on a dataset opened in memory: what they show for
// each value, and what a click stores.
#include <QAccessible>

#include "dbcontrols_fixture.h"
#include "qt_printing.h"
#include "window/big5_qt.h"
#include "window/dbcontrols/DBCheckBox.h"
#include "window/dbcontrols/DBRadioGroup.h"
#include "window/dbcontrols/paced_refresh.h"

namespace qor::window::test {
namespace {

class DBCheckBoxTest : public BoundControls {
protected:
    TDBCheckBox* box(const char* fieldName, const char* checked, const char* unchecked) {
        auto* b = new TDBCheckBox(dialogs, &form);
        b->setCaption(QOR_BIG5("浮動價格"));
        b->setValueChecked(checked);
        b->setValueUnchecked(unchecked);
        b->setDataSource(&source);
        b->setDataField(fieldName);
        return b;
    }
    Qt::CheckState shownFor(TDBCheckBox* b, const char* value) {
        field(b->field()->fieldName().c_str()).setAsString(value);
        return b->checkState();
    }
};

TEST_F(DBCheckBoxTest, ShowsTheFieldsValueAndAClickStoresTheOtherValue) {
    TDBCheckBox* delFlag = box("DEL_FLAG", "True", "False");
    TDBCheckBox* floating = box("P_PU", "0", "1");  // checked is "0" here
    TDBCheckBox* stop = box("IN_TAG", "1", "0");    // a whole-number field
    showForm();
    EXPECT_EQ(delFlag->checkState(), Qt::PartiallyChecked);  // no value
    EXPECT_EQ(shownFor(delFlag, "true"), Qt::Checked);       // letter case ignored
    EXPECT_EQ(shownFor(delFlag, "FALSE"), Qt::Unchecked);
    EXPECT_EQ(shownFor(floating, "1"), Qt::Unchecked);
    EXPECT_EQ(shownFor(floating, "X"), Qt::PartiallyChecked);

    ds.post();
    QTest::mouseClick(floating, Qt::LeftButton);  // greyed goes to checked
    EXPECT_EQ(ds.state(), ds::DataSetState::Edit);
    EXPECT_EQ(field("P_PU").asString(), "0");
    EXPECT_EQ(floating->checkState(), Qt::Checked);
    QTest::mouseClick(floating, Qt::LeftButton);
    EXPECT_EQ(field("P_PU").asString(), "1");
    EXPECT_EQ(floating->checkState(), Qt::Unchecked);
    stop->setFocus();
    QTest::keyClick(stop, Qt::Key_Space);
    EXPECT_EQ(field("IN_TAG").asInteger(), 1);

    auto* access = QAccessible::queryAccessibleInterface(floating);
    ASSERT_NE(access, nullptr);
    EXPECT_EQ(access->text(QAccessible::Name), toQString(QOR_BIG5("浮動價格")));
}

class DBRadioGroupTest : public BoundControls {
protected:
    DBRadioGroupTest() {
        group = new TDBRadioGroup(dialogs, &form);
        group->setCaption(QOR_BIG5("採購方式"));
        group->setColumns(3);
        group->setItems({{QOR_BIG5("聯"), "U"}, {QOR_BIG5("自"), "S"}, {QOR_BIG5("皆可"), "US"}});
        group->setDataSource(&source);
        group->setDataField("BUY_CLASS");
    }
    TDBRadioGroup* group;
};

TEST_F(DBRadioGroupTest, SelectsTheMatchingButtonOrNoneAndStoresTheChosenValue) {
    showForm();
    EXPECT_EQ(group->itemIndex(), -1);
    QTest::mouseClick(group->button(2), Qt::LeftButton);
    EXPECT_EQ(field("BUY_CLASS").asString(), "US");
    EXPECT_EQ(ds.state(), ds::DataSetState::Edit);
    field("BUY_CLASS").setAsString("S");
    EXPECT_EQ(group->itemIndex(), 1);
    field("BUY_CLASS").setAsString("u");  // exact: letter case counts
    EXPECT_EQ(group->itemIndex(), -1);
    for (int i = 0; i < group->count(); ++i) EXPECT_FALSE(group->button(i)->isChecked());

    ds.close();  // nothing to store into: a choice does not stay
    QTest::mouseClick(group->button(1), Qt::LeftButton);
    EXPECT_EQ(group->itemIndex(), -1);
    EXPECT_TRUE(dialogs.boxes.empty());

    auto* access = QAccessible::queryAccessibleInterface(group);
    ASSERT_NE(access, nullptr);
    EXPECT_EQ(access->text(QAccessible::Name), toQString(QOR_BIG5("採購方式")));
}

// While long work runs, the choices follow their fields at the work's display updates: the
// value they show is the one the field holds then, not one it held in between.
TEST_F(DBRadioGroupTest, WhileWorkRunsChoicesCatchUpAtTheDisplayUpdate) {
    TDBCheckBox* delFlag = new TDBCheckBox(dialogs, &form);
    delFlag->setDataSource(&source);
    delFlag->setDataField("DEL_FLAG");
    showForm();
    {
        const paced_refresh::RefreshesHeld working;
        field("BUY_CLASS").setAsString("U");
        field("DEL_FLAG").setAsString("True");
        EXPECT_EQ(group->itemIndex(), -1);
        field("BUY_CLASS").setAsString("S");
        paced_refresh::flush();
        EXPECT_EQ(group->itemIndex(), 1);
        EXPECT_EQ(delFlag->checkState(), Qt::Checked);
        field("DEL_FLAG").setAsString("False");
    }
    EXPECT_EQ(delFlag->checkState(), Qt::Unchecked);
    field("BUY_CLASS").setAsString("US");  // at once again
    EXPECT_EQ(group->itemIndex(), 2);
}

}  // namespace
}  // namespace qor::window::test
