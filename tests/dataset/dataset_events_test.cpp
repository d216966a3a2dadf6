// The order of state changes, afterOpen and afterScroll for the row operations.
#include <gtest/gtest.h>

#include "dataset/dataset.h"
#include "dataset/datasource.h"
#include "text/errors.h"

using namespace qor::ds;

namespace {

const char* stateName(DataSetState s) {
    switch (s) {
        case DataSetState::Inactive: return "inactive";
        case DataSetState::Browse: return "browse";
        case DataSetState::Edit: return "edit";
        case DataSetState::Insert: return "insert";
    }
    return "?";
}

Table codes(std::initializer_list<const char*> values) {
    Table t;
    t.columns = {{"ID", FieldKind::String, 10}, {"QTY", FieldKind::Integer}};
    for (const char* v : values) t.rows.push_back({std::string(v), Value{}});
    return t;
}

// Records what the data source and the dataset's own events report, in order.
class Events : public ::testing::Test {
protected:
    void SetUp() override {
        source.onStateChange = [&](DataSource& s) { log.push_back(stateName(s.state())); };
        ds.afterOpen = [&](Dataset&) { log.push_back("open"); };
        ds.afterScroll = [&](Dataset& d) {
            const Field* id = d.findField("ID");
            log.push_back("scroll " + (id ? id->asString() : std::string()));
        };
    }
    std::vector<std::string> take() { return std::exchange(log, {}); }
    using Log = std::vector<std::string>;

    Dataset ds{"CDS_PsaleMaster"};
    DataSource source{"DS_PSaleMaster", &ds};
    Log log;
};

}  // namespace

TEST_F(Events, OpeningReportsStateThenOpenThenScrollWhenThereAreRows) {
    ds.openWith(codes({"A", "B"}));
    EXPECT_EQ(take(), (Log{"browse", "open", "scroll A"}));
    ds.openWith(codes({}));  // reopening closes first
    EXPECT_EQ(take(), (Log{"inactive", "browse", "open"}));
}

TEST_F(Events, AppendScrollsBeforeValuesAndPostDoesNot) {
    ds.openWith(codes({}));
    take();
    ds.append();
    ds.fieldByName("ID").setAsString("M1");
    ds.post();
    EXPECT_EQ(take(), (Log{"insert", "scroll ", "browse"}));
    ds.first();
    EXPECT_EQ(take(), (Log{"scroll M1"}));
    EXPECT_EQ(ds.recordCount(), 1);
}

TEST_F(Events, FirstAlwaysScrollsNextAtTheEndOnlySetsEndOfData) {
    ds.openWith(codes({"A", "B"}));
    take();
    ds.first();
    ds.next();
    EXPECT_FALSE(ds.eof());
    ds.next();
    EXPECT_TRUE(ds.eof());
    EXPECT_EQ(ds.fieldByName("ID").asString(), "B");
    ds.last();
    ds.prior();
    EXPECT_EQ(take(), (Log{"scroll A", "scroll B", "scroll B", "scroll A"}));

    ds.openWith(codes({}));
    take();
    ds.first();
    EXPECT_TRUE(ds.eof());
    EXPECT_EQ(take(), (Log{"scroll "}));
}

TEST_F(Events, MovingPostsAChangedRowAndDropsAnUntouchedAppend) {
    ds.openWith(codes({"A", "B"}));
    take();
    ds.fieldByName("ID").setAsString("A2");  // browse: starts an edit
    ds.next();
    EXPECT_EQ(take(), (Log{"edit", "browse", "scroll B"}));
    ds.first();
    EXPECT_EQ(ds.fieldByName("ID").asString(), "A2");

    ds.append();
    ds.first();
    EXPECT_EQ(take(), (Log{"scroll A2", "insert", "scroll ", "browse", "scroll A2"}));
    EXPECT_EQ(ds.recordCount(), 2);

    ds.edit();
    ds.next();  // nothing changed: the edit just ends
    EXPECT_EQ(take(), (Log{"edit", "browse", "scroll B"}));
}

TEST_F(Events, CancelUndoesAnEditOrRemovesTheAppendedRow) {
    ds.openWith(codes({"A", "B"}));
    ds.next();
    take();
    ds.edit();
    ds.fieldByName("ID").setAsString("X");
    ds.cancel();
    EXPECT_EQ(ds.fieldByName("ID").asString(), "B");
    ds.append();
    ds.fieldByName("ID").setAsString("C");
    ds.cancel();
    EXPECT_EQ(ds.recordCount(), 2);
    EXPECT_EQ(ds.fieldByName("ID").asString(), "B");  // the row current before the append
    ds.cancel();  // browse: nothing
    EXPECT_EQ(take(), (Log{"edit", "browse", "insert", "scroll ", "browse"}));
}

TEST_F(Events, CloseDropsAnUnpostedEditSilently) {
    ds.openWith(codes({"A"}));
    ds.fieldByName("ID").setAsString("changed");
    take();
    ds.close();
    EXPECT_EQ(take(), (Log{"inactive"}));
    EXPECT_EQ(ds.fieldCount(), 0);  // fields made from columns go with the rows
    try {
        ds.next();
        FAIL();
    } catch (const qor::Error& e) {
        EXPECT_STREQ(e.what(), "CDS_PsaleMaster: Cannot perform this operation on a closed dataset");
    }
    EXPECT_THROW(ds.recordCount(), qor::Error);
    EXPECT_THROW(ds.append(), qor::Error);
}

TEST_F(Events, DisabledControlsHideChangesFromDataSourcesOnly) {
    ds.openWith(codes({"A", "B"}));
    int dataChanges = 0;
    source.onDataChange = [&](DataSource&, Field*) { ++dataChanges; };
    take();
    ds.disableControls();
    ds.disableControls();
    ds.next();
    ds.edit();
    ds.fieldByName("ID").setAsString("B2");
    ds.enableControls();
    EXPECT_EQ(dataChanges, 0);
    EXPECT_EQ(take(), (Log{"scroll B"}));  // the dataset's own event still fires
    ds.enableControls();
    EXPECT_EQ(take(), (Log{"edit"}));
    EXPECT_EQ(dataChanges, 1);
    EXPECT_FALSE(ds.controlsDisabled());
}
