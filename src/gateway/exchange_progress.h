#pragma once
// The exchange as the staff see it: the reply's bytes received so far, of its length when the
// reply gives one, told to the work's progress after every block of the body and every short
// while of waiting; a stop asked for ends the exchange there (qor::SilentAbort). The blocks
// still go on to the body watcher it stands in front of (the early packet reader).
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "gateway/body_watcher.h"
#include "text/work_progress.h"

namespace qor::gateway {

class ExchangeProgress : public BodyWatcher {
public:
    ExchangeProgress(BodyWatcher& next, WorkProgress& progress) : next_(next), progress_(progress) {}

    void bodyStarts(std::optional<std::size_t> announced) override {
        total_ = announced.value_or(0);
        next_.bodyStarts(announced);
    }
    void bodyGrew(std::string_view soFar) override {
        received_ = soFar.size();
        progress_.checkpoint(received_, total_);
        next_.bodyGrew(soFar);
    }
    // Before the body's first byte this reports 0 bytes: the display shows it as waiting.
    void waiting() { progress_.checkpoint(received_, total_); }

private:
    BodyWatcher& next_;
    WorkProgress& progress_;
    std::uint64_t received_ = 0;
    std::uint64_t total_ = 0;
};

}  // namespace qor::gateway
