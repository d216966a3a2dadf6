// Data sources and field links as data-aware controls use them.
#include <gtest/gtest.h>

#include <stdexcept>
#include <utility>

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

TEST(FieldLink, KeepsItsFieldOnlyWhileTheFieldListStays) {
    Dataset ds("CDS_Fac");
    DataSource source("DS_Fac", &ds);
    LinkedControl name(source, "PROVIDER_NAME");
    ds.openWith(providers());
    Field* first = name.link.field();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first, &ds.fieldByName("PROVIDER_NAME"));

    // Fields made from the columns go with them: the link finds the new ones.
    Table renamed = providers();
    renamed.columns[0].name = "PROVIDER_NAME";
    renamed.columns[1].name = "PROVIDER_ID";
    ds.openWith(renamed);
    ASSERT_NE(name.link.field(), nullptr);
    EXPECT_EQ(name.link.field()->index(), 0);
    EXPECT_EQ(name.link.field()->asString(), "F1");

    Dataset other("CDS_Other");
    other.openWith(providers());
    source.setDataSet(&other);
    EXPECT_EQ(name.link.field(), &other.fieldByName("PROVIDER_NAME"));

    // A change of a field's value reaches the links of that field, after any of these.
    name.take();
    other.fieldByName("PROVIDER_NAME").setAsString("x");
    other.fieldByName("PROVIDER_ID").setAsString("y");
    EXPECT_EQ(name.take(), (Log{"editing", "data x"}));
    name.link.setFieldName("PROVIDER_ID");
    name.take();
    other.fieldByName("PROVIDER_NAME").setAsString("z");
    other.fieldByName("PROVIDER_ID").setAsString("w");
    EXPECT_EQ(name.take(), (Log{"data w"}));
}

// A control holding typed text it stores when asked, or refuses.
struct TypingControl : LinkedControl {
    TypingControl(DataSource& source, const char* fieldName) : LinkedControl(source, fieldName) {
        link.onUpdateData = [this] {
            ++asked;
            if (pending.empty()) return;
            if (pending == "refused") throw std::runtime_error("refused");
            link.field()->setAsString(std::exchange(pending, {}));
        };
    }
    std::string pending;
    int asked = 0;
};

TEST(FieldLink, TypedTextIsStoredBeforeThePostAndBeforeTheRowIsLeft) {
    Dataset ds("CDS_Fac");
    DataSource source("DS_Fac", &ds);
    TypingControl name(source, "PROVIDER_NAME");
    ds.openWith(providers());
    ds.updateRecord();  // nothing being edited: nobody asked
    EXPECT_EQ(name.asked, 0);

    // Typing starts the edit; the text stays in the control until the move asks for it.
    ds.edit();
    name.pending = "typed";
    ds.next();
    ds.first();
    EXPECT_EQ(ds.fieldByName("PROVIDER_NAME").asString(), "typed");
    EXPECT_EQ(ds.state(), DataSetState::Browse);

    ds.edit();
    name.pending = "refused";
    EXPECT_THROW(ds.post(), std::runtime_error);
    EXPECT_EQ(ds.state(), DataSetState::Edit);
    EXPECT_THROW(ds.next(), std::runtime_error);
    EXPECT_EQ(ds.recNo(), 1);

    // While display updates are suspended the controls are not asked.
    name.pending.clear();
    const int asked = name.asked;
    ds.disableControls();
    ds.post();
    ds.enableControls();
    EXPECT_EQ(name.asked, asked);
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
