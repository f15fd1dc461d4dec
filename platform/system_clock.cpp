#include "platform/system_clock.h"

#include <chrono>
#include <ctime>
#include <thread>

namespace vantic {

std::int64_t SystemClock::Now() const {
    return static_cast<std::int64_t>(std::time(nullptr));
}

LocalTime SystemClock::ToLocal(std::int64_t seconds) const {
    const std::time_t when = static_cast<std::time_t>(seconds);
    std::tm parts{};
    if (localtime_r(&when, &parts) == nullptr) {
        return LocalTime{};
    }
    return LocalTime{parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday, parts.tm_hour,
                     parts.tm_min,         parts.tm_sec,     parts.tm_wday};
}

std::uint32_t SystemClock::TickMs() const {
    const auto since = std::chrono::steady_clock::now().time_since_epoch();
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(since).count();
    return static_cast<std::uint32_t>(static_cast<std::uint64_t>(ms));
}

void SystemClock::Sleep(int milliseconds) {
    if (milliseconds > 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
    }
}

}  // namespace vantic
