// The supplier tab against a real head-office gateway: the load, sorting by a title click on
// the supplier and product grids, and the search edit pointed at the sorted column.
#include <QApplication>
#include <QHeaderView>
#include <QTest>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "canned_http_server.h"
#include "qt_printing.h"
#include "shared_gateway.h"
#include "store_window_fixture.h"
#include "text/cp950.h"
#include "text/local_date.h"
#include "window/big5_qt.h"

namespace qor::window {
namespace {

using test::Box;

const std::string& up() { return QOR_BIG5("▲"); }
const std::string& down() { return QOR_BIG5("▼"); }
const std::string& name() { return QOR_BIG5("名稱"); }
std::vector<std::string> plainTitles() {
    return {QOR_BIG5("代號"), name(), QOR_BIG5("電話"), QOR_BIG5("統編")};
}

// By code: V01 "Snap Apple", V02 "Apple Farm", V03 "apricot co", V04 "台灣農產", V05
// "Banana". By name, letter case counting: V02, V05, V01, V03, V04.
std::string headOfficeRows() {
    std::string sql;
    const std::vector<std::pair<const char*, std::string>> suppliers{
        {"V01", "Snap Apple"}, {"V02", "Apple Farm"}, {"V03", "apricot co"},
        {"V04", QOR_BIG5("台灣農產")}, {"V05", "Banana"}};
    for (const auto& [id, supplierName] : suppliers)
        sql += "INSERT INTO PROVIDER (PROVIDER_ID, PROVIDER_NAME, PROVIDER_PHONE, BUSINESS_NUM) "
               "VALUES ('" + std::string(id) + "', '" + supplierName + "', '02-" + id + "', '8" +
               id + "');\n";
    // Three products changed today, new to any store.
    for (const char* product : {"2 Cola", "1 Tea", "3 Milk"})
        sql += "INSERT INTO PRODUCT (PROD_ID, PROD_BARCODE, PROD_NAME, PSALE_PRICE, VIP_PRICE, "
               "STOCK_QTY, CHG_DATE) VALUES ('H" + std::string(product, 1) + "', 'B" +
               std::string(product, 1) + "', '" + std::string(product + 2) + "', 10, 9, 'Y', '" +
               text::localDateText(0) + "');\n";
    return sql;
}

class SupplierList : public qor::test::SharedGateway<SupplierList, test::StoreWindow> {
protected:
    static void SetUpTestSuite() { startGateway(headOfficeRows()); }

    void SetUp() override {
        openWindow("", *gateway);
        form->workArea().Panel3->show();  // as after a sign-in
        QApplication::setActiveWindow(form.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }

    void load() { QTest::mouseClick(form->workArea().SpeedButton4, Qt::LeftButton); }
    void clickTitle(TDBGrid* grid, int column) {
        QHeaderView* titles = grid->horizontalHeader();
        const int x = titles->sectionViewportPosition(column) + 5;
        ASSERT_LT(x, titles->viewport()->width()) << "title " << column << " out of sight";
        QTest::mouseClick(titles->viewport(), Qt::LeftButton, {}, QPoint(x, titles->height() / 2));
    }
    void clickRow(int row) {
        const QModelIndex index = form->supplierPage().DBGrid4->model()->index(row, 0);
        QTest::mouseClick(form->supplierPage().DBGrid4->viewport(), Qt::LeftButton, {},
                          form->supplierPage().DBGrid4->visualRect(index).center());
        QApplication::processEvents();
    }
    void type(const char* text) {
        form->supplierPage().SearchEdit1->setFocus();
        ASSERT_TRUE(form->supplierPage().SearchEdit1->hasFocus());
        form->supplierPage().SearchEdit1->clear();
        QTest::keyClicks(form->supplierPage().SearchEdit1, text);
    }

    static std::vector<std::string> titles(const TDBGrid* grid) {
        std::vector<std::string> all;
        for (int c = 0; c < grid->columnCount(); ++c) all.push_back(grid->columnTitle(c));
        return all;
    }
    // One field's values in the dataset's order, read without moving.
    static std::vector<std::string> column(ds::Dataset& data, const char* field) {
        std::vector<std::string> values;
        for (int row = 0; row < data.rowCount(); ++row)
            values.push_back(data.displayTextAt(row, data.fieldByName(field)));
        return values;
    }
    std::vector<std::string> codes() { return column(form->suppliers().CDS_Fac, "PROVIDER_ID"); }
    std::string current() { return form->suppliers().CDS_Fac.fieldByName("PROVIDER_ID").asString(); }
    std::string searchText() { return fromQString(form->supplierPage().SearchEdit1->text()); }

};


TEST_F(SupplierList, ALoadTitlesTheColumnsAndTheSearchFollowsTheCodeAndThePrefixTyped) {
    load();
    EXPECT_TRUE(dialogs.boxes.empty());
    EXPECT_EQ(form->workArea().PageControl1->currentIndex(), 2);
    EXPECT_EQ(titles(form->supplierPage().DBGrid4), plainTitles());
    EXPECT_EQ(codes(), (std::vector<std::string>{"V01", "V02", "V03", "V04", "V05"}));
    const QFont titleFont = form->supplierPage().DBGrid4->horizontalHeader()->font();
    EXPECT_EQ(titleFont.families(), form->font().families());
    EXPECT_EQ(titleFont.pixelSize(), 13);

    // Unfocused, the edit shows the current code all selected, and follows the grid.
    EXPECT_EQ(form->supplierPage().SearchEdit1->dataField(), "PROVIDER_ID");
    EXPECT_EQ(searchText(), "V01");
    clickRow(3);
    EXPECT_EQ(searchText(), "V04");
    type("v0");
    EXPECT_EQ(current(), "V01");
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(SupplierList, TitleClicksAlternateTheDirectionWhicheverColumnKeepingTheRow) {
    load();
    clickRow(2);
    const std::string arrowInside = QOR_BIG5("電") + down() + QOR_BIG5("話");
    form->supplierPage().DBGrid4->setColumnTitle(2, arrowInside);
    const std::vector<std::string> byName{"V02", "V05", "V01", "V03", "V04"};

    clickTitle(form->supplierPage().DBGrid4, 1);
    EXPECT_EQ(form->supplierPage().DBGrid4->columnTitle(1), up() + name());
    EXPECT_EQ(codes(), byName);
    EXPECT_EQ(current(), "V03");
    clickTitle(form->supplierPage().DBGrid4, 1);
    EXPECT_EQ(form->supplierPage().DBGrid4->columnTitle(1), down() + name());
    EXPECT_EQ(codes(), std::vector<std::string>(byName.rbegin(), byName.rend()));
    EXPECT_EQ(current(), "V03");
    clickTitle(form->supplierPage().DBGrid4, 1);
    EXPECT_EQ(form->supplierPage().DBGrid4->columnTitle(1), up() + name());
    EXPECT_EQ(codes(), byName);

    // After an ascending sort another column sorts descending; only leading marks go.
    clickTitle(form->supplierPage().DBGrid4, 0);
    EXPECT_EQ(titles(form->supplierPage().DBGrid4), (std::vector<std::string>{down() + plainTitles()[0], name(),
                                                               arrowInside, plainTitles()[3]}));
    EXPECT_EQ(codes(), (std::vector<std::string>{"V05", "V04", "V03", "V02", "V01"}));
    EXPECT_EQ(current(), "V03");
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(SupplierList, TheOrderOutlivesAReloadWhileTheNewTitlesCarryNoMark) {
    load();
    clickTitle(form->supplierPage().DBGrid4, 1);
    clickTitle(form->supplierPage().DBGrid4, 1);
    load();
    EXPECT_EQ(titles(form->supplierPage().DBGrid4), plainTitles());
    EXPECT_EQ(codes(), (std::vector<std::string>{"V04", "V03", "V01", "V05", "V02"}));
    EXPECT_EQ(form->supplierPage().SearchEdit1->dataField(), "PROVIDER_ID");

    // With the named order in force the next click sorts ascending.
    clickTitle(form->supplierPage().DBGrid4, 3);
    EXPECT_EQ(form->supplierPage().DBGrid4->columnTitle(3), up() + plainTitles()[3]);
    EXPECT_EQ(codes(), (std::vector<std::string>{"V01", "V02", "V03", "V04", "V05"}));
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(SupplierList, ATitleClickFocusesTheSearchOnThatColumn) {
    load();
    clickRow(3);
    clickTitle(form->supplierPage().DBGrid4, 1);
    EXPECT_TRUE(form->supplierPage().SearchEdit1->hasFocus());
    EXPECT_EQ(form->supplierPage().SearchEdit1->dataField(), "PROVIDER_NAME");
    EXPECT_EQ(searchText(), QOR_BIG5("台灣農產"));

    QTest::keyClicks(form->supplierPage().SearchEdit1, "b");  // replaces the selected text
    EXPECT_EQ(current(), "V05");
}

TEST_F(SupplierList, BeforeAnyLoadTitleClicksDoNothing) {
    form->DBGrid1TitleClick(0);
    form->DBGrid4TitleClick(0);
    EXPECT_TRUE(dialogs.boxes.empty());
    EXPECT_EQ(form->supplierPage().SearchEdit1->dataField(), "");
    EXPECT_EQ(searchText(), "SearchEdit1");
}

TEST_F(SupplierList, AFailedLoadKeepsTitlesAndSearchFieldAndAShortReplyGetsWhatTitlesItCan) {
    load();
    clickTitle(form->supplierPage().DBGrid4, 1);
    ASSERT_EQ(form->supplierPage().SearchEdit1->dataField(), "PROVIDER_NAME");

    pointGatewayAt(qor::test::closedPort());
    load();
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].kind, Box::Message);
    EXPECT_EQ(form->supplierPage().DBGrid4->columnTitle(1), up() + name());
    EXPECT_EQ(form->supplierPage().SearchEdit1->dataField(), "PROVIDER_NAME");

    qor::test::CannedHttpServer twoColumns(qor::test::CannedHttpServer::okReply(
        "<DATAPACKET Version=\"2.0\"><METADATA><FIELDS>"
        "<FIELD attrname=\"PROVIDER_ID\" fieldtype=\"string\" WIDTH=\"10\"/>"
        "<FIELD attrname=\"PROVIDER_NAME\" fieldtype=\"string\" WIDTH=\"50\"/>"
        "</FIELDS></METADATA><ROWDATA><ROW PROVIDER_ID=\"X2\" PROVIDER_NAME=\"b\"/>"
        "<ROW PROVIDER_ID=\"X1\" PROVIDER_NAME=\"a\"/></ROWDATA></DATAPACKET>"));
    pointGatewayAt(twoColumns.port());
    load();
    EXPECT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(titles(form->supplierPage().DBGrid4), (std::vector<std::string>{plainTitles()[0], name()}));
    EXPECT_EQ(codes(), (std::vector<std::string>{"X1", "X2"}));  // still by name
    EXPECT_EQ(form->supplierPage().SearchEdit1->dataField(), "PROVIDER_ID");
}

// The product grid sorts the same way; its marks live in CDS_PRODUCT's labels.
TEST_F(SupplierList, ProductGridMarksAndOrderSurviveANewDownload) {
    QTest::mouseClick(form->workArea().SpeedButton2, Qt::LeftButton);
    ds::Dataset& products = form->store().CDS_PRODUCT;
    ASSERT_EQ(products.recordCount(), 3);
    const int nameColumn = products.fieldByName("PROD_NAME").index();
    const std::string productName = QOR_BIG5("商品名稱");
    clickTitle(form->productPage().DBGrid1, nameColumn);
    clickTitle(form->productPage().DBGrid1, nameColumn);
    EXPECT_EQ(form->productPage().DBGrid1->columnTitle(nameColumn), down() + productName);

    QTest::mouseClick(form->workArea().SpeedButton2, Qt::LeftButton);
    EXPECT_TRUE(dialogs.boxes.empty());
    EXPECT_EQ(form->productPage().DBGrid1->columnTitle(nameColumn), down() + productName);
    EXPECT_EQ(column(products, "PROD_NAME"), (std::vector<std::string>{"Tea", "Milk", "Cola"}));

    // A row that cannot be posted: its error, the order kept, the mark already gone.
    products.fieldByName("VIP_PRICE").clear();
    clickTitle(form->productPage().DBGrid1, nameColumn);
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text, "Field '" + QOR_BIG5("會員售價") + "' must have a value");
    EXPECT_EQ(form->productPage().DBGrid1->columnTitle(nameColumn), productName);
    EXPECT_EQ(products.indexName(), "iPROD_NAME");
    EXPECT_EQ(products.state(), ds::DataSetState::Edit);
}

}  // namespace
}  // namespace qor::window
