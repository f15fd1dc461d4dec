#pragma once

// A clock that moves only when the test moves it. Sleeping advances it.
// Local time is UTC, so dates do not depend on the machine.

#include <cstdint>
#include <vector>

#include "platform/clock.h"

namespace vantic::testing {

class ManualClock final : public Clock {
  public:
    [[nodiscard]] std::int64_t Now() const override;
    [[nodiscard]] LocalTime ToLocal(std::int64_t seconds) const override;
    [[nodiscard]] std::uint32_t TickMs() const override;
    void Sleep(int milliseconds) override;

    void Advance(std::int64_t milliseconds);
    void SetNow(std::int64_t seconds);
    void SetTick(std::uint32_t tick);
    [[nodiscard]] const std::vector<int>& Sleeps() const { return sleeps_; }

  private:
    std::int64_t seconds_ = 1'700'000'000;
    std::int64_t msIntoSecond_ = 0;
    std::uint32_t tick_ = 1'000'000;
    std::vector<int> sleeps_;
};

}  // namespace vantic::testing
