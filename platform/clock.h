#pragma once

// Time as the program sees it: calendar seconds since 1970, the local
// calendar, a millisecond tick for intervals, and sleeping.

#include <cstdint>

namespace vantic {

struct LocalTime {
    int year = 1970;
    int month = 1;  // 1 to 12
    int day = 1;    // 1 to 31
    int hour = 0;   // 0 to 23
    int minute = 0;
    int second = 0;
    int weekday = 4;  // 0 Sunday to 6 Saturday
    bool operator==(const LocalTime&) const = default;
};

class Clock {
  public:
    virtual ~Clock() = default;
    [[nodiscard]] virtual std::int64_t Now() const = 0;
    [[nodiscard]] virtual LocalTime ToLocal(std::int64_t seconds) const = 0;
    [[nodiscard]] LocalTime LocalNow() const { return ToLocal(Now()); }
    // Milliseconds from an arbitrary start; wraps around after 49.7 days.
    [[nodiscard]] virtual std::uint32_t TickMs() const = 0;
    virtual void Sleep(int milliseconds) = 0;
};

}  // namespace vantic
