#pragma once

// Repeating timers that tick on the user-interface thread.

#include <functional>
#include <memory>

namespace vantic {

class Timer {
  public:
    // Destroying the object stops the timer.
    virtual ~Timer() = default;
};

class TimerService {
  public:
    virtual ~TimerService() = default;
    // Calls onTick every periodMs milliseconds until the timer is destroyed.
    [[nodiscard]] virtual std::unique_ptr<Timer> Start(int periodMs,
                                                       std::function<void()> onTick) = 0;
};

}  // namespace vantic
