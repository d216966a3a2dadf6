#include "storedb/query.h"

#include <algorithm>

#include "dataset/value_text.h"

#include "storedb/driver_errors.h"
#include "text/ascii.h"
#include "text/errors.h"

namespace qor::storedb {

SqlQuery::SqlQuery(std::string name, SqlConnection& connection)
    : name_(std::move(name)), connection_(connection) {}

SqlQuery::~SqlQuery() = default;

void SqlQuery::clearSql() {
    close();
    sql_.clear();
    paramsStale_ = true;
}

void SqlQuery::addLine(std::string_view line) {
    close();
    sql_.append(line);
    sql_.append("\r\n");
    paramsStale_ = true;
}

void SqlQuery::setSql(std::string_view text) {
    close();
    sql_.assign(text);
    paramsStale_ = true;
}

ParamSet& SqlQuery::params() {
    if (paramsStale_) {
        paramsStale_ = false;
        // A workflow that gives the same few texts row after row (an import) has each read
        // once; the parameters start unset all the same.
        auto same = std::find_if(derived_.begin(), derived_.end(),
                                 [this](const auto& d) { return d->sql == sql_; });
        if (same != derived_.end()) {
            std::rotate(derived_.begin(), same, same + 1);
            ParamSet& params = derived_.front()->params;
            for (int i = 0; i < params.count(); ++i) params.at(i).clear();
            return params;
        }
        if (derived_.size() >= kDerivedTexts) derived_.pop_back();
        derived_.insert(derived_.begin(), std::make_unique<Derived>());
        derived_.front()->sql = sql_;
        derived_.front()->params.derive(sql_);
    }
    if (derived_.empty()) derived_.push_back(std::make_unique<Derived>());
    return derived_.front()->params;
}

std::vector<ds::ColumnDef> SqlQuery::describeParams() {
    if (text::trimBlanks(sql_).empty()) throw Error(name_ + ": No SQL statement available");
    const std::string& sql = params().positionalSql();
    return connection_.runHarmless(
        [&](dbx::Connection& attachment) { return attachment.describeParameters(sql); });
}

void SqlQuery::open() {
    close();
    if (text::trimBlanks(sql_).empty()) throw Error(name_ + ": No SQL statement available");
    ParamSet& set = params();
    std::vector<ds::Value> values = set.values();
    // The statement and its first row are one read: the client may send the statement only
    // with the first fetch.
    connection_.runHarmless([&](dbx::Connection& attachment) {
        cursor_ = attachment.query(set.positionalSql(), values);
        readRow();
    });
    ++openCount_;
    empty_ = !hasRow_;
}

void SqlQuery::close() {
    cursor_.reset();
    current_.clear();
    hasRow_ = false;
    empty_ = true;
}

bool SqlQuery::active() const { return cursor_ != nullptr; }

void SqlQuery::checkActive() const {
    if (!cursor_) throw Error(name_ + ": Cannot perform this operation on a closed dataset");
}

bool SqlQuery::isEmpty() const {
    checkActive();
    return empty_;
}

bool SqlQuery::eof() const {
    checkActive();
    return !hasRow_;
}

void SqlQuery::readRow() {
    current_.clear();
    hasRow_ = driverCall([&] { return cursor_->fetch(current_); });
    if (!hasRow_) current_.clear();
}

void SqlQuery::next() {
    checkActive();
    if (hasRow_) readRow();
}

const std::vector<ds::ColumnDef>& SqlQuery::columns() const {
    checkActive();
    return cursor_->columns();
}

int SqlQuery::columnIndex(std::string_view column) const {
    const auto& cols = columns();
    for (std::size_t i = 0; i < cols.size(); ++i)
        if (text::equalsNoCase(cols[i].name, column)) return static_cast<int>(i);
    throw Error(name_ + ": " + format("Field '%s' not found", column));
}

ds::Value SqlQuery::fieldValue(std::string_view column) const {
    int index = columnIndex(column);
    if (!hasRow_ || index >= static_cast<int>(current_.size())) return {};
    return current_[static_cast<std::size_t>(index)];
}

std::string SqlQuery::fieldText(std::string_view column) const {
    return ds::valueToText(fieldValue(column));
}

bool SqlQuery::fetchRows(int maxRows, std::vector<ds::Row>& rows) {
    checkActive();
    int taken = 0;
    while (hasRow_ && (maxRows < 0 || taken < maxRows)) {
        rows.push_back(std::move(current_));
        ++taken;
        readRow();
    }
    return taken > 0;
}

ds::Table SqlQuery::openTable() {
    open();
    ds::Table table;
    table.columns = columns();
    table.lcid = connection_.localeCode();
    fetchRows(-1, table.rows);
    close();
    return table;
}

std::int64_t SqlQuery::execSql() {
    close();
    if (text::trimBlanks(sql_).empty()) throw Error(name_ + ": No SQL statement available");
    ParamSet& set = params();
    std::vector<ds::Value> values = set.values();
    dbx::Connection& attachment = connection_.attachment();
    return driverCall([&] { return attachment.execute(set.positionalSql(), values); });
}

}  // namespace qor::storedb
