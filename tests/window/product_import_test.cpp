// Importing listed products into a store database file: what one import writes, what it
// passes over or refuses, how import-all stops at the first failure with the rows before it
// committed (or a stop between rows), and how the import controls follow the product
// dataset's state.
#include "product_editor_fixture.h"

namespace qor::window::test {
namespace {

using Codes = std::vector<std::string>;

TEST_F(ProductEditor, AnImportWritesEveryColumnNoneOfThemNull) {
    list({{"N1", "A01"}});
    click(form->SpeedButton5);
    EXPECT_TRUE(dialogs.boxes.empty());
    const std::vector<ds::Row> rows = storeRows("SELECT * FROM PRODUCT WHERE PROD_ID = 'N1'");
    ASSERT_EQ(rows.size(), 1u);
    ASSERT_EQ(rows[0].size(), storedb::productFields().size());
    for (std::size_t c = 0; c < rows[0].size(); ++c)
        EXPECT_FALSE(ds::isNull(rows[0][c])) << storedb::productFields()[c].name;
    const auto column = [&](const char* name) {
        for (std::size_t c = 0; c < storedb::productFields().size(); ++c)
            if (std::string(storedb::productFields()[c].name) == name) return rows[0][c];
        return ds::Value{};
    };
    EXPECT_EQ(column("NOW_QTY"), ds::Value(0.0));
    EXPECT_EQ(column("SAFE_DAY"), ds::Value(std::int64_t{0}));
    EXPECT_EQ(column("PROD_NAME"), ds::Value(std::string()));
    EXPECT_EQ(column("PD_ITEMNAME"), ds::Value(std::string("Drinks")));
    EXPECT_EQ(column("PSALE_PRICE"), ds::Value(49.0));
}

TEST_F(ProductEditor, ACodeTheStoreHasIsPassedOverAndACategoryItLacksIsWarned) {
    list({{"S001", ""}, {"N2", ""}, {"N3", "ZZ"}});
    click(form->SpeedButton5);  // in the store: nothing, not even about its category
    EXPECT_TRUE(dialogs.boxes.empty());
    products().next();
    click(form->SpeedButton5);
    products().next();
    click(form->SpeedButton5);
    ASSERT_EQ(dialogs.boxes.size(), 2u);
    for (const Box& box : dialogs.boxes) {
        EXPECT_EQ(box.kind, Box::Warning);
        EXPECT_EQ(box.text, QOR_BIG5("分類未設置..!"));
    }
    EXPECT_EQ(storedCodes(), Codes{"S001"});
    EXPECT_EQ(storeRows("SELECT PROD_NAME FROM PRODUCT")[0][0], ds::Value(std::string("Kept")));
}

TEST_F(ProductEditor, ImportAllStopsAtARowWithoutCategoryAfterCommittingTheRowsBefore) {
    list({{"N1", "A01"}, {"N2", ""}, {"N3", "A01"}});
    Codes atTheBox;
    dialogs.onBox = [&] { atTheBox = storedCodes(); };
    click(form->SpeedButton9);
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].kind, Box::Warning);
    EXPECT_EQ(atTheBox, (Codes{"N1", "S001"}));
    EXPECT_EQ(storedCodes(), (Codes{"N1", "S001"}));
    EXPECT_EQ(field("PROD_ID").asString(), "N2");  // the run ends on the row that failed
    EXPECT_FALSE(form->store().SQLConnection1.inTransaction());
}

TEST_F(ProductEditor, ImportAllStopsAtADatabaseErrorAfterCommittingTheRowsBefore) {
    list({{"N1", "A01"}, {"BAD", "A01"}, {"N3", "A01"}});
    Codes atTheBox;
    dialogs.onBox = [&] { atTheBox = storedCodes(); };
    click(form->SpeedButton9);
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].kind, Box::Error);
    EXPECT_NE(dialogs.boxes[0].text.find("refused by the store"), std::string::npos);
    EXPECT_EQ(atTheBox, (Codes{"N1", "S001"}));
    EXPECT_EQ(field("PROD_ID").asString(), "BAD");
    EXPECT_FALSE(form->store().SQLConnection1.inTransaction());

    // The store keeps working on that connection: the rest goes in one at a time.
    products().next();
    click(form->SpeedButton5);
    EXPECT_EQ(storedCodes(), (Codes{"N1", "N3", "S001"}));
}

TEST_F(ProductEditor, ImportAllStoppedBetweenRowsKeepsTheRowsBeforeCommittedAndSaysNothing) {
    list({{"N1", "A01"}, {"N2", "A01"}, {"N3", "A01"}, {"N4", "A01"}});
    WorkDisplay& work = form->workDisplay();
    work.onStep = [&](std::uint64_t done, std::uint64_t) {
        if (done == 2) work.requestStop();
    };
    click(form->SpeedButton9);
    EXPECT_TRUE(dialogs.boxes.empty());
    EXPECT_EQ(storedCodes(), (Codes{"N1", "N2", "S001"}));
    EXPECT_EQ(field("PROD_ID").asString(), "N3");  // the row not imported
    EXPECT_FALSE(form->store().SQLConnection1.inTransaction());

    work.onStep = nullptr;  // the next run passes over what is in and writes the rest
    click(form->SpeedButton9);
    EXPECT_TRUE(dialogs.boxes.empty());
    EXPECT_EQ(storedCodes(), (Codes{"N1", "N2", "N3", "N4", "S001"}));
}

TEST_F(ProductEditor, ImportAllWritesACodeListedTwiceOnce) {
    list({{"D1", "A01"}, {"D1", "A02"}, {"D2", "A02"}});
    click(form->SpeedButton9);
    EXPECT_TRUE(dialogs.boxes.empty());
    EXPECT_EQ(storedCodes(), (Codes{"D1", "D2", "S001"}));
    EXPECT_EQ(storeRows("SELECT PD_ITEMID FROM PRODUCT WHERE PROD_ID = 'D1'")[0][0],
              ds::Value(std::string("A01")));
}

TEST_F(ProductEditor, ImportAllTakesTextTypedAndNotYetStored) {
    list({{"T1", "A01"}, {"T2", "A01"}});
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    typeInto(form->DBEdit4, "typed name");  // the focus stays in the edit
    click(form->SpeedButton9);
    EXPECT_TRUE(dialogs.boxes.empty());
    EXPECT_EQ(storeRows("SELECT PROD_NAME FROM PRODUCT WHERE PROD_ID = 'T1'")[0][0],
              ds::Value(std::string("typed name")));
}

TEST_F(ProductEditor, TheImportControlsFollowThePostOfAnImportedRowAndTheNextEdit) {
    list({{"A1", "A01"}, {"A2", "A01"}});
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    EXPECT_TRUE(form->SpeedButton5->isEnabled());
    typeInto(form->DBEdit4, "first");
    click(form->SpeedButton5);
    EXPECT_EQ(products().state(), ds::DataSetState::Edit);  // the edit stays in progress
    EXPECT_TRUE(form->Panel9->isEnabled());

    products().next();  // the post finds the edited row in the store
    EXPECT_EQ(field("PROD_ID").asString(), "A2");
    EXPECT_FALSE(form->SpeedButton5->isEnabled());
    EXPECT_FALSE(form->Panel9->isEnabled());
    EXPECT_TRUE(form->Panel8->isEnabled());

    typeInto(form->DBEdit4, "second");  // the edit of a row the store lacks
    EXPECT_TRUE(form->SpeedButton5->isEnabled());
    EXPECT_TRUE(form->Panel9->isEnabled());
    click(form->SpeedButton6);
    EXPECT_EQ(products().state(), ds::DataSetState::Browse);
    QApplication::processEvents();
    EXPECT_EQ(form->DBEdit4->text(), "");
    EXPECT_TRUE(dialogs.boxes.empty());
}

}  // namespace
}  // namespace qor::window::test
