// Reading any row without moving, and the direct move a grid makes.
#include <gtest/gtest.h>

#include <vector>

#include "dataset/dataset.h"
#include "dataset_test_support.h"
#include "text/errors.h"

using namespace qor::ds;
using qor::ds::test::errorOf;
using qor::ds::test::fieldDef;

namespace {

class RowAccess : public ::testing::Test {
protected:
    void SetUp() override {
        FieldDef id = fieldDef("PROD_ID", FieldKind::String, 10);
        id.required = true;
        ds.declareField(id);
        FieldDef cost = fieldDef("AVG_COST", FieldKind::Float);
        cost.displayFormat = "#0.00";
        ds.declareField(cost);
        FieldDef put = fieldDef("PUT_ID", FieldKind::String, 10);
        put.editMask = "!00-00-0;0;";
        ds.declareField(put);
        Table t;
        for (int i = 0; i < ds.fieldCount(); ++i) {
            const Field& f = ds.field(i);
            t.columns.push_back({f.fieldName(), f.kind(), f.size()});
        }
        t.rows = {{std::string("C"), 3.0, std::string("12345")},
                  {std::string("A"), 0.333, std::string("54321")},
                  {std::string("B"), 2.346, Value{}}};
        ds.openWith(std::move(t));
        ds.afterScroll = [this](Dataset& d) { scrolls.push_back(d.fieldByName("PROD_ID").asString()); };
    }
    Field& f(const char* name) { return ds.fieldByName(name); }
    std::vector<std::string> column(const char* name) {
        std::vector<std::string> texts;
        for (int r = 0; r < ds.rowCount(); ++r) texts.push_back(ds.displayTextAt(r, f(name)));
        return texts;
    }

    Dataset ds{"CDS_PRODUCT"};
    std::vector<std::string> scrolls;
};

}  // namespace

TEST_F(RowAccess, AnyRowReadsAsTheFieldShowsItWhenCurrentWithoutMoving) {
    EXPECT_EQ(ds.rowCount(), 3);
    EXPECT_EQ(column("AVG_COST"), (std::vector<std::string>{"3.00", "0.33", "2.35"}));
    EXPECT_EQ(column("PUT_ID"), (std::vector<std::string>{"12-34-5", "54-32-1", ""}));
    EXPECT_EQ(std::get<double>(ds.valueAt(1, f("AVG_COST"))), 0.333);
    EXPECT_EQ(ds.currentRow(), 0);
    EXPECT_TRUE(scrolls.empty());

    for (int r = 0; r < ds.rowCount(); ++r) {
        ds.moveTo(r);
        EXPECT_EQ(ds.displayTextAt(r, f("AVG_COST")), f("AVG_COST").displayText());
        EXPECT_EQ(ds.displayTextAt(r, f("PUT_ID")), f("PUT_ID").displayText());
    }
    // Outside the rows, or another dataset's field: nothing, and no failure.
    Dataset other("OTHER");
    other.declareField(fieldDef("PROD_ID", FieldKind::String, 10));
    EXPECT_TRUE(isNull(ds.valueAt(3, f("PROD_ID"))));
    EXPECT_TRUE(isNull(ds.valueAt(0, other.field(0))));
    ds.close();
    EXPECT_EQ(ds.rowCount(), 0);
    EXPECT_EQ(ds.currentRow(), -1);
    EXPECT_EQ(ds.displayTextAt(0, f("PROD_ID")), "");
}

TEST_F(RowAccess, AMoveFarAwayIsOneMoveWithOneScroll) {
    ds.moveTo(2);
    EXPECT_EQ(scrolls, std::vector<std::string>{"B"});
    EXPECT_EQ(f("PROD_ID").asString(), "B");
    ds.moveTo(2);  // already there
    EXPECT_EQ(scrolls.size(), 1u);
    EXPECT_EQ(errorOf([&] { ds.moveTo(3); }), "List index out of bounds (3)");
    ds.close();
    EXPECT_EQ(errorOf([&] { ds.moveTo(0); }),
              "CDS_PRODUCT: Cannot perform this operation on a closed dataset");
}

TEST_F(RowAccess, UnpostedEditsShowAndAreKeptByTheRulesOfEveryMove) {
    f("AVG_COST").setAsFloat(7);
    EXPECT_EQ(ds.displayTextAt(0, f("AVG_COST")), "7.00");  // still in edit state
    ds.moveTo(1);
    EXPECT_EQ(ds.state(), DataSetState::Browse);
    EXPECT_EQ(ds.displayTextAt(0, f("AVG_COST")), "7.00");  // posted

    // An appended row counts while it is being appended and is dropped unchanged.
    ds.append();
    EXPECT_EQ(ds.rowCount(), 4);
    EXPECT_EQ(ds.recordCount(), 3);
    EXPECT_EQ(ds.currentRow(), 3);
    scrolls.clear();
    ds.moveTo(0);
    EXPECT_EQ(ds.rowCount(), 3);
    EXPECT_EQ(scrolls, std::vector<std::string>{"C"});

    // A row that cannot be posted keeps the dataset where it is.
    ds.append();
    f("AVG_COST").setAsFloat(1);
    scrolls.clear();
    EXPECT_EQ(errorOf([&] { ds.moveTo(0); }), "Field 'PROD_ID' must have a value");
    EXPECT_EQ(ds.state(), DataSetState::Insert);
    EXPECT_EQ(ds.currentRow(), 3);
    EXPECT_TRUE(scrolls.empty());
}

TEST_F(RowAccess, TheRowClickedIsTheRowReachedWhenPostingReordersTheRows) {
    ds.setIndexFieldNames("PROD_ID");  // A, B, C
    ds.moveTo(0);                      // A
    f("PROD_ID").setAsString("Z");     // posted, A goes last: B, C, Z
    scrolls.clear();
    ds.moveTo(1);  // the row shown as B when clicked
    EXPECT_EQ(scrolls, std::vector<std::string>{"B"});
    EXPECT_EQ(ds.currentRow(), 0);
    EXPECT_EQ(ds.displayTextAt(2, f("PROD_ID")), "Z");
}

// A large list is freed away from the caller once closed; the dataset must not see it again,
// and lists closed one after another (the last still being freed when the program ends) all go.
TEST(LargeRowRelease, ClosedRowsAreGoneAndTheNextOpenShowsOnlyItsOwn) {
    auto table = [](const std::string& prefix, int rows) {
        Table t;
        t.columns.push_back({"PROD_ID", FieldKind::String, 24});
        for (int i = 0; i < rows; ++i) t.rows.push_back({prefix + std::to_string(i)});
        return t;
    };
    Dataset ds("CDS_Source");
    for (const char* prefix : {"A", "B", "C"}) {
        ds.openWith(table(prefix, 20000));
        ASSERT_EQ(ds.rowCount(), 20000);
        ds.close();
        EXPECT_EQ(ds.state(), DataSetState::Inactive);
    }
    ds.openWith(table("D", 5));
    EXPECT_EQ(ds.rowCount(), 5);
    EXPECT_EQ(std::get<std::string>(ds.valueAt(4, ds.fieldByName("PROD_ID"))), "D4");
    ds.openWith(table("E", 20000));  // left open: freed with the dataset, at the end
}
