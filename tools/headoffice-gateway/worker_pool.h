#pragma once
// The threads that run statements on the head-office database. Only complete, checked
// requests reach them, so a store on a slow or silent line never holds one.
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace qor::headoffice {

class WorkerPool {
public:
    explicit WorkerPool(int threads);
    // Runs every job already queued, then joins the threads.
    ~WorkerPool();
    WorkerPool(const WorkerPool&) = delete;
    WorkerPool& operator=(const WorkerPool&) = delete;

    // Queues a job; the next free thread runs it, in the order queued. A job must not throw.
    void post(std::function<void()> job);
    // Jobs queued and not yet started.
    std::size_t waiting() const;

private:
    void work();

    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<std::function<void()>> jobs_;
    bool ending_ = false;
    std::vector<std::thread> threads_;
};

}  // namespace qor::headoffice
