// A thousand stores on stalled lines, each connected with half a request line sent and then
// silent, take no worker from qor-gateway: a store that signs in meanwhile is answered at once.
// (The time its sign-in took is printed; bench programs measure, tests do not.)
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/resource.h>

#include <chrono>
#include <iostream>
#include <memory>
#include <vector>

#include "dataset/dataset.h"
#include "gateway/FrmDataModHttp.h"
#include "gateway_process.h"
#include "headoffice_rows.h"
#include "raw_http_client.h"

using namespace qor;
using namespace qor::headoffice::testing;

namespace {

constexpr int kSilentLines = 1000;

// The thousand connections are files of this process too.
bool raiseOpenFiles(rlim_t wanted) {
    rlimit limit{};
    if (::getrlimit(RLIMIT_NOFILE, &limit) != 0) return false;
    if (limit.rlim_cur >= wanted) return true;
    limit.rlim_cur = wanted;
    // Past the hard limit only as root.
    if (limit.rlim_max != RLIM_INFINITY && limit.rlim_max < wanted) limit.rlim_max = wanted;
    return ::setrlimit(RLIMIT_NOFILE, &limit) == 0;
}

}  // namespace

TEST(GatewaySlowLines, AThousandSilentConnectionsDoNotDelayAStoresSignIn) {
    ASSERT_TRUE(raiseOpenFiles(kSilentLines + 512)) << "the system allows too few open files";
    // Four workers: far fewer than the stalled lines, as a head office runs it.
    test::GatewayProcess gateway(headOfficeRows(), {}, {"--threads", "4"});
    gateway.writeHttpSet(gateway.clientDir());

    const std::string halfLine = "POST /oVat/ado/index.php?user_na";
    std::vector<std::unique_ptr<RawHttpClient>> silent;
    for (int i = 0; i < kSilentLines; ++i) {
        silent.push_back(std::make_unique<RawHttpClient>(gateway.port()));
        ASSERT_TRUE(silent.back()->connected()) << i;
        ASSERT_TRUE(silent.back()->send(halfLine)) << i;
    }

    RecordingDialogs dialogs;
    gateway::TDataModHttp http(gateway.clientDir(), gateway.clientDir(), dialogs, 60000);
    ds::Dataset ClientDataSet1("ClientDataSet1"), CDS_Cust("CDS_Cust");
    const std::string statement = signInStatement("LOGINID", "1234");
    const auto started = std::chrono::steady_clock::now();
    http.OpenRemoteQuery(ClientDataSet1, statement);
    http.OpenRemoteQuery(CDS_Cust, statement);
    const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - started;
    std::cout << "sign-in beside " << kSilentLines << " silent connections: " << took.count()
              << " ms\n";
    EXPECT_EQ(ClientDataSet1.recordCount(), 1);
    EXPECT_EQ(CDS_Cust.field(1).asString(), storeName());
    EXPECT_TRUE(dialogs.boxes.empty());

    // The silent ones were neither answered nor refused: they still wait for their time limit.
    int waiting = 0;
    for (auto& line : silent) {
        pollfd p{line->fd(), POLLIN, 0};
        if (::poll(&p, 1, 0) == 0) ++waiting;
    }
    EXPECT_EQ(waiting, kSilentLines);
}
