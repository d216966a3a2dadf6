#pragma once
// What long work tells about itself while it runs, and how it learns that the staff want it
// stopped. The window shows a progress display with a stop button; tests and command-line
// tools pass none. Kept beside the message-box interface: the core reports through it
// without knowing Qt.
#include <cstdint>
#include <functional>
#include <string>

#include "text/errors.h"

namespace qor {

// What a work counts.
enum class ProgressUnit {
    Bytes,  // a reply arriving from the head office
    Rows,   // rows of a list: products, masters
    Items,  // a promotion's items
};

class WorkProgress {
public:
    virtual ~WorkProgress() = default;

    // `done` units of `total` (0: not known) have been dealt with: rows, items, bytes of a
    // reply. Called between units and every short while during a wait, so often that it
    // must cost next to nothing until the display is due. The window may repaint and take
    // the stop button's press here.
    virtual void step(std::uint64_t done, std::uint64_t total) = 0;
    // The staff have asked the work to stop.
    virtual bool stopRequested() const = 0;

    // A stretch of work with a caption (code page 950) and what it counts begins or ends.
    // Stretches nest: a download's comparison shows its own caption while it runs, then
    // the download's again. NamedWork below holds one for a scope.
    virtual void beginWork(const std::string& /*caption*/, ProgressUnit /*unit*/) {}
    virtual void endWork() noexcept {}
    // While stops are held (StopsHeld below), a stop asked for waits for the next safe
    // point after the stretch: a row being added whose own handlers fetch is no place to end.
    virtual void holdStops() {}
    virtual void releaseStops() noexcept {}
    // The work has ended what was stopped and goes on with what must follow a stop (a
    // stopped promotion list still moves to its first master): the stop is forgotten, and
    // the staff may ask again.
    virtual void stopHandled() {}

    // Runs `job` to its end and throws what it threw. The job may run on a thread of its
    // own while this one goes on answering the staff; it reports through the progress it is
    // given, which may be called from that thread. It must touch nothing this thread uses
    // meanwhile. By default it runs here, reporting to this progress.
    virtual void runAside(const std::function<void(WorkProgress&)>& job) { job(*this); }

    // A safe point: tells the step, then ends the work with qor::SilentAbort when a stop has
    // been asked for. Call it only where ending leaves what a failure there would leave.
    void checkpoint(std::uint64_t done, std::uint64_t total) {
        step(done, total);
        if (stopRequested()) throw SilentAbort();
    }
};

// A stretch of work shown for as long as this lives; nothing without a progress.
class NamedWork {
public:
    NamedWork(WorkProgress* progress, const std::string& caption, ProgressUnit unit)
        : progress_(progress) {
        if (progress_) progress_->beginWork(caption, unit);
    }
    ~NamedWork() {
        if (progress_) progress_->endWork();
    }
    NamedWork(const NamedWork&) = delete;
    NamedWork& operator=(const NamedWork&) = delete;

private:
    WorkProgress* progress_;
};

// A stretch that must not end half way; see WorkProgress::holdStops.
class StopsHeld {
public:
    explicit StopsHeld(WorkProgress* progress) : progress_(progress) {
        if (progress_) progress_->holdStops();
    }
    ~StopsHeld() {
        if (progress_) progress_->releaseStops();
    }
    StopsHeld(const StopsHeld&) = delete;
    StopsHeld& operator=(const StopsHeld&) = delete;

private:
    WorkProgress* progress_;
};

}  // namespace qor
