#include "dataset/row_release.h"

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <utility>

namespace qor::ds {
namespace {

// Below this many rows freeing costs less than handing the rows over.
constexpr std::size_t kReleasedAside = 4096;

// Set once the release thread has ended with the program's static objects.
constinit std::atomic<bool> releaserGone{false};

// One thread, started with the first large table, freeing what it is handed in turn. It
// frees what is left and ends with the program's static objects; anything closed after
// that is freed on the spot.
class RowReleaser {
public:
    ~RowReleaser() {
        {
            std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        wake_.notify_one();
        if (worker_.joinable()) worker_.join();
        releaserGone = true;
    }

    // Throws (rows untouched) when the thread cannot be started.
    void hand(std::vector<Row>& rows) {
        std::lock_guard lock(mutex_);
        if (!worker_.joinable()) worker_ = std::thread([this] { run(); });
        pending_.push_back(std::move(rows));
        rows = {};
        wake_.notify_one();
    }

private:
    void run() {
        std::unique_lock lock(mutex_);
        for (;;) {
            wake_.wait(lock, [this] { return stopping_ || !pending_.empty(); });
            std::vector<std::vector<Row>> batch = std::move(pending_);
            pending_.clear();
            lock.unlock();
            batch.clear();  // the freeing itself, outside the lock
            lock.lock();
            if (stopping_ && pending_.empty()) return;
        }
    }

    std::mutex mutex_;
    std::condition_variable wake_;
    std::vector<std::vector<Row>> pending_;
    bool stopping_ = false;
    std::thread worker_;
};

}  // namespace

void releaseRows(std::vector<Row>& rows) noexcept {
    if (rows.size() >= kReleasedAside && !releaserGone) {
        try {
            static RowReleaser releaser;
            releaser.hand(rows);
            return;
        } catch (...) {
            // no thread to be had (or no memory for the hand-over): free the rows here
        }
    }
    std::vector<Row>().swap(rows);
}

}  // namespace qor::ds
