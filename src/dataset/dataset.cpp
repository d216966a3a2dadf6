#include "dataset/dataset.h"
#include "dataset/row_release.h"

#include <algorithm>
#include <atomic>

#include "dataset/dataset_impl.h"
#include "dataset/datasource.h"
#include "text/ascii.h"
#include "text/cp950.h"
#include "text/errors.h"

namespace qor::ds {

namespace {

// Upper-cased name -> position, the first of equal names winning.
std::unordered_map<std::string, int> indexOfNames(const std::vector<Field*>& fields) {
    std::unordered_map<std::string, int> index;
    for (std::size_t i = 0; i < fields.size(); ++i)
        index.emplace(text::upperAscii(fields[i]->fieldName()), int(i));
    return index;
}

// Field-list versions are unique across all datasets, so a link that moves to another
// dataset never mistakes its list for the one it knew.
std::uint64_t nextFieldsVersion() {
    static std::atomic<std::uint64_t> last{0};
    return ++last;
}

ColumnDef columnOf(const FieldDef& def) {
    return ColumnDef{def.name, def.kind, def.kind == FieldKind::String ? def.size : 0,
                     def.decimals, def.required, def.readOnly};
}

}  // namespace

// ---------------------------------------------------------------- helpers

Dataset::Impl::Impl(Dataset& owner, std::string datasetName)
    : self(owner), name(std::move(datasetName)), fieldsVersion(nextFieldsVersion()) {}

void Dataset::Impl::fail(std::string_view message) const {
    if (name.empty()) throw Error(std::string(message));
    throw Error(name + ": " + std::string(message));
}

void Dataset::Impl::checkActive() const {
    if (state == DataSetState::Inactive)
        fail("Cannot perform this operation on a closed dataset");
}

void Dataset::Impl::checkInactive() const {
    if (state != DataSetState::Inactive)
        fail("Cannot perform this operation on an open dataset");
}

Field* Dataset::Impl::findField(std::string_view fieldName) const {
    const auto found = nameIndex.find(text::upperAscii(fieldName));
    return found == nameIndex.end() ? nullptr : fields[std::size_t(found->second)];
}

void Dataset::Impl::rebuildNameIndex() {
    fieldsVersion = nextFieldsVersion();
    nameIndex = indexOfNames(fields);
}

Row* Dataset::Impl::currentRow() {
    if (state == DataSetState::Inactive || cur < 0 || cur >= int(view.size())) return nullptr;
    return &rows[std::size_t(view[std::size_t(cur)])];
}

const Value* Dataset::Impl::cell(int fieldIndex) const {
    if (state == DataSetState::Inactive || cur < 0 || cur >= int(view.size())) return nullptr;
    if (fieldIndex < 0 || fieldIndex >= int(fieldColumn.size())) return nullptr;
    const Row& row = rows[std::size_t(view[std::size_t(cur)])];
    const auto column = std::size_t(fieldColumn[std::size_t(fieldIndex)]);
    return column < row.size() ? &row[column] : nullptr;
}

void Dataset::Impl::notify(DataEvent event, Field* field) {
    if (disableCount > 0) return;
    // A copy: an observer may detach itself while it is told. It is made on the stack: this
    // runs at every assignment of every field.
    constexpr std::size_t kOnStack = 8;
    DatasetObserver* onStack[kOnStack];
    std::vector<DatasetObserver*> onHeap(observers.size() > kOnStack ? observers.size() : 0);
    DatasetObserver** targets = observers.size() > kOnStack ? onHeap.data() : onStack;
    DatasetObserver** end = std::copy(observers.begin(), observers.end(), targets);
    for (DatasetObserver** o = targets; o != end; ++o) (*o)->datasetEvent(event, field);
}

void Dataset::Impl::setState(DataSetState next) {
    if (state == next) return;
    state = next;
    notify(DataEvent::StateChanged);
}

void Dataset::Impl::fireAfterScroll() {
    if (self.afterScroll) self.afterScroll(self);
}

// Rows from the feed: each as wide as the columns, over-long texts cut to their field.
void Dataset::Impl::takeRows(std::vector<Row>& incoming) {
    const std::size_t width = columns.size();
    rows.reserve(rows.size() + incoming.size());
    view.reserve(view.size() + incoming.size());
    for (Row& row : incoming) {
        if (row.size() != width) row.resize(width);
        for (const auto& [column, size] : cutColumns) {
            auto* s = std::get_if<std::string>(&row[std::size_t(column)]);
            if (s && int(s->size()) > size) *s = text::cutToBytes(*s, std::size_t(size));
        }
        view.push_back(int(rows.size()));
        rows.push_back(std::move(row));
    }
    incoming.clear();
}

// Binds the fields to the table's columns and opens on its rows. On failure the dataset
// stays inactive and keeps nothing of the table.
void Dataset::Impl::openTable(Table table, bool more) {
    FieldBinding binding =
        declared.empty() ? makeColumnFields(table.columns) : bindDeclaredFields(table.columns);
    std::vector<SortKey> keys = orderFor(binding);

    keepBinding(binding, std::move(table.columns));
    keepRows(table.rows);
    moreRows = more;
    sortKeys = std::move(keys);
    if (!sortKeys.empty()) {
        fetchAll();
        std::sort(view.begin(), view.end(), [this](int a, int b) { return rowLess(a, b); });
    }
    startBrowsing();
}

// The declared fields, each on the column of its name and kind.
Dataset::Impl::FieldBinding Dataset::Impl::bindDeclaredFields(
    const std::vector<ColumnDef>& columns) {
    auto columnIndex = [&](const std::string& fieldName) {
        for (std::size_t c = 0; c < columns.size(); ++c)
            if (text::equalsNoCase(columns[c].name, fieldName)) return int(c);
        return -1;
    };
    FieldBinding binding;
    for (const auto& f : declared) {
        const int c = columnIndex(f->fieldName());
        if (c < 0) fail(format("Field '%s' not found", f->displayLabel()));
        const ColumnDef& col = columns[std::size_t(c)];
        if (col.kind != f->kind())
            fail(format("Type mismatch for field '%s', expecting: %s actual: %s",
                        f->displayLabel(), kindName(f->kind()), kindName(col.kind)));
        binding.fields.push_back(f.get());
        binding.fieldColumn.push_back(c);
    }
    for (std::size_t i = 0; i < declared.size(); ++i) {
        Field& f = *declared[i];
        const ColumnDef& col = columns[std::size_t(binding.fieldColumn[i])];
        if (f.kind() != FieldKind::String) continue;
        // A narrower column lowers the field for good; texts longer than the field (from a
        // wider column) are cut as they come in.
        if (col.size > 0 && col.size < f.size()) f.setSize(col.size);
        binding.cutColumns.emplace_back(binding.fieldColumn[i], f.size());
    }
    binding.nameIndex = indexOfNames(binding.fields);
    return binding;
}

// A field per column; two columns of one name give the later ones "_1", "_2", ...
Dataset::Impl::FieldBinding Dataset::Impl::makeColumnFields(const std::vector<ColumnDef>& columns) {
    FieldBinding binding;
    for (std::size_t c = 0; c < columns.size(); ++c) {
        const ColumnDef& col = columns[c];
        FieldDef def;
        def.name = col.name;
        for (int n = 1; std::any_of(binding.made.begin(), binding.made.end(), [&](const auto& f) {
                 return text::equalsNoCase(f->fieldName(), def.name);
             }); ++n)
            def.name = col.name + "_" + std::to_string(n);
        def.kind = col.kind;
        def.size = col.kind == FieldKind::String ? (col.size > 0 ? col.size : 20) : 0;
        def.required = col.required;
        def.readOnly = col.readOnly;
        def.decimals = col.decimals;
        binding.made.push_back(std::make_unique<Field>(self, std::move(def), int(c)));
        binding.fields.push_back(binding.made.back().get());
        binding.fieldColumn.push_back(int(c));
    }
    binding.nameIndex = indexOfNames(binding.fields);
    return binding;
}

// The order in force, resolved against the new fields before anything is kept.
std::vector<Dataset::Impl::SortKey> Dataset::Impl::orderFor(FieldBinding& binding) {
    if (!orderSet()) return {};
    // The order is resolved against the dataset's own fields: lend it the new ones for that,
    // and take them back however it ends (the swaps cannot fail).
    struct Lend {
        Impl& d;
        FieldBinding& b;
        void swap() noexcept {
            std::swap(d.fields, b.fields);
            std::swap(d.fieldColumn, b.fieldColumn);
            std::swap(d.nameIndex, b.nameIndex);
        }
        ~Lend() { swap(); }
    } lend{*this, binding};
    lend.swap();
    return resolveOrder(indexFieldNames, indexName);
}

void Dataset::Impl::keepBinding(FieldBinding& binding, std::vector<ColumnDef> tableColumns) {
    fields = std::move(binding.fields);
    fieldColumn = std::move(binding.fieldColumn);
    nameIndex = std::move(binding.nameIndex);
    dynamic = std::move(binding.made);
    cutColumns = std::move(binding.cutColumns);
    columns = std::move(tableColumns);
}

void Dataset::Impl::keepRows(std::vector<Row>& tableRows) {
    rows.clear();
    view.clear();
    const bool asTheyAre = cutColumns.empty() && !tableRows.empty() &&
                           std::all_of(tableRows.begin(), tableRows.end(),
                                       [&](const Row& r) { return r.size() == columns.size(); });
    if (!asTheyAre) {
        takeRows(tableRows);
        return;
    }
    rows = std::move(tableRows);  // the common case: the rows move in as they are
    view.resize(rows.size());
    for (std::size_t i = 0; i < view.size(); ++i) view[i] = int(i);
}

// First row current, nothing edited; then the state change, the open and the first scroll.
void Dataset::Impl::startBrowsing() {
    cur = view.empty() ? -1 : 0;
    atBof = true;
    atEof = view.empty();
    modified = false;
    editBackup.clear();
    rowBeforeAppend = -1;

    setState(DataSetState::Browse);
    notify(DataEvent::ActiveChanged);
    if (self.afterOpen) self.afterOpen(self);
    if (!view.empty()) fireAfterScroll();
}

// ---------------------------------------------------------------- Dataset

Dataset::Dataset(std::string name) : d_(std::make_unique<Impl>(*this, std::move(name))) {}

Dataset::~Dataset() {
    // Data sources still pointing here let go, so they never reach a dead dataset.
    const auto targets = d_->observers;
    for (DatasetObserver* o : targets)
        if (auto* source = dynamic_cast<DataSource*>(o)) source->setDataSet(nullptr);
}

const std::string& Dataset::name() const { return d_->name; }

Field& Dataset::declareField(const FieldDef& def) {
    d_->checkInactive();
    if (!d_->dynamic.empty()) d_->fail("Cannot perform this operation on an open dataset");
    FieldDef made = def;
    if (made.kind == FieldKind::String && made.size <= 0) made.size = 20;
    if (made.kind != FieldKind::String) made.size = 0;
    const int index = int(d_->declared.size());
    d_->declared.push_back(std::make_unique<Field>(*this, std::move(made), index));
    Field* f = d_->declared.back().get();
    d_->fields.push_back(f);
    d_->fieldColumn.push_back(index);
    d_->nameIndex.emplace(text::upperAscii(f->fieldName()), index);
    d_->fieldsVersion = nextFieldsVersion();
    return *f;
}

bool Dataset::hasDeclaredFields() const { return !d_->declared.empty(); }

int Dataset::fieldCount() const { return int(d_->fields.size()); }

Field& Dataset::field(int index) {
    if (index < 0 || index >= int(d_->fields.size()))
        throw Error("List index out of bounds (" + std::to_string(index) + ")");
    return *d_->fields[std::size_t(index)];
}

Field* Dataset::findField(std::string_view name) { return d_->findField(name); }

std::uint64_t Dataset::fieldsVersion() const { return d_->fieldsVersion; }

Field& Dataset::fieldByName(std::string_view name) {
    if (Field* f = d_->findField(name)) return *f;
    d_->fail(format("Field '%s' not found", name));
}

DataSetState Dataset::state() const { return d_->state; }
bool Dataset::active() const { return d_->state != DataSetState::Inactive; }
void Dataset::setProvider(DataProvider* provider) { d_->provider = provider; }
DataProvider* Dataset::provider() const { return d_->provider; }
void Dataset::setCommandText(std::string text) { d_->commandText = std::move(text); }
const std::string& Dataset::commandText() const { return d_->commandText; }
void Dataset::setPacketRecords(int rows) { d_->packetRecords = rows; }

void Dataset::open() {
    if (active()) return;
    if (!d_->provider) {
        if (d_->declared.empty()) d_->fail("Missing data provider or data packet");
        Table empty;
        for (const auto& f : d_->declared) empty.columns.push_back(columnOf(f->def()));
        d_->openTable(std::move(empty), false);
        return;
    }
    // With an order in force every row is needed at once.
    const int packet = d_->packetRecords > 0 && !d_->orderSet() ? d_->packetRecords : -1;
    Table result = d_->provider->openResult(d_->commandText, packet);
    const bool more = packet > 0 && int(result.rows.size()) >= packet;
    d_->openTable(std::move(result), more);
}

void Dataset::openWith(Table table) {
    close();
    d_->openTable(std::move(table), false);
}

void Dataset::close() {
    Impl& d = *d_;
    if (d.state == DataSetState::Inactive) return;
    releaseRows(d.rows);
    d.view.clear();
    d.cur = -1;
    d.atBof = d.atEof = true;
    d.modified = false;
    d.editBackup.clear();
    d.rowBeforeAppend = -1;
    d.moreRows = false;
    d.cutColumns.clear();
    d.setState(DataSetState::Inactive);
    d.notify(DataEvent::ActiveChanged);
    // Fields made from the columns go with the rows; declared ones stay.
    if (!d.dynamic.empty()) clearFields();
}

void Dataset::clearFields() {
    Impl& d = *d_;
    d.checkInactive();
    if (d.dynamic.empty()) return;
    d.fields.clear();
    d.fieldColumn.clear();
    for (std::size_t i = 0; i < d.declared.size(); ++i) {
        d.fields.push_back(d.declared[i].get());
        d.fieldColumn.push_back(int(i));
    }
    d.rebuildNameIndex();
    d.dynamic.clear();
    d.columns.clear();
}

// ---------------------------------------------------------------- display updates

void Dataset::disableControls() {
    if (d_->disableCount++ == 0) d_->stateWhenDisabled = d_->state;
}

void Dataset::enableControls() {
    Impl& d = *d_;
    if (d.disableCount == 0) return;
    if (--d.disableCount > 0) return;
    const DataSetState before = d.stateWhenDisabled;
    if (before != d.state) d.notify(DataEvent::StateChanged);
    if ((before == DataSetState::Inactive) != (d.state == DataSetState::Inactive))
        d.notify(DataEvent::ActiveChanged);
    if (d.state != DataSetState::Inactive) d.notify(DataEvent::DataSetChanged);
}

bool Dataset::controlsDisabled() const { return d_->disableCount > 0; }

void Dataset::addObserver(DatasetObserver* observer) {
    auto& list = d_->observers;
    if (std::find(list.begin(), list.end(), observer) == list.end()) list.push_back(observer);
}

void Dataset::removeObserver(DatasetObserver* observer) {
    auto& list = d_->observers;
    list.erase(std::remove(list.begin(), list.end(), observer), list.end());
}

// ---------------------------------------------------------------- export

Table Dataset::toTable() {
    Impl& d = *d_;
    d.checkActive();
    d.fetchAll();
    Table t;
    for (Field* f : d.fields) t.columns.push_back(columnOf(f->def()));
    // Posted data only: an edit in progress shows as it was, an unposted append not at all.
    const int editing = d.state == DataSetState::Edit && d.cur >= 0 ? d.view[std::size_t(d.cur)] : -1;
    const int appended = d.state == DataSetState::Insert && d.cur >= 0 ? d.view[std::size_t(d.cur)] : -1;
    t.rows.reserve(d.view.size());
    for (int index : d.view) {
        if (index == appended) continue;
        const Row& source = index == editing ? d.editBackup : d.rows[std::size_t(index)];
        Row out;
        out.reserve(d.fields.size());
        for (int column : d.fieldColumn)
            out.push_back(std::size_t(column) < source.size() ? source[std::size_t(column)] : Value{});
        t.rows.push_back(std::move(out));
    }
    return t;
}

}  // namespace qor::ds
