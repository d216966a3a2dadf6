// The import buttons in the window: text still being typed goes in with its row, and the
// import controls follow the product dataset's state.
#include "product_editor_fixture.h"

namespace qor::window::test {
namespace {

TEST_F(ProductEditor, ImportAllTakesTextTypedAndNotYetStored) {
    list({{"T1", "A01"}, {"T2", "A01"}});
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    typeInto(form->productPage().editor.DBEdit4, "typed name");  // the focus stays in the edit
    click(form->productPage().importBar.SpeedButton9);
    EXPECT_TRUE(dialogs.boxes.empty());
    EXPECT_EQ(storeRows("SELECT PROD_NAME FROM PRODUCT WHERE PROD_ID = 'T1'")[0][0],
              ds::Value(std::string("typed name")));
}

TEST_F(ProductEditor, TheImportControlsFollowThePostOfAnImportedRowAndTheNextEdit) {
    list({{"A1", "A01"}, {"A2", "A01"}});
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    EXPECT_TRUE(form->productPage().importBar.SpeedButton5->isEnabled());
    typeInto(form->productPage().editor.DBEdit4, "first");
    click(form->productPage().importBar.SpeedButton5);
    EXPECT_EQ(products().state(), ds::DataSetState::Edit);  // the edit stays in progress
    EXPECT_TRUE(form->productPage().importBar.Panel9->isEnabled());

    products().next();  // the post finds the edited row in the store
    EXPECT_EQ(field("PROD_ID").asString(), "A2");
    EXPECT_FALSE(form->productPage().importBar.SpeedButton5->isEnabled());
    EXPECT_FALSE(form->productPage().importBar.Panel9->isEnabled());
    EXPECT_TRUE(form->productPage().editor.Panel8->isEnabled());

    typeInto(form->productPage().editor.DBEdit4, "second");  // the edit of a row the store lacks
    EXPECT_TRUE(form->productPage().importBar.SpeedButton5->isEnabled());
    EXPECT_TRUE(form->productPage().importBar.Panel9->isEnabled());
    click(form->productPage().importBar.SpeedButton6);
    EXPECT_EQ(products().state(), ds::DataSetState::Browse);
    QApplication::processEvents();
    EXPECT_EQ(form->productPage().editor.DBEdit4->text(), "");
    EXPECT_TRUE(dialogs.boxes.empty());
}

}  // namespace
}  // namespace qor::window::test
