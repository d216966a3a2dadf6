#pragma once
// The in-memory dataset: named, typed fields over a list of rows, a current row and a state.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "dataset/field.h"
#include "dataset/value.h"

namespace qor::ds {

enum class DataSetState { Inactive, Browse, Edit, Insert };

struct LocateOptions {
    bool caseInsensitive = false;
    bool partialKey = false;
};

// Where a provider-fed dataset gets its rows (the store-database layer implements it).
class DataProvider {
public:
    virtual ~DataProvider() = default;
    // Runs the provider's statement, replaced by `commandText` when that is not empty, and
    // returns the result's columns and at most `maxRows` rows (all when maxRows < 0).
    virtual Table openResult(const std::string& commandText, int maxRows) = 0;
    // Appends at most `maxRows` further rows of the last result; false once none are left.
    // The dataset asks no more after a false or after fewer rows than it asked for.
    virtual bool fetchMore(int maxRows, std::vector<Row>& rows) = 0;
};

// What observers (data sources) are told.
enum class DataEvent {
    ActiveChanged,   // opened or closed
    StateChanged,    // inactive / browse / edit / insert
    DataSetChanged,  // rows replaced, re-sorted, row dropped: everything may differ
    Scrolled,        // another row is current
    RecordChanged,   // the current row's values changed (field given when it is one field)
    FocusControl,    // the control bound to the field should take the focus
    UpdateRecord,    // bound controls store the text typed into them and not yet stored
};

class DatasetObserver {
public:
    virtual ~DatasetObserver() = default;
    virtual void datasetEvent(DataEvent event, Field* field) = 0;
};

class Dataset {
public:
    explicit Dataset(std::string name);
    ~Dataset();
    Dataset(const Dataset&) = delete;
    Dataset& operator=(const Dataset&) = delete;

    const std::string& name() const;

    // ---- fields
    // Declared fields are made once, while inactive, and stay for the whole run. A dataset
    // with declared fields binds them by name when it opens; one without takes a field per
    // column of what it is opened with.
    Field& declareField(const FieldDef& def);
    bool hasDeclaredFields() const;
    int fieldCount() const;
    Field& field(int index);
    Field* findField(std::string_view name);  // without regard to case; nullptr when missing
    // Fails with "<dataset name>: Field '<name>' not found".
    Field& fieldByName(std::string_view name);
    // Changes whenever the list of fields changes (a field declared, fields made or dropped
    // with the columns); never the same for two lists, of this dataset or another. A link
    // that keeps a Field* keeps it while this stays.
    std::uint64_t fieldsVersion() const;

    // ---- opening and closing
    DataSetState state() const;
    bool active() const;
    void setProvider(DataProvider* provider);
    DataProvider* provider() const;
    void setCommandText(std::string text);
    const std::string& commandText() const;
    // Rows taken from the provider per fetch; further rows follow as the user moves past the
    // last one fetched. -1 (the default): all at once. With an order in force every row is
    // fetched when the dataset opens, so the order covers the whole result.
    void setPacketRecords(int rows);

    // Opens through the provider (command text passed on); with no provider, on the declared
    // fields and no rows. Binding rules for declared fields: a missing column fails with
    // "<name>: Field '<label>' not found"; a column of another kind with "<name>: Type mismatch
    // for field '<label>', expecting: <kind> actual: <kind>"; a narrower text column lowers
    // the field's size for the rest of the run; extra columns are held but not visible.
    // After a failure the dataset stays inactive.
    void open();
    // Opens on the given columns and rows, with the same binding rules.
    void openWith(Table table);
    // Drops the rows and any unposted edit, silently. Fields made from columns go with
    // them (after observers have been told); declared fields stay.
    void close();
    // Drops the fields that were not declared; the dataset must be closed.
    void clearFields();

    // ---- rows. Each fails on a closed dataset with
    // "<name>: Cannot perform this operation on a closed dataset".
    void append();  // new empty row after the last, current, in insert state
    void edit();    // browse -> edit of the current row; on an empty dataset, an append
    // Asks the bound controls to store into the row the text typed into them and not yet
    // stored (a control stores it when the user leaves it, and the window's buttons never
    // take the focus). For a caller about to read the row as shown; post() and every move
    // that leaves an edited row do it first. What a field refuses is raised, the row keeps
    // its state and the control its text. Does nothing unless the row is being edited or
    // appended, or while display updates are suspended (the controls may not show the
    // current row then).
    void updateRecord();
    // Stores typed text first (updateRecord). Required fields without a value fail with
    // "Field '<label>' must have a value"; the focus goes to that field's control and the
    // row keeps its state and values.
    void post();
    void cancel();  // drops unposted changes, or the appended row itself
    // Moving to another row stores typed text, then posts a changed row and drops an
    // unchanged appended one.
    void first();
    void next();
    void prior();
    void last();
    bool eof() const;
    bool bof() const;
    bool isEmpty() const;
    int recordCount() const;  // rows held (fetched) so far, a row being appended not counted
    int recNo() const;        // 1-based position of the current row; 0 when there is none

    // ---- row access, for grids: any row read without moving. Rows are numbered from 0 in
    // the current order; a row being appended counts, and the current row reads its unposted
    // values. A closed dataset has no rows and no current row; reading outside the rows, or
    // a field of another dataset, gives a null and the empty text.
    int rowCount() const;
    int currentRow() const;  // -1 when there is none
    Value valueAt(int row, const Field& field) const;
    std::string displayTextAt(int row, const Field& field) const;  // as Field::displayText()
    // Makes row `row` current in one move, with one afterScroll, by the rules of every move:
    // a changed row is posted first (when that fails nothing moves), an unchanged appended
    // one dropped. The row moved to is the one numbered `row` before posting, wherever the
    // order puts it after. Moving to the current row does nothing. Outside the rows fails
    // with "List index out of bounds (<row>)".
    void moveTo(int row);
    // Rows the provider has not given yet (packet records set, result not used up).
    bool canFetchMore() const;
    // Takes the next packet after the last row held; false when none came. The current row
    // and the order stay, and observers are not told: the caller (a grid scrolling down)
    // takes the new rows itself, others see them at the next change they hear of.
    bool fetchMore();

    // ---- orders. Letter case counts. The two kinds exclude each other: setting one clears
    // the other. Changing the order posts a pending edit first, re-sorts and keeps the
    // current row. A named order stays defined for the whole run, across close and open.
    void setIndexFieldNames(const std::string& fieldNames);  // ";" between names; "" none
    const std::string& indexFieldNames() const;
    void addIndex(const std::string& name, const std::string& fields,
                  const std::string& descFields);
    bool hasIndex(const std::string& name) const;
    void setIndexName(const std::string& name);  // "" none
    const std::string& indexName() const;

    // Moves to the first row, in the current order, whose field matches the whole text;
    // false (nothing moves) when none does. Posts a pending edit first. Unsupported field
    // kinds fail with "Field '<name>' is of an unsupported type". Text fields compare bytes
    // (partial key: the value begins with the text; case-insensitive: ASCII letters only,
    // never inside a double-byte character). Other kinds compare the text read as a value
    // of the kind, failing like "'abc' is not a valid floating point value" when it cannot
    // be read; there an empty text finds a row without a value.
    bool locate(std::string_view fieldName, std::string_view text, LocateOptions options);

    // ---- display updates, nestable; the last resume tells observers everything changed
    // (and the new state, when it differs from the one at the first disable). While
    // disabled, observers hear nothing; afterOpen, afterScroll and validation still run.
    void disableControls();
    void enableControls();
    bool controlsDisabled() const;

    // ---- events
    std::function<void(Dataset&)> afterOpen;    // after every open
    // After afterOpen when there are rows, after every move to another row, after first()
    // and last() always, and after append() (following its state change, before any value
    // is assigned). Not after post, cancel, or a next()/prior() that stays at the end.
    std::function<void(Dataset&)> afterScroll;

    void addObserver(DatasetObserver* observer);
    void removeObserver(DatasetObserver* observer);

    // The visible fields and every row (all fetched first), for writing a packet.
    Table toTable();

private:
    friend class Field;
    struct Impl;
    std::unique_ptr<Impl> d_;
};

}  // namespace qor::ds
