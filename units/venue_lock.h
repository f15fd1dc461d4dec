#pragma once

// The unit list's lock, shared by the user-interface thread and refresh
// workers. It is re-entrant (a thread that holds it may take it again) and
// never blocks: a worker that finds it held elsewhere sleeps 50 ms and
// tries again; the user-interface thread dispatches its pending window
// messages every millisecond while it waits. The dispatching matters: a
// worker that holds the lock fills the list control, whose calls run on
// the user-interface thread one at a time, so each of them would otherwise
// wait for that thread's next dispatch.
//
// Workers keep the lock alive after the list is gone; the list retires it
// first, under the lock, so a worker that gets the lock later knows to
// leave the list alone.

#include <atomic>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <thread>

namespace vantic {

class WindowSystem;

class VenueLock {
  public:
    static constexpr std::chrono::milliseconds kWorkerRetryWait{50};
    static constexpr std::chrono::milliseconds kUiPumpWait{1};

    // The calling thread is taken as the user-interface thread, the one
    // whose messages windows pumps.
    explicit VenueLock(WindowSystem& windows);
    VenueLock(const VenueLock&) = delete;
    VenueLock& operator=(const VenueLock&) = delete;

    void Lock();
    // Only the holder's calls count; others are ignored.
    void Unlock();

    // Marks the list as gone; call while holding the lock.
    void Retire() { retired_ = true; }
    // Whether the list is gone; meaningful while holding the lock.
    [[nodiscard]] bool Retired() const { return retired_; }

    // How often a thread found the lock held by another and waited; lets a
    // test see a thread waiting without timing it.
    [[nodiscard]] std::int64_t Waits() const { return waits_; }

  private:
    [[nodiscard]] bool TryTake();

    WindowSystem& windows_;
    const std::thread::id uiThread_;
    std::mutex mutex_;
    std::int32_t holdCount_ = 0;
    std::thread::id holder_;
    bool retired_ = false;
    std::atomic<std::int64_t> waits_{0};
};

// Holds the lock for a scope.
class VenueLockHold {
  public:
    explicit VenueLockHold(VenueLock& lock) : lock_(lock) { lock_.Lock(); }
    ~VenueLockHold() { lock_.Unlock(); }
    VenueLockHold(const VenueLockHold&) = delete;
    VenueLockHold& operator=(const VenueLockHold&) = delete;

  private:
    VenueLock& lock_;
};

}  // namespace vantic
