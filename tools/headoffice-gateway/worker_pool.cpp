#include "worker_pool.h"

namespace qor::headoffice {

WorkerPool::WorkerPool(int threads) {
    threads_.reserve(static_cast<std::size_t>(threads));
    for (int i = 0; i < threads; ++i) threads_.emplace_back([this] { work(); });
}

WorkerPool::~WorkerPool() {
    {
        std::lock_guard lock(mutex_);
        ending_ = true;
    }
    wake_.notify_all();
    for (std::thread& thread : threads_) thread.join();
}

void WorkerPool::post(std::function<void()> job) {
    {
        std::lock_guard lock(mutex_);
        jobs_.push_back(std::move(job));
    }
    wake_.notify_one();
}

std::size_t WorkerPool::waiting() const {
    std::lock_guard lock(mutex_);
    return jobs_.size();
}

void WorkerPool::work() {
    for (;;) {
        std::function<void()> job;
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [this] { return ending_ || !jobs_.empty(); });
            if (jobs_.empty()) return;  // ending, nothing left
            job = std::move(jobs_.front());
            jobs_.pop_front();
        }
        job();
    }
}

}  // namespace qor::headoffice
