// The search edit beside a grid on real widgets offscreen: searching as the user types,
// showing the current value while it lacks the focus, failures in error boxes.
#include <QAccessible>
#include <QApplication>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

#include "qt_printing.h"
#include "recording_dialogs.h"
#include "text/cp950.h"
#include "window/DBSearch.h"
#include "window/big5_qt.h"
#include "window/dbcontrols/DBGrid.h"

namespace qor::window {
namespace {

ds::Table suppliers() {
    ds::Table t;
    t.columns = {{"PROVIDER_ID", ds::FieldKind::String, 10},
                 {"PROVIDER_NAME", ds::FieldKind::String, 30},
                 {"SAFE_DAY", ds::FieldKind::Integer},
                 {"U_DIS", ds::FieldKind::Float}};
    auto row = [&](const char* id, const std::string& name, int days, double discount) {
        t.rows.push_back({std::string(id), name, std::int64_t(days), discount});
    };
    row("S01", "Snap Apple", 3, 90);
    row("S02", "apricot co", 7, 95);
    row("S03", "Apple Farm", 5, 1.5);
    row("S04", QOR_BIG5("台灣") + "Ap", 7, 80);
    return t;
}

// The supplier tab in small: the grid and the search edit under it.
class SearchEdit : public ::testing::Test {
protected:
    void SetUp() override {
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(grid);
        layout->addWidget(search);
        grid->setDataSource(&source);
        search->setDataSource(&source);
        search->setText("SearchEdit1");
        window.show();
        QApplication::setActiveWindow(&window);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }
    void load() {
        suppliersData.openWith(suppliers());
        search->setDataField("PROVIDER_NAME");
    }
    void type(const char* text) {
        search->setFocus();
        ASSERT_TRUE(search->hasFocus());
        search->clear();
        QTest::keyClicks(search, text);
    }
    void clickRow(int row) {
        const QModelIndex index = grid->model()->index(row, 0);
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(index).center());
        QApplication::processEvents();
    }
    std::string current() { return suppliersData.fieldByName("PROVIDER_ID").asString(); }

    test::RecordingDialogs dialogs;
    ds::Dataset suppliersData{"CDS_Fac"};
    ds::DataSource source{"DS_Fac", &suppliersData};
    QWidget window;
    TDBGrid* grid = new TDBGrid(dialogs);
    TSearchEdit* search = new TSearchEdit(dialogs);
};

TEST_F(SearchEdit, APrefixInEitherCaseFindsTheFirstRowThatBeginsWithIt) {
    load();
    type("aP");
    EXPECT_EQ(current(), "S02");  // not "Snap Apple": the text must begin the value
    EXPECT_EQ(grid->currentIndex().row(), 1);
    type("apple");
    EXPECT_EQ(current(), "S03");
    type("zz");  // no row: nothing moves, nothing said
    EXPECT_EQ(current(), "S03");
    EXPECT_EQ(search->text(), "zz");  // left as typed while focused
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(SearchEdit, FindsTheFirstMatchInADescendingOrder) {
    load();
    suppliersData.addIndex("iPROVIDER_NAME", "PROVIDER_NAME", "PROVIDER_NAME");
    suppliersData.setIndexName("iPROVIDER_NAME");
    type("AP");
    EXPECT_EQ(current(), "S02");  // "apricot co" sorts after "Apple Farm" (case counts)
    search->setSearchOptions({false, true});
    type("Ap");
    EXPECT_EQ(current(), "S03");
}

TEST_F(SearchEdit, ANumberColumnMatchesEqualValuesAndRefusesOtherText) {
    load();
    search->setDataField("SAFE_DAY");
    type("5");
    EXPECT_EQ(current(), "S03");
    type("ab");
    EXPECT_EQ(current(), "S03");
    ASSERT_EQ(dialogs.boxes.size(), 2u);  // one per change of the text
    EXPECT_EQ(dialogs.boxes[1].kind, test::Box::Error);
    EXPECT_EQ(dialogs.boxes[1].text, "'ab' is not a valid integer value");
}

TEST_F(SearchEdit, WithoutTheFocusItShowsTheCurrentValueAllSelected) {
    search->setDataField("PROVIDER_ID");
    EXPECT_EQ(search->text(), "");  // a closed dataset: no field
    load();
    search->setDataField("PROVIDER_ID");
    EXPECT_EQ(search->text(), "S01");

    grid->setFocus();
    clickRow(3);
    EXPECT_EQ(search->text(), "S04");
    EXPECT_EQ(search->selectedText(), "S04");
    EXPECT_TRUE(dialogs.boxes.empty());

    // A field that cannot be modified shows its display text, one that can its edit text.
    ds::Field& discount = suppliersData.fieldByName("U_DIS");
    discount.setDisplayFormat("#0.00");
    search->setDataField("U_DIS");
    EXPECT_EQ(search->text(), "80");
    discount.setReadOnly(true);
    clickRow(2);
    EXPECT_EQ(search->text(), "1.50");

    search->setDataField("");
    EXPECT_EQ(search->text(), "");
    EXPECT_EQ(current(), "S03");  // showing never moves or writes anything
    EXPECT_EQ(suppliersData.state(), ds::DataSetState::Browse);
}

TEST_F(SearchEdit, TypingBeforeAnyLoadShowsTheClosedDatasetAtEachChange) {
    EXPECT_EQ(search->text(), "SearchEdit1");
    EXPECT_EQ(QAccessible::queryAccessibleInterface(search)->text(QAccessible::Name),
              toQString(QOR_BIG5("搜尋")));
    type("ab");
    ASSERT_EQ(dialogs.boxes.size(), 2u);
    for (const auto& box : dialogs.boxes)
        EXPECT_EQ(box.text, "CDS_Fac: Cannot perform this operation on a closed dataset");
}

}  // namespace
}  // namespace qor::window
