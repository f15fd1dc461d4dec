#pragma once

// Closes connections at a later time without holding a worker: a failed
// login is answered (by the close) only once a password check would have
// ended, so the answer's timing tells no stranger whether the login exists
// or whether the server checked at all, and a guessing client waits for
// its answer while the server spends nothing on it.

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <map>
#include <mutex>
#include <thread>

namespace vantic::server {

class DelayedClose {
  public:
    using Clock = std::chrono::steady_clock;

    explicit DelayedClose(std::size_t maxHeld = 8192);
    ~DelayedClose();
    DelayedClose(const DelayedClose&) = delete;
    DelayedClose& operator=(const DelayedClose&) = delete;

    // Takes fd and closes it at when (at once when the table is full or
    // the time has come).
    void CloseAt(int fd, Clock::time_point when);
    // Closes everything held now.
    void Stop();

  private:
    void Run();

    const std::size_t maxHeld_;
    std::mutex lock_;
    std::condition_variable changed_;
    std::multimap<Clock::time_point, int> held_;
    bool stopping_ = false;
    std::thread thread_;
};

}  // namespace vantic::server
