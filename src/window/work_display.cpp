#include "window/work_display.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <exception>
#include <thread>

#include "window/handler_boundary.h"
#include "window/work_input_gate.h"

namespace qor::window {

namespace {

// How often the counts of work aside are looked at, at most.
constexpr qint64 kAsideLookMs = 20;

// The progress of work aside: its thread stores the counts and reads the stop; this thread
// looks at both between its events.
class AsideProgress : public WorkProgress {
public:
    void step(std::uint64_t done, std::uint64_t total) override {
        done_.store(done, std::memory_order_relaxed);
        total_.store(total, std::memory_order_relaxed);
    }
    bool stopRequested() const override { return stop_.load(); }

    void requestStop() { stop_.store(true); }
    std::uint64_t done() const { return done_.load(std::memory_order_relaxed); }
    std::uint64_t total() const { return total_.load(std::memory_order_relaxed); }

private:
    std::atomic<std::uint64_t> done_{0}, total_{0};
    std::atomic<bool> stop_{false};
};

}  // namespace

WorkDisplay::WorkDisplay(QWidget& window) : window_(window) {}

WorkDisplay::~WorkDisplay() = default;

void WorkDisplay::step(std::uint64_t done, std::uint64_t total) {
    if (works_.empty()) return;  // work that is not shown
    Work& work = works_.back();
    work.done = done;
    work.total = total;
    if (onStep) onStep(done, total);
    if (HandlersRefused::now()) return;  // inside the window's events already
    const qint64 nowMs = clock_.elapsed();
    if (nowMs >= nextLookMs_)
        update(true);
    else if (nowMs >= nextTurnMs_)
        turnEvents();
}

std::string WorkDisplay::caption() const { return works_.empty() ? std::string() : works_.back().caption; }

ProgressUnit WorkDisplay::unit() const { return works_.empty() ? ProgressUnit::Rows : works_.back().unit; }

ProgressDisplay* WorkDisplay::shownDisplay() const {
    return display_ && display_->isVisible() ? display_.data() : nullptr;
}

void WorkDisplay::setPace(std::chrono::milliseconds showAfter, std::chrono::milliseconds between,
                          std::chrono::milliseconds turn) {
    showAfterMs_ = showAfter.count();
    betweenMs_ = between.count();
    turnMs_ = turn.count();
}

void WorkDisplay::beginWork(const std::string& caption, ProgressUnit unit) {
    if (!shown_) return;
    if (works_.empty()) {
        clock_.start();
        nextLookMs_ = showAfterMs_;
        nextTurnMs_ = turnMs_;
        updatingNs_ = 0;
        gate_ = std::make_unique<WorkInputGate>(window_);
        refreshesHeld_ = std::make_unique<paced_refresh::RefreshesHeld>();
    }
    works_.push_back({caption, unit});
}

void WorkDisplay::endWork() noexcept {
    if (works_.empty()) return;
    works_.pop_back();
    if (!works_.empty()) return;
    stopRequested_ = false;  // asked for too late: the work has ended anyway
    refreshesHeld_.reset();
    gate_.reset();
    if (display_) display_->hide();
}

void WorkDisplay::stopHandled() {
    stopRequested_ = false;
    if (display_) display_->rearm();
}

// Shows the innermost work and, with `withEvents`, lets the window handle what has come in
// meanwhile, its held-back paint included. Clicks on the window are held off by the display's
// modality and the gate; any handler that would start anyway (a focus change, a queued click)
// is refused. Repainting the window is most of an update's cost; where it is slow (a slow
// machine, a remote display) updates come less often, so that they never take more than a
// hundredth of the work's time.
void WorkDisplay::update(bool withEvents) {
    const qint64 startedNs = clock_.nsecsElapsed();
    const HandlersRefused refused;
    const Work& work = works_.back();
    if (!display_) display_ = new ProgressDisplay(&window_, [this] { requestStop(); });
    display_->showProgress(work.caption, progressLine(work.unit, work.done, work.total),
                           progressShare(work.done, work.total));
    if (!display_->isVisible()) {
        display_->rearm();
        display_->show();
    }
    if (withEvents) {
        paced_refresh::flush();
        gate_->holdPaint(false);
        QCoreApplication::processEvents();
        gate_->holdPaint(true);
    }
    const qint64 nowNs = clock_.nsecsElapsed();
    updatingNs_ += nowNs - startedNs;
    const qint64 budgetMs = betweenMs_ > 0 ? (nowNs - startedNs) * kBudgetShare / 1000000 : 0;
    nextLookMs_ = nowNs / 1000000 + std::max(betweenMs_, budgetMs);
    nextTurnMs_ = nowNs / 1000000 + turnMs_;
}

void WorkDisplay::turnEvents() {
    const qint64 startedNs = clock_.nsecsElapsed();
    {
        const HandlersRefused refused;
        gate_->holdPaint(true);
        QCoreApplication::processEvents();
    }
    const qint64 nowNs = clock_.nsecsElapsed();
    updatingNs_ += nowNs - startedNs;
    nextTurnMs_ = nowNs / 1000000 + turnMs_;
}

// The job's thread touches nothing of this one's; this thread handles its events until the
// job has ended (its thread wakes it), looking at the job's counts and passing a stop on.
void WorkDisplay::runAside(const std::function<void(WorkProgress&)>& job) {
    if (works_.empty()) {
        job(*this);
        return;
    }
    AsideProgress aside;
    std::exception_ptr failure;
    std::atomic<bool> finished{false};
    QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance(QThread::currentThread());
    std::thread worker([&] {
        try {
            job(aside);
        } catch (...) {
            failure = std::current_exception();
        }
        finished.store(true);
        dispatcher->wakeUp();
    });

    QTimer looks;  // wakes the loop to look at the counts
    looks.start(int(std::clamp<qint64>(betweenMs_, 1, kAsideLookMs)));
    gate_->holdPaint(false);  // nothing changes under the window meanwhile
    {
        const HandlersRefused refused;
        while (!finished.load()) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
            Work& work = works_.back();
            work.done = aside.done();
            work.total = aside.total();
            if (onStep) onStep(work.done, work.total);
            if (stopRequested()) aside.requestStop();
            if (clock_.elapsed() >= nextLookMs_) update(false);
        }
    }
    worker.join();
    if (failure) std::rethrow_exception(failure);
}

}  // namespace qor::window
