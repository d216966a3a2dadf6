#include "window/progress_display.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "text/cp950.h"
#include "window/big5_qt.h"
#include "window/widget_placing.h"
#include "window/window_font.h"

namespace qor::window {

namespace {
constexpr int kBarSteps = 1000;
constexpr int kWidth = 320;
}  // namespace

ProgressDisplay::ProgressDisplay(QWidget* window, std::function<void()> stop)
    : QDialog(window, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      stop_(std::move(stop)) {
    setObjectName(QStringLiteral("ProgressDisplay"));
    setWindowModality(Qt::ApplicationModal);
    setFixedWidth(kWidth);
    setFont(windowFont());  // a box of its own does not take the window's font

    caption_ = namedWidget<QLabel>(this, "ProgressCaption");
    QFont bold = caption_->font();
    bold.setBold(true);
    caption_->setFont(bold);
    line_ = namedWidget<QLabel>(this, "ProgressLine");
    bar_ = namedWidget<QProgressBar>(this, "ProgressBar");
    bar_->setTextVisible(false);
    bar_->setAccessibleName(toQString(QOR_BIG5("進度")));
    stopButton_ = namedWidget<QPushButton>(this, "ProgressStop");
    stopButton_->setText(toQString(QOR_BIG5("停止")));
    stopButton_->setAccessibleName(stopButton_->text());
    stopButton_->setAutoDefault(false);
    connect(stopButton_, &QPushButton::clicked, this, [this] { askToStop(); });

    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch(1);
    buttonRow->addWidget(stopButton_);
    auto* column = new QVBoxLayout(this);
    column->addWidget(caption_);
    column->addWidget(line_);
    column->addWidget(bar_);
    column->addLayout(buttonRow);
}

void ProgressDisplay::showProgress(const std::string& caption, const std::string& line,
                                   std::optional<double> share) {
    const QString title = toQString(caption);
    if (caption_->text() != title) {
        caption_->setText(title);
        caption_->setAccessibleName(title);
        setWindowTitle(title);
        setAccessibleName(title);
    }
    const QString shown = toQString(line);
    if (line_->text() != shown) {
        line_->setText(shown);
        line_->setAccessibleName(shown);
    }
    if (share) {
        bar_->setRange(0, kBarSteps);
        bar_->setValue(int(*share * kBarSteps));
    } else {
        bar_->setRange(0, 0);
    }
}

void ProgressDisplay::rearm() { stopButton_->setEnabled(true); }

void ProgressDisplay::reject() { askToStop(); }

void ProgressDisplay::closeEvent(QCloseEvent* event) {
    event->ignore();  // the work closes the display when it has ended
    askToStop();
}

// Asked once: the button greys out while the work makes its way to a point where it can end.
void ProgressDisplay::askToStop() {
    if (!stopButton_->isEnabled()) return;
    stopButton_->setEnabled(false);
    stop_();
}

}  // namespace qor::window
