#pragma once
// The progress display of long work: a small modal box over the window with the work's
// caption, how far it has come, a bar and the stop button. Esc and the box's own close ask
// for the stop as the button does. It shows what it is told; when and how often is for
// WorkDisplay to say.
#include <QDialog>
#include <functional>
#include <optional>
#include <string>

class QLabel;
class QProgressBar;
class QPushButton;

namespace qor::window {

class ProgressDisplay : public QDialog {
public:
    // Modal over the whole program while shown; `stop` runs when the staff ask to stop.
    ProgressDisplay(QWidget* window, std::function<void()> stop);

    // The caption and line (code page 950) and the bar's share, 0 to 1 (nullopt: a busy bar).
    void showProgress(const std::string& caption, const std::string& line,
                      std::optional<double> share);
    // The stop button usable again, for the next work.
    void rearm();

    void reject() override;  // Esc

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void askToStop();

    std::function<void()> stop_;
    QLabel* caption_;
    QLabel* line_;
    QProgressBar* bar_;
    QPushButton* stopButton_;
};

}  // namespace qor::window
