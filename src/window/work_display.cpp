#include "window/work_display.h"

#include <QCoreApplication>
#include <algorithm>

#include "window/handler_boundary.h"

namespace qor::window {

WorkDisplay::WorkDisplay(QWidget& window) : window_(window) {}

void WorkDisplay::step(std::uint64_t done, std::uint64_t total) {
    if (works_.empty()) return;  // work that is not shown
    Work& work = works_.back();
    work.done = done;
    work.total = total;
    if (onStep) onStep(done, total);
    if (clock_.elapsed() < nextLookMs_ || HandlersRefused::now()) return;
    update();
}

std::string WorkDisplay::caption() const { return works_.empty() ? std::string() : works_.back().caption; }

ProgressUnit WorkDisplay::unit() const { return works_.empty() ? ProgressUnit::Rows : works_.back().unit; }

ProgressDisplay* WorkDisplay::shownDisplay() const {
    return display_ && display_->isVisible() ? display_.data() : nullptr;
}

void WorkDisplay::setPace(std::chrono::milliseconds showAfter, std::chrono::milliseconds between) {
    showAfterMs_ = showAfter.count();
    betweenMs_ = between.count();
}

void WorkDisplay::enter(std::string caption, ProgressUnit unit) {
    if (works_.empty()) {
        clock_.start();
        nextLookMs_ = showAfterMs_;
        updatingNs_ = 0;
    }
    works_.push_back({std::move(caption), unit});
}

void WorkDisplay::leave() {
    works_.pop_back();
    if (!works_.empty()) return;
    stopRequested_ = false;  // asked for too late: the work has ended anyway
    if (display_) display_->hide();
}

// Shows the innermost work and lets the window handle what has come in meanwhile. Clicks
// on the window are held off by the display's modality; any handler that would start anyway
// (a focus change, a queued click) is refused. Repainting the window is most of an update's
// cost; where it is slow (a slow machine, a remote display) updates come less often, so
// that they never take more than a hundredth of the work's time.
void WorkDisplay::update() {
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
    QCoreApplication::processEvents();
    const qint64 nowNs = clock_.nsecsElapsed();
    updatingNs_ += nowNs - startedNs;
    const qint64 budgetMs = betweenMs_ > 0 ? (nowNs - startedNs) * kBudgetShare / 1000000 : 0;
    nextLookMs_ = nowNs / 1000000 + std::max(betweenMs_, budgetMs);
}

ShownWork::ShownWork(WorkDisplay& display, std::string caption, ProgressUnit unit)
    : display_(display) {
    display_.enter(std::move(caption), unit);
}

ShownWork::~ShownWork() { display_.leave(); }

}  // namespace qor::window
