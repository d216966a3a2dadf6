#pragma once
// PrivateFirebirdServer: a Firebird 3 server of one test's own, so that a test may stop it and
// start it again without touching the server other test runs share (127.0.0.1:3050).
//
//     PrivateFirebirdServer server;                  // listening on 127.0.0.1:server.port()
//     writeDbxFiles(dir, server.address(db.path()));  // "127.0.0.1/<port>:<path>"
//     server.stop();                                  // ... the store goes away
//     server.start();                                 // ... and comes back on the same port
//
// It is the Debian server program (/usr/sbin/firebird) with a root folder of its own
// (FIREBIRD): a firebird.conf naming its port, loopback only, and a security database made
// here for it, whose SYSDBA has the program's built-in password (messages and character sets
// are the installed ones, linked in); and a lock folder of its own
// (FIREBIRD_LOCK), so its lock tables never meet those of the shared server or of an embedded
// engine. A database file it serves must not be opened embedded meanwhile.
#include <sys/types.h>

#include <string>

#include "temp_folder.h"

namespace qor::test {

class PrivateFirebirdServer {
public:
    // Makes the folders and the security database and starts the server on a free port;
    // throws std::runtime_error when it cannot.
    PrivateFirebirdServer();
    ~PrivateFirebirdServer();
    PrivateFirebirdServer(const PrivateFirebirdServer&) = delete;
    PrivateFirebirdServer& operator=(const PrivateFirebirdServer&) = delete;

    // Whether this machine has the server program (Debian firebird3.0-server).
    static bool available();

    int port() const { return port_; }
    // What "Database=" names for a file served by this server.
    std::string address(const std::string& path) const;

    // Starts the server on port() and waits until it accepts connections.
    void start();
    // Stops it as an administrator's stop script does: SIGTERM, and SIGKILL when it has not
    // ended within a few seconds. Returns when it has ended.
    void stop();
    bool running() const { return pid_ > 0; }

private:
    void runIsql(const std::string& script) const;

    TempFolder folder_{"qor-fbserver-"};
    std::string root_, lockDir_;
    int port_ = 0;
    pid_t pid_ = -1;
};

}  // namespace qor::test
