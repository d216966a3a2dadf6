// The data grid on real widgets offscreen: titles and cells, the grid and the dataset
// following each other, editing in place, errors inside the grid, accessibility, and rows
// fetched from a store database as the user scrolls down.
#include <QAccessible>
#include <QAccessibleTableInterface>
#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

#include "dbcontrols_fixture.h"
#include "qt_printing.h"
#include "recording_dialogs.h"
#include "storedb/definition_paths.h"
#include "storedb/store_objects.h"
#include "temp_database.h"
#include "text/cp950.h"
#include "text/errors.h"
#include "window/big5_qt.h"
#include "window/dbcontrols/DBGrid.h"

namespace qor::window {
namespace {

using test::def;

// Products "P000".."P199": code (required), name, average cost "#0.00", shelf "!00-00-0;0;",
// and a hidden field the grid leaves out.
class Grid : public ::testing::Test {
protected:
    void SetUp() override {
        ds::FieldDef id = def("PROD_ID", ds::FieldKind::String, 10, QOR_BIG5("商品編號"));
        id.required = true;
        products.declareField(id);
        products.declareField(def("PROD_NAME", ds::FieldKind::String, 20));
        ds::FieldDef cost = def("AVG_COST", ds::FieldKind::Float, 0, QOR_BIG5("平均成本"));
        cost.displayFormat = "#0.00";
        products.declareField(cost);
        ds::FieldDef put = def("PUT_ID", ds::FieldKind::String, 10);
        put.editMask = "!00-00-0;0;";
        products.declareField(put);
        ds::FieldDef hidden = def("FLAG", ds::FieldKind::String, 1);
        hidden.visible = false;
        products.declareField(hidden);

        ds::Table t;
        for (int i = 0; i < products.fieldCount(); ++i) {
            const ds::Field& f = products.field(i);
            t.columns.push_back({f.fieldName(), f.kind(), f.size()});
        }
        for (int i = 0; i < 200; ++i) {
            char id[16];  // room for any int: nothing cut, no warning
            std::snprintf(id, sizeof id, "P%03d", i);
            t.rows.push_back({std::string(id), "Name " + std::string(id), i + 0.5,
                              std::string("12345"), std::string("Y")});
        }
        products.openWith(std::move(t));
        products.afterScroll = [this](ds::Dataset&) { ++scrolls; };

        grid.setDataSource(&source);
        grid.resize(500, 300);
        grid.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
    }

    QString cell(int row, int column) { return grid.model()->index(row, column).data().toString(); }
    QString title(int column) {
        return grid.model()->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
    }
    void click(int row, int column = 0) {
        const QModelIndex index = grid.model()->index(row, column);
        grid.scrollTo(index);
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, grid.visualRect(index).center());
        QApplication::processEvents();
    }
    bool rowShown(int row) {
        return grid.viewport()->rect().intersects(grid.visualRect(grid.model()->index(row, 0)));
    }
    // The editor opened on the current cell.
    QLineEdit* openEditor() {
        grid.edit(grid.currentIndex());
        for (auto* e : grid.viewport()->findChildren<QLineEdit*>())
            if (e->isVisible()) return e;
        return nullptr;
    }
    static void typeAndEnter(QLineEdit* editor, const QString& text) {
        editor->setText(text);
        QTest::keyClick(editor, Qt::Key_Return);
        QApplication::processEvents();  // the delegate commits once the key is handled
    }
    std::string id() { return products.fieldByName("PROD_ID").asString(); }

    test::RecordingDialogs dialogs;
    ds::Dataset products{"CDS_PRODUCT"};
    ds::DataSource source{"DS_PRODUCT", &products};
    TDBGrid grid{dialogs};
    int scrolls = 0;
};

TEST_F(Grid, ShowsVisibleFieldsTitledByTheirLabelsWithTheirDisplayTexts) {
    ASSERT_EQ(grid.columnCount(), 4);
    EXPECT_EQ(title(0), toQString(QOR_BIG5("商品編號")));
    EXPECT_EQ(title(1), "PROD_NAME");
    EXPECT_EQ(cell(7, 0), "P007");
    EXPECT_EQ(cell(7, 2), "7.50");
    EXPECT_EQ(cell(7, 3), "12-34-5");
    EXPECT_EQ(grid.model()->rowCount(), 200);

    // A title set through the grid is the field's label, and shows.
    grid.setColumnTitle(2, QOR_BIG5("▲") + grid.columnTitle(2));
    EXPECT_EQ(products.fieldByName("AVG_COST").displayLabel(), QOR_BIG5("▲平均成本"));
    EXPECT_EQ(grid.horizontalHeader()->model()->headerData(2, Qt::Horizontal).toString(),
              toQString(QOR_BIG5("▲平均成本")));
    EXPECT_EQ(grid.columnField(3), &products.fieldByName("PUT_ID"));
    EXPECT_EQ(grid.columnField(4), nullptr);
}

TEST_F(Grid, AClickFarAwayIsOneMoveAndAClickOnTheCurrentRowNone) {
    click(9, 1);
    EXPECT_EQ(scrolls, 1);
    EXPECT_EQ(id(), "P009");
    click(9, 2);
    EXPECT_EQ(scrolls, 1);
    QTest::keyClick(grid.viewport(), Qt::Key_Down);
    EXPECT_EQ(id(), "P010");
    EXPECT_EQ(scrolls, 2);
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(Grid, FollowsTheDatasetsMovesReloadsAndOrders) {
    products.last();
    EXPECT_EQ(grid.currentIndex().row(), 199);
    EXPECT_TRUE(rowShown(199));
    products.locate("PROD_ID", "p05", {true, true});
    EXPECT_EQ(grid.currentIndex().row(), 50);
    EXPECT_TRUE(rowShown(50));

    // While the dataset's controls are disabled the grid stays, and catches up after.
    products.disableControls();
    products.first();
    products.next();
    EXPECT_EQ(grid.currentIndex().row(), 50);
    products.enableControls();
    EXPECT_EQ(grid.currentIndex().row(), 1);

    products.addIndex("iPROD_ID", "PROD_ID", "PROD_ID");
    products.setIndexName("iPROD_ID");
    EXPECT_EQ(cell(0, 0), "P199");
    EXPECT_EQ(grid.currentIndex().row(), 198);  // still P001

    products.append();
    EXPECT_EQ(grid.model()->rowCount(), 201);
    EXPECT_EQ(grid.currentIndex().row(), 200);
    const int scrollsBefore = scrolls;
    products.cancel();  // the row the grid stood on goes: the grid goes back with the dataset
    EXPECT_EQ(grid.model()->rowCount(), 200);
    EXPECT_EQ(grid.currentIndex().row(), 198);
    EXPECT_EQ(id(), "P001");
    EXPECT_EQ(scrolls, scrollsBefore);

    // Held by a long walk of the program's: rows listed meanwhile show at the release.
    {
        GridUpdatesHeld listing(grid);
        products.append();
        products.fieldByName("PROD_ID").setAsString("P200");
        products.post();
        EXPECT_EQ(grid.model()->rowCount(), 200);
    }
    EXPECT_EQ(grid.model()->rowCount(), 201);
    EXPECT_EQ(cell(0, 0), "P200");  // first in the descending order
    EXPECT_EQ(grid.currentIndex().row(), 0);

    products.close();
    EXPECT_EQ(grid.columnCount(), 0);
    EXPECT_EQ(grid.model()->rowCount(), 0);
}

TEST_F(Grid, EditsInPlaceThroughTheFieldAndPostsOnTheMoveToAnotherRow) {
    click(4, 2);
    QLineEdit* editor = openEditor();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(products.state(), ds::DataSetState::Edit);  // as soon as the editor opens
    EXPECT_EQ(editor->text(), "4.5");                     // the plain number while editing
    typeAndEnter(editor, "3");
    EXPECT_EQ(products.fieldByName("AVG_COST").asFloat(), 3.0);
    EXPECT_EQ(cell(4, 2), "3.00");
    EXPECT_EQ(products.state(), ds::DataSetState::Edit);

    click(6, 2);
    EXPECT_EQ(products.state(), ds::DataSetState::Browse);
    EXPECT_EQ(cell(4, 2), "3.00");

    // A text the field refuses: its box, the value kept.
    editor = openEditor();
    ASSERT_NE(editor, nullptr);
    typeAndEnter(editor, "abc");
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text,
              QOR_BIG5("'abc' is not a valid floating point value for field '平均成本'"));
    EXPECT_EQ(cell(6, 2), "6.50");

    grid.setReadOnly(true);
    EXPECT_FALSE(grid.model()->flags(grid.currentIndex()) & Qt::ItemIsEditable);
}

TEST_F(Grid, AFailingMoveShowsOneBoxAndTheGridStaysWithTheDataset) {
    products.afterScroll = [](ds::Dataset&) { throw Error("gateway down"); };
    click(3);
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].kind, test::Box::Error);
    EXPECT_EQ(dialogs.boxes[0].text, "gateway down");
    EXPECT_EQ(id(), "P003");  // the move itself happened
    EXPECT_EQ(grid.currentIndex().row(), 3);

    // A row that cannot be posted keeps the dataset, and the grid comes back to it.
    products.afterScroll = nullptr;
    products.fieldByName("PROD_ID").clear();
    click(8);
    ASSERT_EQ(dialogs.boxes.size(), 2u);
    EXPECT_EQ(dialogs.boxes[1].text, QOR_BIG5("Field '商品編號' must have a value"));
    EXPECT_EQ(products.currentRow(), 3);
    EXPECT_EQ(grid.currentIndex().row(), 3);
}

TEST_F(Grid, TitleClicksCarryTheColumnAndTheirErrorsStayInside) {
    std::vector<int> clicked;
    QObject::connect(&grid, &TDBGrid::titleClick, [&](int column) {
        clicked.push_back(column);
        throw Error("cannot sort");
    });
    const QHeaderView* titles = grid.horizontalHeader();
    QTest::mouseClick(titles->viewport(), Qt::LeftButton, {},
                      QPoint(titles->sectionViewportPosition(1) + 5, titles->height() / 2));
    EXPECT_EQ(clicked, std::vector<int>{1});
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text, "cannot sort");
}

TEST_F(Grid, ScreenReadersSeeATableWithTitles) {
    grid.setAccessibleName(toQString(QOR_BIG5("商品")));
    QAccessibleInterface* table = QAccessible::queryAccessibleInterface(&grid);
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->text(QAccessible::Name), toQString(QOR_BIG5("商品")));
    QAccessibleTableInterface* cells = table->tableInterface();
    ASSERT_NE(cells, nullptr);
    EXPECT_EQ(cells->rowCount(), 200);
    EXPECT_EQ(cells->columnCount(), 4);
    EXPECT_EQ(cells->columnDescription(0), toQString(QOR_BIG5("商品編號")));
}

// ---- rows fetched from the store as the user scrolls down

// CDS_PRODUCT over a store of 2500 products, 1000 rows per fetch, under a grid.
class GridOverTheStore : public ::testing::Test {
protected:
    void SetUp() override {
        qor::test::DbxFiles files{db.path(), {}, {}};
        files.driverOverrides["LibraryName"] = std::string(QOR_BIN_DIR) + "/libdbxfb.so";
        qor::test::writeDbxFiles(db.folder(), files);
        store.CDS_PRODUCT.setCommandText("SELECT * FROM PRODUCT ORDER BY PROD_ID");
        store.CDS_PRODUCT.open();
        store.CDS_PRODUCT.afterScroll = [this](ds::Dataset&) { ++scrolls; };
        grid.setDataSource(&store.DS_PRODUCT);
        grid.resize(600, 300);
        grid.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
        ASSERT_EQ(grid.model()->rowCount(), 1000);
    }

    qor::test::TempDatabase db{qor::test::kStoreOf2500Products};
    storedb::FixedDefinitionPaths paths{db.folder().string()};
    storedb::StoreObjects store{paths};
    test::RecordingDialogs dialogs;
    TDBGrid grid{dialogs};
    int scrolls = 0;
};

TEST_F(GridOverTheStore, ScrollingToTheBottomFetchesTheNextThousandRows) {
    for (int expected : {2000, 2500}) {
        grid.scrollToBottom();
        QApplication::processEvents();
        EXPECT_EQ(grid.model()->rowCount(), expected);
    }
    EXPECT_EQ(grid.model()->index(2499, 0).data().toString(), "002499");
    EXPECT_EQ(store.CDS_PRODUCT.currentRow(), 0);  // scrolling is no move
    EXPECT_EQ(scrolls, 0);
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(GridOverTheStore, CtrlEndReachesTheLastRowOfTheWholeResult) {
    QTest::keyClick(grid.viewport(), Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(grid.currentIndex().row(), 2499);
    EXPECT_EQ(store.CDS_PRODUCT.fieldByName("PROD_ID").asString(), "002499");
    EXPECT_EQ(scrolls, 1);
}

}  // namespace
}  // namespace qor::window
