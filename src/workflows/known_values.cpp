#include "workflows/known_values.h"

#include <variant>

#include "dataset/value_text.h"

namespace qor::workflows {

namespace {

// Markers in one statement of the asking: few enough for the database's list, many enough
// that a download of thousands asks in tens of statements. Unused markers are bound null.
constexpr std::size_t kBatch = 200;
// Rows taken from the database at a time while a table is read whole.
constexpr int kRowsAtATime = 4096;

std::string inList(std::size_t markers) {
    std::string list = " IN (";
    for (std::size_t i = 0; i < markers; ++i)
        list += (i ? ",:V" : ":V") + std::to_string(i);
    return list + ")";
}

// Hands every row of `select`, at most `limit` + 1 of them, to `take`; true when there were
// no more than `limit`. The rows come a few thousand at a time.
template <typename Take>
bool readUpTo(storedb::SqlQuery& query, const std::string& select, std::size_t limit, Take take,
              const BetweenBatches& between) {
    query.close();
    query.setSql(select + " ROWS " + std::to_string(limit + 1));
    // A stop between batches leaves the query closed, as the reading's end does.
    struct ClosedAtEnd {
        storedb::SqlQuery& query;
        ~ClosedAtEnd() {
            try {
                query.close();
            } catch (...) {
                // a cursor that cannot close is closed with its connection
            }
        }
    } closedAtEnd{query};
    query.open();
    std::size_t count = 0;
    std::vector<ds::Row> rows;
    while (query.fetchRows(kRowsAtATime, rows)) {
        count += rows.size();
        if (count > limit) break;
        for (const ds::Row& row : rows) take(row);
        rows.clear();
        if (between) between();
    }
    return count <= limit;
}

}  // namespace

std::string_view KnownValues::key(std::string_view value) {
    const std::size_t last = value.find_last_not_of(' ');
    return last == std::string_view::npos ? std::string_view() : value.substr(0, last + 1);
}

void KnownValues::keep(const ds::Value& value) {
    // A text is kept as it came, without a copy first: this runs for every key of the store.
    if (const auto* text = std::get_if<std::string>(&value)) held_.insert(key(*text));
    else if (!ds::isNull(value)) held_.insert(key(ds::valueToText(value)));
}

bool KnownValues::readWhole(storedb::SqlQuery& query, const std::string& select,
                            std::size_t limit, const BetweenBatches& between) {
    const bool whole = readUpTo(query, select, limit, [this](const ds::Row& row) {
        if (row.size() < 2) {
            keep(row.at(0));
        } else if (std::string code = ds::valueToText(row[0]); !code.empty()) {
            names_.try_emplace(std::string(key(code)), ds::valueToText(row[1]));
        }
    }, between);
    if (!whole) {
        held_.clear();
        names_.clear();
    }
    whole_ = whole;
    return whole;
}

bool KnownValues::readWhole(storedb::SqlQuery& query, const std::string& select,
                            std::size_t limit, const std::vector<KnownValues*>& into,
                            const BetweenBatches& between) {
    const bool whole = readUpTo(query, select, limit, [&into](const ds::Row& row) {
        for (std::size_t c = 0; c < into.size(); ++c) into[c]->keep(row.at(c));
    }, between);
    for (KnownValues* column : into) {
        if (!whole) column->held_.clear();
        column->whole_ = whole;
    }
    return whole;
}

void KnownValues::ask(storedb::SqlQuery& query, const std::string& select,
                      const std::string& column, const std::vector<std::string>& values,
                      const BetweenBatches& between) {
    std::vector<std::string_view> fresh;
    for (const std::string& value : values) {
        const std::string_view k = key(value);
        if (asked_.insert(k)) fresh.push_back(k);
    }
    if (fresh.empty()) return;
    query.close();
    query.setSql(select + " WHERE " + column + inList(kBatch));
    const std::vector<ds::ColumnDef> markers = query.describeParams();
    const int size = markers.empty() ? 0 : markers.front().size;
    for (std::size_t from = 0; from < fresh.size(); from += kBatch) {
        storedb::ParamSet& params = query.params();
        for (std::size_t i = 0; i < kBatch; ++i) {
            storedb::Param& marker = params.at(int(i));
            const std::size_t at = from + i;
            if (at < fresh.size() && (size <= 0 || fresh[at].size() <= std::size_t(size)))
                marker.setAsString(std::string(fresh[at]));
            else
                marker.setNull(ds::FieldKind::String);
        }
        for (query.open(); !query.eof(); query.next())
            keep(query.fieldValue(query.columns().front().name));
        query.close();
        if (between) between();
    }
}

std::optional<bool> KnownValues::holds(std::string_view value) const {
    const std::string_view k = key(value);
    if (held_.contains(k) || (!names_.empty() && names_.contains(std::string(k)))) return true;
    if (whole_ || asked_.contains(k)) return false;
    return std::nullopt;
}

const std::string* KnownValues::with(std::string_view value) const {
    const auto found = names_.find(std::string(key(value)));
    return found == names_.end() ? nullptr : &found->second;
}

}  // namespace qor::workflows
