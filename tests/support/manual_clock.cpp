#include "tests/support/manual_clock.h"

#include <ctime>

namespace vantic::testing {

std::int64_t ManualClock::Now() const {
    return seconds_;
}

LocalTime ManualClock::ToLocal(std::int64_t seconds) const {
    const std::time_t when = static_cast<std::time_t>(seconds);
    std::tm parts{};
    gmtime_r(&when, &parts);
    return LocalTime{parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday, parts.tm_hour,
                     parts.tm_min,         parts.tm_sec,     parts.tm_wday};
}

std::uint32_t ManualClock::TickMs() const {
    return tick_;
}

void ManualClock::Sleep(int milliseconds) {
    sleeps_.push_back(milliseconds);
    if (milliseconds > 0) {
        Advance(milliseconds);
    }
}

void ManualClock::Advance(std::int64_t milliseconds) {
    tick_ = static_cast<std::uint32_t>(tick_ + static_cast<std::uint64_t>(milliseconds));
    msIntoSecond_ += milliseconds;
    seconds_ += msIntoSecond_ / 1000;
    msIntoSecond_ %= 1000;
}

void ManualClock::SetNow(std::int64_t seconds) {
    seconds_ = seconds;
    msIntoSecond_ = 0;
}

void ManualClock::SetTick(std::uint32_t tick) {
    tick_ = tick;
}

}  // namespace vantic::testing
