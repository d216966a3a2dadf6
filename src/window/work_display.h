#pragma once
// The window's side of long work (qor::WorkProgress): the work runs on the interface thread
// and tells each step here; once it has run half a second, the progress display shows over
// the window, modal, and at most ten times a second it is brought up to date and the window's
// events are handled (repaint, the stop button, Esc) with every handler refused meanwhile
// (HandlersRefused). A step between those times only stores its counts and reads the clock.
//
//     void TFormQorClient::SpeedButton9Click() {
//         ShownWork shown(workDisplay(), QOR_BIG5("匯入商品"), ProgressUnit::Rows);
//         for (...) progress->checkpoint(done, rows);   // qor::SilentAbort once stopped
//     }                                                // the display closes
//
// Works nest: a work inside another (the reconciliation of a download, a fetch of a
// promotion's items) shows its own caption and counts while it runs, then the outer one's
// again. The clock and the stop belong to the outermost: it starts them, and when it ends
// the display closes and a stop not yet acted on is forgotten.
#include <QElapsedTimer>
#include <QPointer>
#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "text/work_progress.h"
#include "window/progress_display.h"
#include "window/progress_line.h"

namespace qor::window {

class WorkDisplay : public WorkProgress {
public:
    // The display is made at its first showing, over `window`.
    explicit WorkDisplay(QWidget& window);

    void step(std::uint64_t done, std::uint64_t total) override;
    // A stop asked for, while no StopsHeld is alive.
    bool stopRequested() const override { return stopRequested_ && held_ == 0; }
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

    // Runs at every step, before the clock is read: lets a test act at a given point (ask
    // for a stop at row k, look at the display).
    std::function<void(std::uint64_t done, std::uint64_t total)> onStep;

    // How long work runs before the display shows (500 ms) and how long at least between two
    // updates (100 ms; longer when an update takes more than a hundredth of that). Tests make
    // both 0: shown at the first step, events at every step.
    void setPace(std::chrono::milliseconds showAfter, std::chrono::milliseconds between);

private:
    friend class ShownWork;
    friend class StopsHeld;
    struct Work {
        std::string caption;
        ProgressUnit unit;
        std::uint64_t done = 0, total = 0;
    };
    void enter(std::string caption, ProgressUnit unit);
    void leave();
    void update();

    QWidget& window_;
    QPointer<ProgressDisplay> display_;
    std::vector<Work> works_;  // outermost first
    QElapsedTimer clock_;      // since the outermost work began
    qint64 nextLookMs_ = 0;
    qint64 updatingNs_ = 0;
    qint64 showAfterMs_ = 500;
    qint64 betweenMs_ = 100;
    // The time to the next update is at least this many times what the last one took.
    static constexpr qint64 kBudgetShare = 100;
    bool stopRequested_ = false;
    int held_ = 0;
};

// A work shown by the display for as long as this lives; see WorkDisplay.
class ShownWork {
public:
    ShownWork(WorkDisplay& display, std::string caption, ProgressUnit unit);
    ~ShownWork();
    ShownWork(const ShownWork&) = delete;
    ShownWork& operator=(const ShownWork&) = delete;

private:
    WorkDisplay& display_;
};

// A stretch that must not end half way (a row being added to a list, whose own handlers
// fetch from the head office): for as long as this lives, a stop asked for waits, and the
// work acts on it at its next safe point after the stretch.
class StopsHeld {
public:
    explicit StopsHeld(WorkDisplay& display) : display_(display) { ++display_.held_; }
    ~StopsHeld() { --display_.held_; }
    StopsHeld(const StopsHeld&) = delete;
    StopsHeld& operator=(const StopsHeld&) = delete;

private:
    WorkDisplay& display_;
};

}  // namespace qor::window
