#pragma once
// A statement on one connection (SQLQuery1, SQLQuery2, SQL_M, SQL_S and the provider chains'
// queries). The statement is a list of lines, joined with CR LF after every line. Setting the
// text derives the parameters from its ":NAME" markers.
//
// Read look-up: close(), clearSql(), addLine()..., open(), isEmpty(), fieldText("COL").
// The result stays open until the next close().
// Write: close(), clearSql(), addLine()..., paramByName("X").setAsString(...), execSql().
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "dataset/value.h"
#include "storedb/connection.h"
#include "storedb/params.h"

namespace qor::storedb {

class SqlQuery {
public:
    SqlQuery(std::string name, SqlConnection& connection);
    ~SqlQuery();
    SqlQuery(const SqlQuery&) = delete;
    SqlQuery& operator=(const SqlQuery&) = delete;

    const std::string& name() const { return name_; }
    SqlConnection& connection() { return connection_; }

    // ---- statement
    void clearSql();
    void addLine(std::string_view line);
    // Replaces the lines with one text taken as it is (no CR LF added).
    void setSql(std::string_view text);
    // The lines, each followed by CR LF.
    const std::string& sql() const { return sql_; }
    ParamSet& params();
    // Fails with "Parameter '<name>' not found".
    Param& paramByName(std::string_view name) { return params().byName(name); }
    // The markers as the database describes them, in order (kind; byte size of a text
    // marker). Connects first; the statement is prepared as open() would prepare it.
    std::vector<ds::ColumnDef> describeParams();

    // ---- read
    // Runs the statement, a read (connecting first), and stands on its first row. Outside a
    // transaction, a read that finds the attachment gone runs again on a new one.
    void open();
    // How many times open() has run a statement: the look-ups a workflow made.
    std::uint64_t openCount() const { return openCount_; }
    void close();
    bool active() const;
    bool isEmpty() const;           // no row at all
    bool eof() const;               // past the last row
    void next();                    // the next row
    const std::vector<ds::ColumnDef>& columns() const;
    // A column of the current row: the empty text / a null when there is no current row.
    // A name the result lacks fails with "<query>: Field '<name>' not found".
    std::string fieldText(std::string_view column) const;
    ds::Value fieldValue(std::string_view column) const;
    // Reads up to `maxRows` further rows (all when < 0) into `rows`, starting with the
    // current one; false when nothing was left.
    bool fetchRows(int maxRows, std::vector<ds::Row>& rows);

    // Runs the statement and returns its columns and every row; the query is closed after.
    ds::Table openTable();

    // ---- write
    // Runs the statement with the parameters bound in marker order; the rows affected.
    std::int64_t execSql();

private:
    void checkActive() const;
    int columnIndex(std::string_view column) const;
    void readRow();

    std::string name_;
    SqlConnection& connection_;
    std::string sql_;
    // The parameters of the last few texts, the current text's first; each kept where it
    // was made, so a reference to the current set stays good until the text changes.
    struct Derived {
        std::string sql;
        ParamSet params;
    };
    static constexpr std::size_t kDerivedTexts = 4;
    std::vector<std::unique_ptr<Derived>> derived_;
    bool paramsStale_ = false;  // derived again when next needed, not at every added line
    std::unique_ptr<dbx::Cursor> cursor_;
    ds::Row current_;
    bool hasRow_ = false;
    bool empty_ = true;
    std::uint64_t openCount_ = 0;
};

}  // namespace qor::storedb
