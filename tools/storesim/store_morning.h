#pragma once
// One simulated store's morning, through the program's own gateway client exactly as the
// window uses it (TDataModHttp::OpenRemoteQuery into its datasets): the sign-in (the same
// statement twice, as the window sends it), the products changed in the last days, the
// promotion list, each listed master's items, the suppliers. Every reply is checked against
// the head office's rows; a failed step counts and the morning goes on.
#include <memory>
#include <string>

#include "expected_replies.h"
#include "step_figures.h"

namespace qor::storesim {

struct MorningSettings {
    std::string clientDir;  // holds httpset.ini, as beside the program
    int days = 7;           // the product tab's day count
    int timeoutMs = 300000;
};

// One lane of stores played one after another; a lane holds what one store's program holds:
// its gateway module and datasets.
class StoreLane {
public:
    // `dumpDir` receives the lane's Result.txt.
    StoreLane(const MorningSettings& settings, const std::string& dumpDir,
              ExpectedReplies& expected);
    ~StoreLane();
    StoreLane(const StoreLane&) = delete;
    StoreLane& operator=(const StoreLane&) = delete;

    void playMorning(const StoreAccount& store);
    const MorningFigures& figures() const { return figures_; }

private:
    struct Program;
    // One gateway call into `target`, timed and checked, counted under `step`.
    void ask(Step step, ds::Dataset& target, const std::string& statement);

    MorningSettings settings_;
    std::string dumpDir_;
    ExpectedReplies& expected_;
    std::unique_ptr<Program> program_;
    MorningFigures figures_;
};

}  // namespace qor::storesim
