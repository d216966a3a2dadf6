#pragma once
// The boundary between the store-database layer and a database-access driver plugin
// (libdbxfb.so, dbxfb.dll on Windows, built from fbdriver/).
//
// The words of this layer: "dbx" is the database-access scheme the store's tools share, two
// INI files and a plugin. dbxconnections.ini holds named connection sections; both store
// connections use the one named "Tendro" (the store system's name), whose DriverName says
// which section of dbxdrivers.ini describes the driver. That section names three things: the
// driver library (LibraryName, our plugin), its entry function (GetDriverFunc), and the
// vendor library (VendorLib, the database's own client library, libfbclient.so.2, which the
// plugin loads itself). The driver is called "Interbase" and its entry
// getSQLDriverINTERBASE because Firebird is the open-source line of InterBase: same SQL,
// same client API, and the store's files keep the InterBase names.
//
// The layer loads the plugin named by LibraryName at run time and calls the entry function
// named by GetDriverFunc. Both sides are built together, so C++ types cross the boundary.
// Failures are thrown as std::runtime_error carrying the driver's own text; a failure the
// database reported is a DatabaseError, which carries the database's codes as well.
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "dataset/value.h"
#include "text/errors.h"

// A type thrown across the boundary keeps one identity on both sides.
#if defined(__GNUC__) && !defined(_WIN32)
#define QOR_DBX_SHARED __attribute__((visibility("default")))
#else
#define QOR_DBX_SHARED
#endif

namespace qor::dbx {

// A failure the database reported: its text as the client words it, and its codes.
class QOR_DBX_SHARED DatabaseError : public std::runtime_error {
public:
    DatabaseError(const std::string& text, const DatabaseCodes& codes)
        : std::runtime_error(text), codes_(codes) {}
    const DatabaseCodes& codes() const noexcept { return codes_; }

private:
    DatabaseCodes codes_;
};

// Rows of a read statement.
class Cursor {
public:
    virtual ~Cursor() = default;
    // Columns as the database reports them, in select-list order.
    virtual const std::vector<ds::ColumnDef>& columns() const = 0;
    // Reads the next row (one Value per column); false at the end.
    virtual bool fetch(ds::Row& row) = 0;
};

// The isolation a transaction takes when it names none: the connection's own.
inline constexpr int kConnectionIsolation = -1;

// One attachment.
class Connection {
public:
    virtual ~Connection() = default;
    // Options from the parameter list, handed over before connect, each only when its value is
    // not empty: "RoleName", "ServerCharSet", "SQLDialect", "Interbase TransIsolation",
    // "WaitOnLocks", "Trim Char", "CommitRetain", "BlobSize", "RowsetSize" and the others the
    // list may carry. Unknown keys are kept and ignored.
    virtual void setOption(const std::string& key, const std::string& value) = 0;
    // `database` is "server:path" or a path opened embedded.
    virtual void connect(const std::string& database, const std::string& user,
                         const std::string& password) = 0;
    virtual void disconnect() = 0;
    // False before connect, after disconnect, and once a failure has shown the attachment
    // gone (the server stopped, the network broke): the failure is raised as usual and the
    // attachment, with any transaction it held, is let go.
    virtual bool connected() const = 0;

    // A read statement; "?" markers take `params` in order. Outside an explicit transaction it
    // runs in the attachment's own read-only read-committed transaction.
    virtual std::unique_ptr<Cursor> query(const std::string& sql,
                                          const std::vector<ds::Value>& params) = 0;
    // A write statement with "?" markers; returns the rows affected. Outside an explicit
    // transaction it is committed on its own.
    virtual std::int64_t execute(const std::string& sql, const std::vector<ds::Value>& params) = 0;
    // The "?" markers of a statement as the database describes them, in order: the kind, and
    // for a text marker its byte size (that of the column it stands against). The statement
    // is prepared as for running it and kept for reuse.
    virtual std::vector<ds::ColumnDef> describeParameters(const std::string& sql) = 0;

    // isolation: 0 read committed, 1 repeatable read, 2 dirty read; kConnectionIsolation the
    // connection's own ("Interbase TransIsolation"). Lock waits follow "WaitOnLocks".
    virtual void startTransaction(int isolation) = 0;
    virtual void commit() = 0;
    virtual void rollback() = 0;
    virtual bool inTransaction() const = 0;
};

class Driver {
public:
    virtual ~Driver() = default;
    virtual std::unique_ptr<Connection> createConnection() = 0;
};

// The entry function's type. Loads the client library `vendorLib` (dlopen, LoadLibrary); on
// failure returns nullptr with *error set to "Unable to Load <vendorLib>". The driver object
// is the caller's.
using GetDriverFunc = Driver* (*)(const char* vendorLib, const char* errorResourceFile,
                                  std::string* error);

}  // namespace qor::dbx
