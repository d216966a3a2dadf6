// qor-storesim checks every reply against the head office's rows: played against a sound
// gateway, a morning has no failure; behind a hop that changes one supplier's name in the
// replies (the packet still loads), exactly that step fails and says why.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <string>

#include "damaging_relay.h"
#include "gateway_process.h"
#include "headoffice_rows.h"
#include "temp_database.h"

using namespace qor;
using namespace qor::headoffice::testing;

namespace {

struct SimulatorRun {
    int exitCode = -1;
    std::string out;
};

SimulatorRun storesim(const std::string& database, int port) {
    const std::string command = std::string("'") + QOR_BIN_DIR + "/qor-storesim' --database '" +
                                database + "' --port " + std::to_string(port) +
                                " --stores 12 --at-once 1 --timeout-ms 20000 2>&1";
    SimulatorRun run;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return run;
    char buffer[4096];
    while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) run.out.append(buffer, n);
    const int status = ::pclose(pipe);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

}  // namespace

TEST(StoresimCheck, ADamagedReplyIsCountedAsAFailureOfItsStep) {
    test::GatewayProcess gateway(headOfficeRows());
    // The gateway holds its file (embedded): the simulator reads the same rows from a twin.
    test::TempDatabase headOffice({"db/headoffice-schema.sql"}, headOfficeRows(), "HEADOFFICE.FDB");

    const SimulatorRun sound = storesim(headOffice.path(), gateway.port());
    EXPECT_EQ(sound.exitCode, 0) << sound.out;
    EXPECT_NE(sound.out.find("12 stores, 1 at a time"), std::string::npos) << sound.out;
    EXPECT_NE(sound.out.find(", 0 failures"), std::string::npos) << sound.out;

    DamagingRelay relay(gateway.port(), "Third", "Thirt");
    const SimulatorRun damaged = storesim(headOffice.path(), relay.port());
    EXPECT_EQ(damaged.exitCode, 1) << damaged.out;
    EXPECT_EQ(relay.damaged(), 12);
    EXPECT_NE(damaged.out.find(", 12 failures"), std::string::npos) << damaged.out;
    EXPECT_NE(damaged.out.find("failed suppliers: rows differ from the head office's"),
              std::string::npos)
        << damaged.out;
}
