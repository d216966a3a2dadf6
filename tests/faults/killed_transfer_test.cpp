// The program killed while it transfers a large promotion: the test starts itself again as
// the store program (transfer_child.h), waits until the transfer has written part of the
// items, kills it with SIGKILL, and reads the store back: none of the promotion is there.
// A program started afterwards transfers it whole.
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <thread>

#include "shared_gateway.h"
#include "store_fixture.h"
#include "transfer_child.h"

namespace qor::faults {
namespace {

constexpr int kLargePromotion = 1000;
// The child holds its transfer once this many items are written.
constexpr int kWrittenBeforeTheKill = 200;
// A bound that only keeps a broken build from hanging the run.
constexpr auto kChildLimit = std::chrono::seconds(120);

}  // namespace
}  // namespace qor::faults

namespace qor::test {

int runTransferChild(const char* folder) {
    using namespace qor::faults;
    const std::string dir = folder;
    storedb::FixedDefinitionPaths paths{QOR_BIN_DIR};
    qor::test::useDbxFilesIn(paths, dir);
    Workflows w(paths, dir, kTimeLimitMs);

    int written = 0;
    w.promotions.CDS_PSaleSub.afterScroll = [&](ds::Dataset& items) {
        if (!items.controlsDisabled() || ++written != kWrittenBeforeTheKill) return;
        // Written aside and renamed into place: the test, waiting for the name, never reads
        // the file before its count is in it.
        const std::string marker = dir + "/" + kUnderWayMarker;
        std::ofstream(marker + ".part") << written;
        std::filesystem::rename(marker + ".part", marker);
        // Held inside the transfer until the kill comes, so that it always lands there.
        const auto limit = std::chrono::steady_clock::now() + kChildLimit;
        while (std::chrono::steady_clock::now() < limit)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        std::_Exit(3);
    };
    w.dialogs.handle([&] {
        w.promotions.download();  // PBIG current
        if (!w.promotions.checkItems()) w.promotions.transferUntaken();  // which transfers it
    });
    // Only a transfer that never got under way comes back here.
    for (const Box& box : w.dialogs.boxes) std::cerr << "box: " << box.text << "\n";
    std::cerr << "items: " << w.promotions.CDS_PSaleSub.recordCount() << ", written " << written
              << "\n";
    return 2;
}

}  // namespace qor::test

namespace qor::faults {
namespace {

std::string readWhole(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The test binary as the store program, its output in <folder>/child.log.
pid_t startChild(const std::string& folder) {
    const std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
    const std::string log = folder + "/child.log";
    const pid_t pid = ::fork();
    if (pid == 0) {
        const int out = ::open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (out >= 0) {
            ::dup2(out, STDOUT_FILENO);
            ::dup2(out, STDERR_FILENO);
        }
        ::execl(self.c_str(), self.c_str(), qor::test::kTransferChildFlag, folder.c_str(),
                static_cast<char*>(nullptr));
        ::_exit(127);
    }
    return pid;
}

class KilledTransfer : public qor::test::SharedGateway<KilledTransfer, StoreFixture> {
protected:
    static void SetUpTestSuite() { startGateway(headOfficeRows(kLargePromotion)); }

    std::string folder() const { return store.folder().string(); }

    qor::test::TempDatabase store{storeRows(kLargePromotion)};
};


TEST_F(KilledTransfer, TheStoreHoldsNoneOfThePromotionAndTheNextProgramTransfersItWhole) {
    qor::test::writeDbxFiles(folder(), store.path());
    gateway->writeHttpSet(folder());
    const pid_t child = startChild(folder());
    ASSERT_GT(child, 0);

    // Under way: part of the items written in the transfer's transaction.
    const std::string marker = folder() + "/" + qor::test::kUnderWayMarker;
    const auto limit = std::chrono::steady_clock::now() + kChildLimit;
    int status = 0;
    bool ended = false;
    while (!std::filesystem::exists(marker) && !ended &&
           std::chrono::steady_clock::now() < limit) {
        ended = ::waitpid(child, &status, WNOHANG) == child;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    ::kill(child, SIGKILL);
    if (!ended) ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL)
        << "the child was not killed under way:\n" << readWhole(folder() + "/child.log");
    EXPECT_EQ(readWhole(marker), std::to_string(kWrittenBeforeTheKill));

    // Read back on a fresh connection, as the next program would.
    openWorkflows(folder(), {store.path(), {}, {}}, gateway.get());
    EXPECT_EQ(transferredMasters(), 0u);
    EXPECT_EQ(transferredItems(), 0u);

    downloadPromotions();
    ASSERT_EQ(items().recordCount(), kLargePromotion) << boxTexts();
    checkAndTransfer();
    EXPECT_TRUE(w->dialogs.boxes.empty()) << boxTexts();
    EXPECT_EQ(transferredMasters(), 1u);
    EXPECT_EQ(transferredItems(), std::size_t(kLargePromotion));
}

}  // namespace
}  // namespace qor::faults
