#pragma once
// Work progress as the workflows' tests see it: the works begun, innermost last, and a stop
// asked for where a test says. Work aside runs on the caller's thread.
//
//     progress.stopAt = [](ProgressUnit unit, std::uint64_t done) {
//         return unit == ProgressUnit::Items && done == 2;   // after two items
//     };
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "text/work_progress.h"

namespace qor::test {

class ScriptedProgress : public WorkProgress {
public:
    // Asked at every step of the innermost work; true asks for a stop there.
    std::function<bool(ProgressUnit unit, std::uint64_t done)> stopAt;

    void step(std::uint64_t done, std::uint64_t /*total*/) override {
        if (!works.empty() && stopAt && stopAt(works.back(), done)) stopAsked_ = true;
    }
    bool stopRequested() const override { return stopAsked_ && held_ == 0; }
    void beginWork(const std::string& caption, ProgressUnit unit) override {
        works.push_back(unit);
        captions.push_back(caption);
    }
    void endWork() noexcept override {
        works.pop_back();
        if (works.empty()) stopAsked_ = false;  // as the window forgets a stop with its work
    }
    void holdStops() override { ++held_; }
    void releaseStops() noexcept override { --held_; }
    void stopHandled() override { stopAsked_ = false; }

    std::vector<ProgressUnit> works;    // running now, outermost first
    std::vector<std::string> captions;  // every work begun, in order

private:
    bool stopAsked_ = false;
    int held_ = 0;
};

}  // namespace qor::test
