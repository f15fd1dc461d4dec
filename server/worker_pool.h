#pragma once

// Accepted connections wait in a queue for a worker thread. Workers are
// started as needed, up to a maximum, so a few stalled or slow clients
// (each bounded by the per-piece time limits) do not hold up the rest.

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "server/greeter.h"

namespace vantic::server {

class WorkerPool {
  public:
    using Job = std::function<void(Accepted accepted)>;

    WorkerPool(std::size_t maxWorkers, std::size_t maxQueued, Job job);
    ~WorkerPool();
    WorkerPool(const WorkerPool&) = delete;
    WorkerPool& operator=(const WorkerPool&) = delete;

    // Queues a connection; false (and the caller keeps its fd) when the
    // queue is full or the pool has stopped.
    [[nodiscard]] bool Submit(const Accepted& accepted);
    // Lets running jobs finish, closes what is still queued, joins workers.
    void Stop();

    [[nodiscard]] std::size_t Workers() const;

  private:
    void Run();

    const std::size_t maxWorkers_;
    const std::size_t maxQueued_;
    const Job job_;
    mutable std::mutex lock_;
    std::condition_variable wake_;
    std::deque<Accepted> queue_;
    std::vector<std::thread> threads_;
    std::size_t idle_ = 0;
    bool stopping_ = false;
};

}  // namespace vantic::server
