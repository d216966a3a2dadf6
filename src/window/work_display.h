#pragma once
// The window's side of long work (qor::WorkProgress). The window answers while work runs:
//   - work on the interface thread (the comparison, import-all, the promotion list, the
//     transfer) tells each step here, and every 10 ms at most a step lets the window handle
//     what has come in (input to the progress display, painting, screen readers' requests);
//   - an exchange with the head office runs on a thread of its own (runAside) while this
//     thread runs its event loop.
// Once the work has run half a second the progress display shows over the window, modal, and
// at most ten times a second it is brought up to date; the window itself is repainted at
// that pace too during work on this thread, so showing costs the work next to nothing.
// Meanwhile no handler starts (HandlersRefused) and input to the window is dropped, so
// nothing the staff can start runs in the middle of the work.
//
//     {
//         const NamedWork shown(&workDisplay, QOR_BIG5("匯入商品"), ProgressUnit::Rows);
//         for (...) workDisplay.checkpoint(done, rows);   // qor::SilentAbort once stopped
//     }                                                  // the display closes
//
// Works nest: a work inside another (the comparison of a download, a fetch of a promotion's
// items) shows its own caption and counts while it runs, then the outer one's again. The
// clock and the stop belong to the outermost: it starts them, and when it ends the display
// closes and a stop not yet acted on is forgotten.
#include <QElapsedTimer>
#include <QPointer>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "text/work_progress.h"
#include "window/dbcontrols/paced_refresh.h"
#include "window/progress_display.h"
#include "window/progress_line.h"

namespace qor::window {

class WorkInputGate;

class WorkDisplay : public WorkProgress {
public:
    // The display is made at its first showing, over `window`.
    explicit WorkDisplay(QWidget& window);
    ~WorkDisplay() override;

    void step(std::uint64_t done, std::uint64_t total) override;
    // A stop asked for, while stops are not held.
    bool stopRequested() const override { return stopRequested_ && held_ == 0; }
    void beginWork(const std::string& caption, ProgressUnit unit) override;
    void endWork() noexcept override;
    void holdStops() override { ++held_; }
    void releaseStops() noexcept override { --held_; }
    void stopHandled() override;
    // The job on a thread of its own, this thread running its event loop until it ends; its
    // steps are shown from here. Outside any shown work the job runs here.
    void runAside(const std::function<void(WorkProgress&)>& job) override;

    // What the stop button and Esc do; for tests too. Outside any work it does nothing.
    void requestStop() { stopRequested_ = running(); }

    bool running() const { return !works_.empty(); }
    // The innermost work's caption and unit; empty and Rows when none runs.
    std::string caption() const;
    ProgressUnit unit() const;
    // The display while it is shown, else nullptr.
    ProgressDisplay* shownDisplay() const;
    // How long the outermost work running, or else the last one, spent bringing the display
    // up to date and letting the window handle its events: what the display cost it.
    std::chrono::nanoseconds timeUpdating() const { return std::chrono::nanoseconds(updatingNs_); }

    // Runs at every step on this thread (for work aside, at every look at its counts): lets
    // a test act at a given point (ask for a stop at row k, look at the display).
    std::function<void(std::uint64_t done, std::uint64_t total)> onStep;

    // How long work runs before the display shows (500 ms), how long at least between two
    // updates (100 ms; longer when an update takes more than a hundredth of that), and how
    // long at most events wait during work on this thread (10 ms). Tests make them 0: shown
    // at the first step, events at every step.
    void setPace(std::chrono::milliseconds showAfter, std::chrono::milliseconds between,
                 std::chrono::milliseconds turn = std::chrono::milliseconds(10));

    // On by default. Off, work runs as it always ran: nothing shown, no events handled during
    // it, nothing to stop, exchanges on this thread; for measuring what the display costs.
    void setShown(bool on) { shown_ = on; }

private:
    struct Work {
        std::string caption;
        ProgressUnit unit;
        std::uint64_t done = 0, total = 0;
    };
    // Brings the display up to date (shown once due); `withEvents`: then lets the window
    // handle its events, its paint held back since the last update included.
    void update(bool withEvents);
    // Lets the window handle what has come in, its paint held back.
    void turnEvents();

    QWidget& window_;
    QPointer<ProgressDisplay> display_;
    std::unique_ptr<WorkInputGate> gate_;  // while the outermost work runs
    std::unique_ptr<paced_refresh::RefreshesHeld> refreshesHeld_;  // the same
    std::vector<Work> works_;              // outermost first
    QElapsedTimer clock_;                  // since the outermost work began
    qint64 nextLookMs_ = 0;
    qint64 nextTurnMs_ = 0;
    qint64 updatingNs_ = 0;
    qint64 showAfterMs_ = 500;
    qint64 betweenMs_ = 100;
    // The time to the next update is at least this many times what the last one took.
    static constexpr qint64 kBudgetShare = 100;
    qint64 turnMs_ = 10;
    bool shown_ = true;
    bool stopRequested_ = false;
    int held_ = 0;
};

}  // namespace qor::window
