// Datasets fed by a provider, in packets of rows.
#include <gtest/gtest.h>

#include "dataset/dataset.h"
#include "text/errors.h"

using namespace qor::ds;

namespace {

// Serves a fixed result in pieces, the way a query's cursor does.
class ListProvider : public DataProvider {
public:
    explicit ListProvider(int rowCount) {
        result_.columns = {{"PROD_ID", FieldKind::String, 10}, {"QTY", FieldKind::Integer}};
        for (int i = 0; i < rowCount; ++i)
            result_.rows.push_back({std::string("P") + std::to_string(100 + i),
                                    std::int64_t(rowCount - i)});
    }
    Table openResult(const std::string& commandText, int maxRows) override {
        commands.push_back(commandText);
        next_ = 0;
        Table t;
        t.columns = result_.columns;
        t.rows = take(maxRows);
        return t;
    }
    bool fetchMore(int maxRows, std::vector<Row>& rows) override {
        ++fetches;
        auto more = take(maxRows);
        rows.insert(rows.end(), more.begin(), more.end());
        return !more.empty();
    }
    std::vector<std::string> commands;
    int fetches = 0;

private:
    std::vector<Row> take(int maxRows) {
        std::vector<Row> out;
        while (next_ < result_.rows.size() && (maxRows < 0 || int(out.size()) < maxRows))
            out.push_back(result_.rows[next_++]);
        return out;
    }
    Table result_;
    std::size_t next_ = 0;
};

}  // namespace

TEST(ProviderFeed, FetchesFurtherPacketsAsTheUserMovesOn) {
    ListProvider provider(8);
    Dataset ds("CDS_PRODUCT");
    ds.setProvider(&provider);
    ds.setPacketRecords(3);
    ds.setCommandText("SELECT * FROM PRODUCT");
    ds.open();
    EXPECT_EQ(provider.commands, std::vector<std::string>{"SELECT * FROM PRODUCT"});
    EXPECT_EQ(ds.recordCount(), 3);

    int seen = 0;
    for (ds.first(); !ds.eof(); ds.next()) ++seen;
    EXPECT_EQ(seen, 8);
    EXPECT_EQ(ds.recordCount(), 8);
    EXPECT_EQ(ds.fieldByName("PROD_ID").asString(), "P107");
    EXPECT_EQ(provider.fetches, 2);  // the third packet is short: nothing more is asked
}

TEST(ProviderFeed, LastLocateAndAppendFetchWhatTheyNeed) {
    ListProvider provider(10);
    Dataset ds("CDS_PRODUCT");
    ds.setProvider(&provider);
    ds.setPacketRecords(4);
    ds.open();
    EXPECT_TRUE(ds.locate("PROD_ID", "P105", {}));
    EXPECT_EQ(ds.recordCount(), 8);
    EXPECT_EQ(ds.recNo(), 6);
    EXPECT_FALSE(ds.locate("PROD_ID", "P999", {}));
    EXPECT_EQ(ds.recordCount(), 10);
    EXPECT_EQ(ds.fieldByName("PROD_ID").asString(), "P105");  // not found: stays

    ds.close();
    ds.open();
    ds.append();
    EXPECT_EQ(ds.recNo(), 11);  // after the very last row of the result
    ds.cancel();
    ds.close();
    ds.open();
    ds.last();
    EXPECT_EQ(ds.recordCount(), 10);
    EXPECT_EQ(ds.toTable().rows.size(), 10u);
}

TEST(ProviderFeed, AnOrderInForceTakesEveryRowAtOpen) {
    ListProvider provider(7);
    Dataset ds("CDS_PRODUCT");
    ds.setProvider(&provider);
    ds.setPacketRecords(2);
    ds.setIndexFieldNames("QTY");
    ds.open();
    EXPECT_EQ(ds.recordCount(), 7);
    EXPECT_EQ(ds.fieldByName("QTY").asInteger(), 1);
    EXPECT_EQ(ds.fieldByName("PROD_ID").asString(), "P106");
}
