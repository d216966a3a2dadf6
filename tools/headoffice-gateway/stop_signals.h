#pragma once
// SIGINT and SIGTERM end the gateway cleanly: a watcher thread receives them and calls a stop
// function, so nothing runs inside a signal handler.
#include <functional>
#include <thread>

namespace qor::headoffice {

// Blocks SIGINT and SIGTERM in the calling thread and every thread it starts later, and
// ignores SIGPIPE. Call first thing in main(), before any other thread exists.
void blockStopSignals();

class StopSignalWatcher {
public:
    // Starts the watcher: `onStop` runs on the watcher thread at each SIGINT or SIGTERM.
    explicit StopSignalWatcher(std::function<void()> onStop);
    // Ends the watcher; declare it after what `onStop` uses, so it ends first.
    ~StopSignalWatcher();
    StopSignalWatcher(const StopSignalWatcher&) = delete;
    StopSignalWatcher& operator=(const StopSignalWatcher&) = delete;

private:
    std::thread watcher_;
};

}  // namespace qor::headoffice
