#pragma once
// GatewayProcess: a running qor-gateway over a fresh head-office database, for one test or
// one test suite.
//
//     qor::test::GatewayProcess gateway(
//         "INSERT INTO CUSTOMER (CUST_ID, CUST_NAME, PASS_WD) VALUES ('S001', 'Shop', '1234');");
//     gateway.writeHttpSet(gateway.clientDir());   // httpset.ini for the program under test
//     qor::gateway::TDataModHttp http(gateway.clientDir(), gateway.clientDir(), dialogs);
//     ...
//     // the destructor stops the gateway and removes its folder
//
// What it does, in order:
//   - creates <folder>/HEADOFFICE.FDB in a temporary folder from db/headoffice-schema.sql
//     followed by `extraSql` (isql script text: end every statement with ";"; code page 950
//     bytes pass unchanged; a COMMIT is added at its end), through TempDatabase;
//   - starts qor-gateway from the build's bin folder (or the program the environment
//     variable QOR_GATEWAY_PROGRAM names) on 127.0.0.1 with a free port, the
//     database opened embedded, the account given (the built-in one by default) and any
//     further options (for example {"--read-timeout", "1"});
//   - waits until it answers an HTTP request.
// The gateway's one-line-per-request log (its stderr) is in <folder>/gateway.log; log()
// reads it. Its first line is the readiness request (GET /ready, 404). A request's line is
// written just after its reply has gone out, so read the log after stop() to be sure of the
// last line. A start that fails throws std::runtime_error carrying the gateway's output.
//
// A test target that uses this fixture must depend on the programs it runs:
//     add_dependencies(<target> qor-gateway dbxfb)
// Embedded Firebird lets one process at a time open a database file: while the gateway
// runs, only the gateway opens HEADOFFICE.FDB.
#include <sys/types.h>

#include <memory>
#include <string>
#include <vector>

#include "text/builtin_account.h"

namespace qor::test {

class TempDatabase;

struct GatewayAccount {
    std::string userName{text::kBuiltinUserName};
    std::string password{text::kBuiltinPassword};
};

class GatewayProcess {
public:
    explicit GatewayProcess(const std::string& extraSql = {}, GatewayAccount account = {},
                            std::vector<std::string> options = {});
    ~GatewayProcess();
    GatewayProcess(const GatewayProcess&) = delete;
    GatewayProcess& operator=(const GatewayProcess&) = delete;

    const std::string& host() const { return host_; }  // "127.0.0.1"
    int port() const { return port_; }
    const GatewayAccount& account() const { return account_; }
    const std::string& folder() const { return folder_; }
    const std::string& databasePath() const { return databasePath_; }
    // An empty folder inside folder(), for httpset.ini and the client's dump files.
    const std::string& clientDir() const { return clientDir_; }

    // Writes <dir>/httpset.ini pointing at this gateway: section "set" with host, port,
    // user_name, password and driver.
    void writeHttpSet(const std::string& dir, const std::string& driver = "ado") const;

    // What the gateway has written to stderr so far.
    std::string log() const;

    // More head-office rows mid-test: stops the gateway, runs the isql text on the database,
    // and starts the gateway again on the same port.
    void runSql(const std::string& sql);

    bool running() const { return pid_ > 0; }
    // The gateway's process id while it runs (for reading /proc/<pid>/status).
    pid_t pid() const { return pid_; }
    // Stops the gateway with SIGTERM and waits for it; returns its exit code (-1 when a
    // signal ended it). The destructor stops it when still running, and fails the running
    // test unless the gateway ends with status 0.
    int stop();

private:
    void start(int port);
    void expectCleanEnd(int status) const;

    GatewayAccount account_;
    std::vector<std::string> options_;
    std::string host_ = "127.0.0.1";
    std::unique_ptr<TempDatabase> database_;
    std::string folder_;
    std::string databasePath_;
    std::string clientDir_;
    std::string logPath_;
    pid_t pid_ = -1;
    int port_ = 0;
};

}  // namespace qor::test
