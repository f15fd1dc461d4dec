#pragma once

// Routes the calling thread's requests through itself, as the program
// routes the window's, and counts the clock's sleeps made inside them:
// pauses the window paints through.

#include <cstddef>

#include "platform/blocking_calls.h"
#include "tests/support/manual_clock.h"

namespace vantic::testing {

class PauseCounter final : public BlockingCalls {
  public:
    explicit PauseCounter(ManualClock& clock) : clock_(clock) { SetRequestCalls(this); }
    ~PauseCounter() override { SetRequestCalls(nullptr); }
    PauseCounter(const PauseCounter&) = delete;
    PauseCounter& operator=(const PauseCounter&) = delete;

    void Run(const std::function<void()>& call, const std::function<void()>& tick) override {
        const std::size_t before = clock_.Sleeps().size();
        call();
        pausesInside += clock_.Sleeps().size() - before;
        if (tick) {
            tick();
        }
    }

    std::size_t pausesInside = 0;

  private:
    ManualClock& clock_;
};

}  // namespace vantic::testing
