// Data sources and field links as data-aware controls use them.
#include <gtest/gtest.h>

#include "dataset/datasource.h"

using namespace qor::ds;

namespace {

Table providers() {
    Table t;
    t.columns = {{"PROVIDER_ID", FieldKind::String, 10}, {"PROVIDER_NAME", FieldKind::String, 20}};
    t.rows.push_back({std::string("F1"), std::string("one")});
    t.rows.push_back({std::string("F2"), std::string("two")});
    return t;
}

// A control's view of one field: what it was told, in order.
struct LinkedControl {
    explicit LinkedControl(DataSource& source, const char* fieldName) {
        link.onActiveChange = [this] { log.push_back("active"); };
        link.onDataChange = [this] {
            const Field* f = link.field();
            log.push_back("data " + (f ? f->asString() : std::string("-")));
        };
        link.onEditingChange = [this] { log.push_back("editing"); };
        link.onFocusControl = [this] { log.push_back("focus"); };
        link.setDataSource(&source);
        link.setFieldName(fieldName);
        log.clear();
    }
    std::vector<std::string> take() { return std::exchange(log, {}); }
    FieldDataLink link;
    std::vector<std::string> log;
};

using Log = std::vector<std::string>;

}  // namespace

TEST(FieldLink, FollowsOpenScrollEditsAndClose) {
    Dataset ds("CDS_Fac");
    DataSource source("DS_Fac", &ds);
    LinkedControl name(source, "provider_name");
    EXPECT_EQ(name.link.field(), nullptr);

    ds.openWith(providers());
    EXPECT_EQ(name.take(), (Log{"active", "data one"}));
    ds.next();
    EXPECT_EQ(name.take(), (Log{"data two"}));

    ds.fieldByName("PROVIDER_ID").setAsString("F9");  // another field: not this control's
    ds.fieldByName("PROVIDER_NAME").setAsString("zwei");
    EXPECT_EQ(name.take(), (Log{"editing", "data zwei"}));
    ds.fieldByName("PROVIDER_NAME").focusControl();
    ds.post();
    EXPECT_EQ(name.take(), (Log{"focus", "editing", "data zwei"}));

    ds.close();
    EXPECT_EQ(name.take(), (Log{"active", "data -"}));
    EXPECT_EQ(name.link.field(), nullptr);
}

TEST(FieldLink, NewFieldNameOrDataSourceShowsTheNewValue) {
    Dataset ds("CDS_Fac");
    ds.openWith(providers());
    DataSource source("DS_Fac", &ds);
    LinkedControl search(source, "PROVIDER_ID");
    search.link.setFieldName("PROVIDER_NAME");
    EXPECT_EQ(search.take(), (Log{"data one"}));
    search.link.setFieldName("NOPE");
    EXPECT_EQ(search.take(), (Log{"active", "data -"}));

    Dataset other("CDS_Other");
    source.setDataSet(&other);
    EXPECT_FALSE(search.link.active());
    EXPECT_EQ(search.take(), (Log{"active", "data -"}));
}

TEST(DataSourceEvents, StateChangesOnlyNotRowMoves) {
    Dataset ds("CDS_PRODUCT");
    DataSource source("DS_PRODUCT", &ds);
    std::vector<DataSetState> states;
    int dataChanges = 0;
    source.onStateChange = [&](DataSource& s) { states.push_back(s.state()); };
    source.onDataChange = [&](DataSource&, Field*) { ++dataChanges; };
    ds.openWith(providers());
    ds.next();
    ds.first();
    ds.edit();
    ds.cancel();
    ds.close();
    EXPECT_EQ(states, (std::vector<DataSetState>{DataSetState::Browse, DataSetState::Edit,
                                                  DataSetState::Browse, DataSetState::Inactive}));
    EXPECT_GE(dataChanges, 3);
}

TEST(DataSourceEvents, EitherSideMayGoFirst) {
    auto ds = std::make_unique<Dataset>("CDS_Fac");
    DataSource source("DS_Fac", ds.get());
    ds.reset();
    EXPECT_EQ(source.dataSet(), nullptr);
    EXPECT_EQ(source.state(), DataSetState::Inactive);

    Dataset kept("CDS_Fac");
    auto early = std::make_unique<DataSource>("DS_Fac", &kept);
    LinkedControl control(*early, "PROVIDER_ID");
    early.reset();
    EXPECT_EQ(control.link.dataSource(), nullptr);
    kept.openWith(providers());  // no one left to tell
}
