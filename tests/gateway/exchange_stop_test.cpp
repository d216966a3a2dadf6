// An exchange stopped while the gateway has not answered ends as a failed one would, without
// its box (a stop while the body arrives: the window's tests with a slow qor-gateway).
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <vector>

#include "gateway_test_support.h"
#include "scripted_server.h"
#include "text/work_progress.h"

namespace qor::gateway::testing {
namespace {

using Then = ScriptedReply::Then;

const std::string kOk = "HTTP/1.1 200 OK";

// Records every step and asks for a stop once `when` says so.
class StopWhen : public WorkProgress {
public:
    struct Step {
        std::uint64_t done, total;
    };
    explicit StopWhen(std::function<bool(const std::vector<Step>&)> when) : when_(std::move(when)) {}
    void step(std::uint64_t done, std::uint64_t total) override {
        steps.push_back({done, total});
        stop_ = stop_ || when_(steps);
    }
    bool stopRequested() const override { return stop_; }

    std::vector<Step> steps;

private:
    std::function<bool(const std::vector<Step>&)> when_;
    bool stop_ = false;
};

// With a minute's time limit, only the stop can end the wait for a gateway that never answers.
TEST(ExchangeStop, AGatewayThatDoesNotAnswerIsLeftWhenAStopIsAskedFor) {
    ScriptedServer server({{"", Then::Stall}, {httpReply(kOk, "<RESULT>second")}});
    GatewayClient client(server.port(), 60000);
    client.fillTarget();
    StopWhen progress([](const auto& steps) { return steps.size() == 3; });
    client.module->setProgress(&progress);

    EXPECT_EQ(client.call(), aborted());
    EXPECT_TRUE(client.dialogs.messages().empty());
    EXPECT_TRUE(client.targetUntouched());
    EXPECT_FALSE(std::filesystem::exists(client.dumpDir() + "/Result.txt"));
    ASSERT_EQ(progress.steps.size(), 3u);
    for (const auto& step : progress.steps) EXPECT_EQ(step.done, 0u);  // still waiting

    client.module->setProgress(nullptr);  // the module goes on working
    EXPECT_EQ(client.call(), failed("<RESULT>second"));
}

}  // namespace
}  // namespace qor::gateway::testing
