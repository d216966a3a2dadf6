#pragma once
// A connection to the store database (SQLConnection1, SQLConnection2).
//
// With LoadParamsOnConnect on (the default) the parameters come, at the first connect, from
// the section named by ConnectionName in the connection-definition file, and the driver's
// library names from the driver-definition file; the built-in values serve only until then.
// With it off, the properties and the parameter list set in code are used as they are:
//
//     SqlConnection conn("HeadOffice", paths);
//     conn.setLoadParamsOnConnect(false);
//     conn.setLibraryName("libdbxfb.so");
//     conn.setVendorLib("libfbclient.so.2");
//     conn.params().set("Database", "/data/HEAD.FDB");
//     conn.params().set("User_Name", "SYSDBA");
//     conn.params().set("Password", "...");
//     SqlQuery q("Q", conn);
//     q.setSql("select * from CUSTOMER");
//     ds::Table rows = q.openTable();
//
// A connection and its queries belong to one thread at a time: they hold no lock. Use one
// connection per thread, or guard a shared one with a mutex. Loading the driver library is
// the only shared step, and it is safe from any thread.
#include <memory>
#include <string>

#include "storedb/dbx_driver.h"
#include "storedb/definition_paths.h"
#include "storedb/driver_errors.h"
#include "storedb/params.h"
#include "storedb/transaction.h"

namespace qor::storedb {

class SqlConnection {
public:
    // `builtinDatabase` is the built-in Database parameter. The connection-definition path
    // is settled here, once.
    SqlConnection(std::string name, const DefinitionPaths& paths,
                  std::string builtinDatabase = {});
    ~SqlConnection();
    SqlConnection(const SqlConnection&) = delete;
    SqlConnection& operator=(const SqlConnection&) = delete;

    const std::string& name() const { return name_; }

    // ---- properties (built-in values as the window sets them)
    const std::string& connectionName() const { return connectionName_; }
    void setConnectionName(std::string v) { connectionName_ = std::move(v); }
    const std::string& driverName() const { return driverName_; }
    void setDriverName(std::string v) { driverName_ = std::move(v); }
    const std::string& getDriverFunc() const { return getDriverFunc_; }
    void setGetDriverFunc(std::string v) { getDriverFunc_ = std::move(v); }
    const std::string& libraryName() const { return libraryName_; }
    void setLibraryName(std::string v) { libraryName_ = std::move(v); }
    const std::string& vendorLib() const { return vendorLib_; }
    void setVendorLib(std::string v) { vendorLib_ = std::move(v); }
    bool loadParamsOnConnect() const { return loadParamsOnConnect_; }
    void setLoadParamsOnConnect(bool on) { loadParamsOnConnect_ = on; }

    ParamList& params() { return params_; }
    const ParamList& params() const { return params_; }

    // The path settled at creation.
    const std::string& connectionDefinitionPath() const { return connectionsPath_; }

    // ---- connecting
    // Connects unless connected; a failure leaves the connection closed for the next try.
    void open();
    // Disconnects, ends the transaction count and forgets the loaded parameters.
    void close();
    // False as well once the database was found gone (a server stopped mid-work): the next
    // use connects again with the parameters loaded, and the transaction that was open is no
    // more.
    bool connected() const;
    // The open attachment, connecting first.
    dbx::Connection& attachment();
    // Runs `call(attachment())` for something that leaves the database as it was when it
    // fails: a read outside a transaction, the start of one. When it fails because the
    // attachment is gone (found so only now, as a server that went away and came back is)
    // and no transaction was open, it runs once more on a new attachment. Failures as
    // driverCall gives them.
    template <typename Call>
    decltype(auto) runHarmless(Call&& call) {
        const bool inTransactionBefore = inTransaction();
        dbx::Connection& first = attachment();
        try {
            return driverCall([&] { return call(first); });
        } catch (const Error&) {
            if (inTransactionBefore || connected()) throw;
        }
        dbx::Connection& fresh = attachment();
        return driverCall([&] { return call(fresh); });
    }

    // Rows fetched per request (RowsetSize; 20 when absent or not a number).
    int rowsetSize() const;
    // Blob bytes fetched (BlobSize as set at connect; -1 all).
    int blobSize() const { return blobSize_; }
    // LocaleCode as a number (hexadecimal; 0 when absent or not a number).
    int localeCode() const;

    // ---- transactions: at most one explicit transaction at a time; TransactionScope
    // (transaction_scope.h) rolls one back unless it is committed.
    // True while an explicit transaction is open: started, and neither committed nor rolled
    // back, nor ended by a failure of the driver or by close().
    bool inTransaction() const;
    // Connects first when closed. Fails with "A transaction is already active" while one is.
    void startTransaction(const TransactionDesc& desc);
    // Fails with "There is no active transaction" when none is.
    void commit(const TransactionDesc& desc);
    void rollback(const TransactionDesc& desc);

private:
    void connect();
    void loadDefinitions();
    void completeDriverNames();
    std::unique_ptr<dbx::Driver> loadDriver();
    std::unique_ptr<dbx::Connection> attach(dbx::Driver& driver, const std::string& database);
    void requireTransaction() const;

    std::string name_;
    const DefinitionPaths& paths_;
    std::string connectionsPath_;

    std::string connectionName_ = "Tendro";
    std::string driverName_ = "Interbase";
    std::string getDriverFunc_ = "getSQLDriverINTERBASE";
    std::string libraryName_ = "dbexpint.dll";
    std::string vendorLib_ = "gds32.dll";
    bool loadParamsOnConnect_ = true;

    ParamList params_;
    bool paramsLoaded_ = false;
    int blobSize_ = -1;

    std::unique_ptr<dbx::Driver> driver_;
    std::unique_ptr<dbx::Connection> attachment_;
};

// The built-in parameter list both store connections carry, with their own Database.
ParamList builtinStoreParams(const std::string& database);

}  // namespace qor::storedb
