#pragma once
// What the benchmarks that drive the window offscreen share: message boxes that only keep
// their last text, and the program's frame around the benchmarks.
#include <QApplication>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <exception>
#include <functional>
#include <string>

#include "window/window_dialogs.h"

namespace qor::bench {

class SilentDialogs : public window::WindowDialogs {
public:
    void showMessage(const std::string& text) override { last = text; }
    void showWarning(const std::string& text) override { last = text; }
    void showError(const std::string& text) override { last = text; }
    std::string last;
};

struct WindowBenchSteps {
    std::function<void()> prepare;             // before any clock starts (databases, window)
    benchmark::BenchmarkReporter* reporter = nullptr;  // nullptr: the usual console one
    std::function<void()> summary;             // after the runs: the figures wanted
    std::function<void()> release;             // what `prepare` made, freed before Qt ends
};

// Runs the benchmarks named on the command line with the window offscreen (unless
// QT_QPA_PLATFORM says otherwise). Returns the program's exit status.
inline int runWindowBenchmarks(int argc, char** argv, const WindowBenchSteps& steps) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    try {
        if (steps.prepare) steps.prepare();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    if (steps.reporter)
        benchmark::RunSpecifiedBenchmarks(steps.reporter);
    else
        benchmark::RunSpecifiedBenchmarks();
    if (steps.summary) steps.summary();
    benchmark::Shutdown();
    if (steps.release) steps.release();
    return 0;
}

}  // namespace qor::bench
