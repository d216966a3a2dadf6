#pragma once
// The inside of a Dataset, shared by the engine's source files (not for other modules).
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "dataset/dataset.h"

namespace qor::ds {

struct Dataset::Impl {
    Impl(Dataset& owner, std::string datasetName);

    Dataset& self;
    std::string name;

    // ---- fields
    std::vector<std::unique_ptr<Field>> declared;  // made once, kept for the run
    std::vector<std::unique_ptr<Field>> dynamic;   // one per column, while open
    std::vector<Field*> fields;                    // the dataset's fields, in order
    std::vector<int> fieldColumn;                  // per field: its column in the rows
    std::unordered_map<std::string, int> nameIndex;  // upper-cased name -> field position
    std::uint64_t fieldsVersion;                     // see Dataset::fieldsVersion

    // ---- rows. `rows` keeps arrival order; `view` is the current order.
    std::vector<ColumnDef> columns;
    std::vector<Row> rows;
    std::vector<int> view;  // position -> index into rows
    int cur = -1;           // position of the current row in view; -1: none
    bool atEof = true;
    bool atBof = true;
    DataSetState state = DataSetState::Inactive;
    bool modified = false;       // a value was stored since the edit or append began
    Row editBackup;              // the row as it was when the edit began
    int rowBeforeAppend = -1;    // index into rows of the row current before an append
    std::vector<std::pair<int, int>> cutColumns;  // (column, size): texts wider than their field

    // ---- provider feed
    DataProvider* provider = nullptr;
    std::string commandText;
    int packetRecords = -1;
    bool moreRows = false;

    // ---- orders
    struct IndexDef {
        std::string name, fields, descFields;
    };
    struct SortKey {
        int column;
        bool descending;
    };
    std::string indexFieldNames;
    std::string indexName;
    std::vector<IndexDef> indexes;
    std::vector<SortKey> sortKeys;  // the order in force; empty: arrival order

    // ---- display updates and events
    int disableCount = 0;
    DataSetState stateWhenDisabled = DataSetState::Inactive;
    std::vector<DatasetObserver*> observers;

    // ---- opening on a table (dataset.cpp): the fields bound to its columns are worked out
    // aside and kept only once nothing can fail any more.
    struct FieldBinding {
        std::vector<Field*> fields;
        std::vector<int> fieldColumn;
        std::unordered_map<std::string, int> nameIndex;
        std::vector<std::unique_ptr<Field>> made;     // fields made from the columns
        std::vector<std::pair<int, int>> cutColumns;  // (column, size) as in cutColumns
    };
    FieldBinding bindDeclaredFields(const std::vector<ColumnDef>& columns);
    FieldBinding makeColumnFields(const std::vector<ColumnDef>& columns);
    std::vector<SortKey> orderFor(FieldBinding& binding);
    void keepBinding(FieldBinding& binding, std::vector<ColumnDef> tableColumns);
    void keepRows(std::vector<Row>& tableRows);
    void startBrowsing();

    // ---- helpers (dataset.cpp)
    [[noreturn]] void fail(std::string_view message) const;  // prefixed with the name
    void checkActive() const;
    void checkInactive() const;
    Field* findField(std::string_view fieldName) const;
    void rebuildNameIndex();  // also a new fieldsVersion
    Row* currentRow();
    const Value* cell(int fieldIndex) const;
    void notify(DataEvent event, Field* field = nullptr);
    void setState(DataSetState next);
    void fireAfterScroll();
    void openTable(Table table, bool more);
    void takeRows(std::vector<Row>& incoming);

    // ---- rows (navigation.cpp)
    // Stores typed text, then posts a changed row or drops an unchanged one's edit.
    void checkBrowseMode();
    bool fetchPacket();      // false when no further rows came
    void fetchAll();

    // ---- row access (row_access.cpp)
    const Value* cellAt(int row, const Field& field) const;  // nullptr: no such row or field

    // ---- orders (order.cpp)
    bool orderSet() const { return !indexFieldNames.empty() || !indexName.empty(); }
    std::vector<SortKey> resolveOrder(const std::string& fieldNames,
                                      const std::string& indexName) const;
    bool rowLess(int a, int b) const;
    void applyOrder();           // re-sorts the view, the current row kept
    void placeCurrentRow();      // moves a posted row to its place in the order
    void changeOrder(const std::string& fieldNames, const std::string& orderName);
};

}  // namespace qor::ds
