#include "stop_signals.h"

#include <pthread.h>
#include <signal.h>

namespace qor::headoffice {
namespace {

sigset_t watchedSignals() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    sigaddset(&set, SIGUSR1);  // sent by the watcher's destructor to end it
    return set;
}

}  // namespace

void blockStopSignals() {
    sigset_t set = watchedSignals();
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
    // A store that hangs up mid-reply must not end the gateway.
    signal(SIGPIPE, SIG_IGN);
}

StopSignalWatcher::StopSignalWatcher(std::function<void()> onStop) {
    watcher_ = std::thread([onStop = std::move(onStop)] {
        sigset_t set = watchedSignals();
        int received = 0;
        // Every stop signal calls it again: a second signal still stops a server that had
        // not begun to serve at the first.
        while (sigwait(&set, &received) == 0) {
            if (received == SIGUSR1) return;
            onStop();
        }
    });
}

StopSignalWatcher::~StopSignalWatcher() {
    pthread_kill(watcher_.native_handle(), SIGUSR1);
    watcher_.join();
}

}  // namespace qor::headoffice
