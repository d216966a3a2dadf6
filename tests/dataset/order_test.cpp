// Field-name orders and named descending orders.
#include <gtest/gtest.h>

#include "dataset/dataset.h"
#include "dataset_test_support.h"
#include "text/errors.h"

using namespace qor::ds;
using qor::ds::test::fieldDef;
using qor::ds::test::errorOf;

namespace {

Table suppliers() {
    Table t;
    t.columns = {{"PROVIDER_ID", FieldKind::String, 10}, {"PROVIDER_NAME", FieldKind::String, 20}};
    auto add = [&](const char* id, Value name) { t.rows.push_back({std::string(id), name}); };
    add("F3", std::string("beta"));
    add("F1", std::string("Beta"));
    add("F2", std::string("alpha"));
    add("F5", Value{});
    add("F4", std::string("beta"));
    return t;
}

std::string ids(Dataset& ds) {
    std::string out;
    const std::string current = ds.fieldByName("PROVIDER_ID").asString();
    for (ds.first(); !ds.eof(); ds.next()) out += ds.fieldByName("PROVIDER_ID").asString() + " ";
    ds.locate("PROVIDER_ID", current, {});
    return out;
}

class Orders : public ::testing::Test {
protected:
    void SetUp() override { ds.openWith(suppliers()); }
    Dataset ds{"CDS_Fac"};
};

}  // namespace

TEST_F(Orders, AscendingByNameNullsFirstCaseCountsTiesStable) {
    ds.setIndexFieldNames("PROVIDER_NAME");
    // "B" sorts before "a" and "b" byte by byte; the two "beta" rows keep their order.
    EXPECT_EQ(ids(ds), "F5 F1 F2 F3 F4 ");
    ds.setIndexFieldNames("");
    EXPECT_EQ(ids(ds), "F3 F1 F2 F5 F4 ");
}

TEST_F(Orders, NamedDescendingOrderAndFieldOrderExcludeEachOther) {
    ds.addIndex("iPROVIDER_NAME", "PROVIDER_NAME", "PROVIDER_NAME");
    ds.setIndexFieldNames("PROVIDER_ID");
    ds.setIndexName("iPROVIDER_NAME");
    EXPECT_EQ(ds.indexFieldNames(), "");
    EXPECT_EQ(ids(ds), "F3 F4 F2 F1 F5 ");
    ds.setIndexFieldNames("PROVIDER_ID");
    EXPECT_EQ(ds.indexName(), "");
    EXPECT_EQ(ids(ds), "F1 F2 F3 F4 F5 ");
    EXPECT_THROW(ds.setIndexName("iNOPE"), qor::Error);
    EXPECT_EQ(ds.indexFieldNames(), "PROVIDER_ID");
}

TEST_F(Orders, ChangingTheOrderKeepsTheCurrentRow) {
    ds.locate("PROVIDER_ID", "F2", {});
    ds.setIndexFieldNames("PROVIDER_ID");
    EXPECT_EQ(ds.fieldByName("PROVIDER_ID").asString(), "F2");
    EXPECT_EQ(ds.recNo(), 2);
    ds.addIndex("iPROVIDER_ID", "PROVIDER_ID", "PROVIDER_ID");
    ds.setIndexName("iPROVIDER_ID");
    EXPECT_EQ(ds.fieldByName("PROVIDER_ID").asString(), "F2");
    EXPECT_EQ(ds.recNo(), 4);
}

TEST_F(Orders, ThePendingEditIsPostedFirstAndAFailedPostKeepsTheOrder) {
    ds.fieldByName("PROVIDER_NAME").setAsString("zeta");  // edit of F3
    ds.setIndexFieldNames("PROVIDER_NAME");
    EXPECT_EQ(ds.state(), DataSetState::Browse);
    EXPECT_EQ(ids(ds), "F5 F1 F2 F4 F3 ");

    Dataset required("CDS_PRODUCT");
    FieldDef id = fieldDef("PROVIDER_ID", FieldKind::String, 10);
    id.required = true;
    required.declareField(id);
    required.declareField(fieldDef("PROVIDER_NAME", FieldKind::String, 20));
    required.openWith(suppliers());
    required.append();
    required.fieldByName("PROVIDER_NAME").setAsString("new");
    EXPECT_THROW(required.setIndexFieldNames("PROVIDER_NAME"), qor::Error);
    EXPECT_EQ(required.indexFieldNames(), "");
    EXPECT_EQ(required.state(), DataSetState::Insert);
}

TEST_F(Orders, PostedRowsTakeTheirPlaceAndTheSettingOutlivesAReload) {
    ds.setIndexFieldNames("PROVIDER_ID");
    ds.append();
    ds.fieldByName("PROVIDER_ID").setAsString("F0");
    ds.post();
    EXPECT_EQ(ds.recNo(), 1);  // the posted row moved to its place and stayed current
    EXPECT_EQ(ids(ds), "F0 F1 F2 F3 F4 F5 ");

    ds.close();
    ds.openWith(suppliers());
    EXPECT_EQ(ds.fieldByName("PROVIDER_ID").asString(), "F1");

    Table other;
    other.columns = {{"CODE", FieldKind::String, 10}};
    try {
        ds.openWith(other);
        FAIL();
    } catch (const qor::Error& e) {
        EXPECT_STREQ(e.what(), "CDS_Fac: Field 'PROVIDER_ID' not found");
    }
    EXPECT_FALSE(ds.active());
}
