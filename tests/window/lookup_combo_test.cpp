// The unit lookup combo over a store database: the list opens from the keyboard or its button
// only, after the window's hook, and picking a unit stores its code through the field.
#include <QAccessible>
#include <QHeaderView>
#include <QTableView>
#include <QToolButton>

#include "dbcontrols_fixture.h"
#include "qt_printing.h"
#include "storedb/definition_paths.h"
#include "storedb/lookup_datasets.h"
#include "storedb/product_record.h"
#include "storedb/store_objects.h"
#include "temp_database.h"
#include "window/big5_qt.h"
#include "window/dbcontrols/wwDBLookupCombo.h"

namespace qor::window::test {
namespace {

class UnitCombo : public ::testing::Test {
protected:
    UnitCombo() {
        qor::test::DbxFiles files{db.path(), {}, {}};
        files.driverOverrides["LibraryName"] = std::string(QOR_BIN_DIR) + "/libdbxfb.so";
        qor::test::writeDbxFiles(db.folder(), files);
        storedb::openProductEmpty(store.CDS_PRODUCT);
        store.CDS_PRODUCT.append();
        units().onValidate = [this](ds::Field& f) { validated.push_back(f.asString()); };

        combo = new TwwDBLookupCombo(dialogs, &form);
        combo->setAccessibleName(toQString(QOR_BIG5("基本單位")));
        combo->setDataSource(&store.DS_PRODUCT);
        combo->setDataField("UNITNAME");
        combo->setLookupTable(&store.CDS_Unit);
        combo->setLookupField("UNIT_ID");
        combo->setColumns({{"UNIT_ID", 10, QOR_BIG5("單位")}, {"UNITNAME", 10, QOR_BIG5("單位說明")}});
        combo->beforeDropDown = [this] {
            ++dropDowns;
            storedb::openIfClosed(store.CDS_Unit);
        };
        other = new QLineEdit(&form);
        form.show();
        QApplication::setActiveWindow(&form);
    }
    ds::Field& units() { return store.CDS_PRODUCT.fieldByName("UNITNAME"); }

    qor::test::TempDatabase db{
        "INSERT INTO PROD_UNIT (UNIT_ID, UNITNAME) VALUES ('BTL', 'Bottle');"
        "INSERT INTO PROD_UNIT (UNIT_ID, UNITNAME) VALUES ('PKG', 'Package');"};
    storedb::FixedDefinitionPaths paths{db.folder().string()};
    storedb::StoreObjects store{paths};
    RecordingDialogs dialogs;
    QWidget form;
    TwwDBLookupCombo* combo;
    QLineEdit* other;
    int dropDowns = 0;
    std::vector<std::string> validated;
};

TEST_F(UnitCombo, PickingAUnitFromTheKeyboardStoresItsCodeThroughTheField) {
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    combo->setFocus();
    QTest::keyClick(combo, Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(combo->droppedDown());
    EXPECT_EQ(dropDowns, 1);
    QTableView* list = combo->listView();
    EXPECT_EQ(list->model()->rowCount(), 2);
    EXPECT_EQ(list->model()->headerData(1, Qt::Horizontal).toString(),
              toQString(QOR_BIG5("單位說明")));
    EXPECT_EQ(list->accessibleName(), toQString(QOR_BIG5("基本單位")));

    QTest::keyClick(list, Qt::Key_Down);
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_FALSE(combo->droppedDown());
    EXPECT_EQ(units().asString(), "PKG");
    EXPECT_EQ(validated, std::vector<std::string>{"PKG"});
    EXPECT_EQ(combo->text(), "PKG");
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(UnitCombo, OnlyTheButtonOrTheKeyboardOpensTheListAndTheHookRunsEachTime) {
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    combo->setFocus();
    QTest::keyClicks(combo, "btl");  // typing never opens it
    EXPECT_FALSE(combo->droppedDown());
    EXPECT_EQ(dropDowns, 0);

    auto* button = combo->findChild<QToolButton*>();
    ASSERT_NE(button, nullptr);
    QTest::mouseClick(button, Qt::LeftButton);
    ASSERT_TRUE(combo->droppedDown());
    QTest::keyClick(combo->listView(), Qt::Key_Escape);
    EXPECT_FALSE(combo->droppedDown());
    QTest::keyClick(combo, Qt::Key_F4);
    EXPECT_TRUE(combo->droppedDown());
    EXPECT_EQ(dropDowns, 2);
    combo->closeUp();
    EXPECT_TRUE(validated.empty());  // nothing picked, nothing stored yet

    other->setFocus();  // typed text is stored on leaving
    EXPECT_EQ(units().asString(), "btl");
    EXPECT_EQ(validated, std::vector<std::string>{"btl"});
}

}  // namespace
}  // namespace qor::window::test
