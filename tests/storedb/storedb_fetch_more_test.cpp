// A grid's fetch on demand through the product record's provider chain: packets of 1000 rows
// from a real store database, taken without moving the current row.
#include <gtest/gtest.h>

#include "storedb/store_objects.h"
#include "storedb_fixture.h"

namespace qor::storedb::testing {
namespace {

constexpr const char* k2500Products =
    "SET TERM ^ ;\n"
    "EXECUTE BLOCK AS DECLARE I INTEGER = 0; BEGIN\n"
    "  WHILE (I < 2500) DO BEGIN\n"
    "    INSERT INTO PRODUCT (PROD_ID, PROD_BARCODE, PSALE_PRICE, VIP_PRICE)\n"
    "      VALUES (LPAD(:I, 6, '0'), 'B' || :I, :I, :I);\n"
    "    I = I + 1;\n"
    "  END\n"
    "END^\n"
    "SET TERM ; ^\n";

class FetchOnDemand : public StoreDbTest {
protected:
    FetchOnDemand() : StoreDbTest(k2500Products) {}
};

TEST_F(FetchOnDemand, EachFetchTakesTheNextPacketAndLeavesTheCurrentRow) {
    StoreObjects store(paths_);
    ds::Dataset& products = store.CDS_PRODUCT;
    products.setCommandText("SELECT * FROM PRODUCT ORDER BY PROD_ID");
    products.open();
    int scrolls = 0;
    products.afterScroll = [&](ds::Dataset&) { ++scrolls; };
    products.moveTo(10);
    ASSERT_EQ(products.rowCount(), 1000);
    EXPECT_TRUE(products.canFetchMore());

    EXPECT_TRUE(products.fetchMore());
    EXPECT_EQ(products.rowCount(), 2000);
    EXPECT_EQ(products.displayTextAt(1999, products.fieldByName("PROD_ID")), "001999");
    EXPECT_TRUE(products.fetchMore());
    EXPECT_EQ(products.rowCount(), 2500);
    EXPECT_FALSE(products.canFetchMore());  // a short packet: the result is used up
    EXPECT_FALSE(products.fetchMore());
    EXPECT_EQ(products.currentRow(), 10);
    EXPECT_EQ(products.fieldByName("PROD_ID").asString(), "000010");
    EXPECT_EQ(scrolls, 1);
}

}  // namespace
}  // namespace qor::storedb::testing
