#pragma once
// What long work tells about itself while it runs, and how it learns that the staff want it
// stopped. The window shows a progress display with a stop button; tests and command-line
// tools pass none. Kept beside the message-box interface: the core reports through it
// without knowing Qt.
#include <cstdint>

#include "text/errors.h"

namespace qor {

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

    // A safe point: tells the step, then ends the work with qor::SilentAbort when a stop has
    // been asked for. Call it only where ending leaves what a failure there would leave.
    void checkpoint(std::uint64_t done, std::uint64_t total) {
        step(done, total);
        if (stopRequested()) throw SilentAbort();
    }
};

}  // namespace qor
