// Declared fields bound to the columns a dataset is opened with, and fields from columns.
#include <gtest/gtest.h>

#include "dataset/dataset.h"
#include "dataset_test_support.h"
#include "text/cp950.h"
#include "text/errors.h"

using namespace qor::ds;
using qor::ds::test::fieldDef;
using qor::ds::test::errorOf;

namespace {

std::string openError(Dataset& ds, Table t) {
    try {
        ds.openWith(std::move(t));
    } catch (const qor::Error& e) {
        return e.what();
    }
    return "(opened)";
}

class Lookup : public ::testing::Test {
protected:
    void SetUp() override {
        FieldDef id = fieldDef("UNIT_ID", FieldKind::String, 10, QOR_BIG5("單位"));
        id.required = true;
        ds.declareField(id);
        ds.declareField(fieldDef("UNITNAME", FieldKind::String, 10, QOR_BIG5("單位說明")));
    }
    static Table units(int nameWidth) {
        Table t;
        t.columns = {{"EXTRA", FieldKind::Integer},
                     {"unitname", FieldKind::String, nameWidth},
                     {"UNIT_ID", FieldKind::String, 10}};
        t.rows.push_back({std::int64_t(1), std::string("box of twelve"), std::string("BX")});
        return t;
    }
    Dataset ds{"CDS_Unit"};
};

}  // namespace

TEST_F(Lookup, ExposesOnlyDeclaredFieldsInDeclaredOrder) {
    ds.openWith(units(10));
    ASSERT_EQ(ds.fieldCount(), 2);
    EXPECT_EQ(ds.field(0).fieldName(), "UNIT_ID");
    EXPECT_EQ(ds.field(0).asString(), "BX");
    EXPECT_EQ(ds.field(1).asString(), "box of twe");  // the wider column is cut to the field
    EXPECT_EQ(ds.findField("EXTRA"), nullptr);
    const Table out = ds.toTable();
    ASSERT_EQ(out.columns.size(), 2u);
    EXPECT_EQ(out.rows.at(0).at(0), Value(std::string("BX")));
}

TEST_F(Lookup, NarrowerColumnLowersTheSizeForGood) {
    ds.openWith(units(4));
    EXPECT_EQ(ds.fieldByName("UNITNAME").size(), 4);
    EXPECT_EQ(ds.fieldByName("UNITNAME").asString(), "box ");
    ds.openWith(units(30));
    EXPECT_EQ(ds.fieldByName("UNITNAME").size(), 4);
    EXPECT_EQ(ds.fieldByName("UNITNAME").asString(), "box ");
}

TEST_F(Lookup, MissingColumnOrWrongKindFailsAndLeavesItClosed) {
    Table missing;
    missing.columns = {{"UNIT_ID", FieldKind::String, 10}};
    EXPECT_EQ(openError(ds, missing),
              "CDS_Unit: Field '" + QOR_BIG5("單位說明") + "' not found");
    EXPECT_FALSE(ds.active());

    Table wrong = units(10);
    wrong.columns[2].kind = FieldKind::Integer;
    EXPECT_EQ(openError(ds, wrong), "CDS_Unit: Type mismatch for field '" + QOR_BIG5("單位") +
                                        "', expecting: String actual: Integer");
    EXPECT_FALSE(ds.active());
    EXPECT_EQ(ds.fieldCount(), 2);
}

TEST_F(Lookup, OpensEmptyOnItsFieldsWithoutAProvider) {
    ds.open();
    EXPECT_TRUE(ds.active());
    EXPECT_TRUE(ds.isEmpty());
    EXPECT_EQ(ds.recordCount(), 0);
    EXPECT_EQ(ds.state(), DataSetState::Browse);
}

TEST(ColumnFields, OneFieldPerColumnFoundWithoutRegardToCase) {
    Dataset ds("CDS_Fac");
    Table t;
    t.columns = {{"PROVIDER_ID", FieldKind::String, 10}, {"NAME", FieldKind::String, 0},
                 {"name", FieldKind::Integer}};
    t.rows.push_back({std::string("F01"), Value{}, std::int64_t(3)});
    ds.openWith(std::move(t));
    ASSERT_EQ(ds.fieldCount(), 3);
    EXPECT_EQ(ds.fieldByName("provider_id").asString(), "F01");
    EXPECT_EQ(ds.field(1).size(), 20);
    EXPECT_EQ(ds.field(2).fieldName(), "name_1");  // a repeated name is made unique
    EXPECT_EQ(ds.field(2).index(), 2);
    try {
        ds.fieldByName("PHONE");
        FAIL();
    } catch (const qor::Error& e) {
        EXPECT_STREQ(e.what(), "CDS_Fac: Field 'PHONE' not found");
    }
    EXPECT_THROW(ds.field(3), qor::Error);
    EXPECT_THROW(ds.declareField(fieldDef("X", FieldKind::String)), qor::Error);  // open: no declaring now

    ds.close();
    ds.clearFields();
    EXPECT_EQ(ds.fieldCount(), 0);
    EXPECT_THROW(ds.open(), qor::Error);  // no provider and nothing declared
}
