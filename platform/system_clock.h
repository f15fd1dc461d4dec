#pragma once

// The real clock: the system's calendar time, local time zone and a
// monotonic millisecond tick.

#include "platform/clock.h"

namespace vantic {

class SystemClock final : public Clock {
  public:
    [[nodiscard]] std::int64_t Now() const override;
    [[nodiscard]] LocalTime ToLocal(std::int64_t seconds) const override;
    [[nodiscard]] std::uint32_t TickMs() const override;
    void Sleep(int milliseconds) override;
};

}  // namespace vantic
