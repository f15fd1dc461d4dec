#pragma once

// The unit list's lock, shared by the user-interface thread and refresh
// workers. It is re-entrant (a thread that holds it may take it again). A
// worker that finds it held elsewhere sleeps until it is released (50 ms
// at most before it looks again). The user-interface thread never blocks:
// while it waits it keeps dispatching its window messages, and the release
// wakes it. The dispatching matters: a worker that holds the lock hands
// its changes to the list control, whose calls run on the user-interface
// thread, so they would otherwise wait for the end of the wait.
//
// While the user-interface thread waits, the user's input stays queued and
// the program starts no sort, deployment or refresh of its own (see
// UiWaiting), so nothing runs nested inside the wait.
//
// Workers keep the lock alive after the list is gone; the list retires it
// first, under the lock, so a worker that gets the lock later knows to
// leave the list alone.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>

#include "core/scoped_hold.h"

namespace vantic {

class WindowSystem;

class VenueLock {
  public:
    static constexpr std::chrono::milliseconds kWorkerRetryWait{50};
    // The longest the user-interface thread sleeps before it looks again,
    // should a wake go astray.
    static constexpr std::chrono::milliseconds kUiWaitLimit{50};

    // The calling thread is taken as the user-interface thread, the one
    // whose messages windows pumps.
    explicit VenueLock(WindowSystem& windows);
    VenueLock(const VenueLock&) = delete;
    VenueLock& operator=(const VenueLock&) = delete;

    void Lock();
    // Only the holder's calls count; others are ignored.
    void Unlock();

    // On the user-interface thread: dispatches messages as a lock wait does
    // until done() holds. Another thread makes done() true and then calls
    // WakeUi(). Elsewhere it only waits.
    void WaitUntil(const std::function<bool()>& done);
    void WakeUi();
    // On the user-interface thread: dispatches the messages already waiting
    // as a wait does (paints and timers, not the user's input), so a long
    // change of the list lets the window paint. Elsewhere it does nothing.
    void LetWindowsPaint();
    // Whether the user-interface thread is inside a wait of this lock; read
    // it on that thread.
    [[nodiscard]] bool UiWaiting() const { return uiWaits_ > 0; }

    // Marks the list as gone; call while holding the lock.
    void Retire() { retired_ = true; }
    // Whether the list is gone; meaningful while holding the lock.
    [[nodiscard]] bool Retired() const { return retired_; }

    // How often a thread found the lock held by another and waited; lets a
    // test see a thread waiting without timing it.
    [[nodiscard]] std::int64_t Waits() const { return waits_; }

  private:
    [[nodiscard]] bool TryTake();
    [[nodiscard]] bool OnUiThread() const { return std::this_thread::get_id() == uiThread_; }

    WindowSystem& windows_;
    const std::thread::id uiThread_;
    std::mutex mutex_;
    std::condition_variable released_;
    std::int32_t holdCount_ = 0;
    std::thread::id holder_;
    // Raised by the user-interface thread for its waits; others read it to
    // know whether to wake it (and that the window system is still there).
    std::atomic<int> uiWaits_{0};
    bool retired_ = false;
    std::atomic<std::int64_t> waits_{0};
};

// Holds the lock for a scope.
using VenueLockHold = ScopedHold<VenueLock>;

}  // namespace vantic
