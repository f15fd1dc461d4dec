#include "server/worker_pool.h"

#include <unistd.h>

namespace vantic::server {

WorkerPool::WorkerPool(std::size_t maxWorkers, std::size_t maxQueued, Job job)
    : maxWorkers_(maxWorkers == 0 ? 1 : maxWorkers), maxQueued_(maxQueued), job_(std::move(job)) {}

WorkerPool::~WorkerPool() {
    Stop();
}

bool WorkerPool::Submit(const Accepted& accepted) {
    std::lock_guard<std::mutex> hold(lock_);
    if (stopping_ || queue_.size() >= maxQueued_) {
        return false;
    }
    queue_.push_back(accepted);
    if (idle_ < queue_.size() && threads_.size() < maxWorkers_) {
        threads_.emplace_back([this] { Run(); });
    }
    wake_.notify_one();
    return true;
}

void WorkerPool::Run() {
    std::unique_lock<std::mutex> hold(lock_);
    for (;;) {
        ++idle_;
        wake_.wait(hold, [this] { return stopping_ || !queue_.empty(); });
        --idle_;
        if (queue_.empty()) {
            return;  // stopping, nothing left
        }
        Accepted next = std::move(queue_.front());
        queue_.pop_front();
        hold.unlock();
        job_(std::move(next));
        hold.lock();
    }
}

void WorkerPool::Stop() {
    std::vector<std::thread> threads;
    {
        std::lock_guard<std::mutex> hold(lock_);
        if (stopping_) {
            return;
        }
        stopping_ = true;
        // Connections nobody has started on are simply closed.
        for (const Accepted& pending : queue_) {
            ::close(pending.fd);
        }
        queue_.clear();
        threads.swap(threads_);
    }
    wake_.notify_all();
    for (std::thread& thread : threads) {
        thread.join();
    }
}

std::size_t WorkerPool::Workers() const {
    std::lock_guard<std::mutex> hold(lock_);
    return threads_.size();
}

}  // namespace vantic::server
