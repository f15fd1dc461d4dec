#pragma once

// Keeps junk from flooding the connection log: the lines of connections
// that never logged in (a garbage or silent greeting, a wrong password, a
// refused attempt, an upload refused for want of a slot) are written as usual for the first few of
// one outcome from one peer address in a minute; the rest of that minute are counted and reported
// in one line with the count when the minute is over.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vantic::server {

// Outcomes of connections that ended before a login was accepted.
[[nodiscard]] bool IsJunkOutcome(std::string_view outcome);

class LogThrottle {
  public:
    using Clock = std::chrono::steady_clock;
    struct Policy {
        std::size_t freeLines = 20;
        std::chrono::seconds window{60};
        std::size_t maxKeys = 4096;
    };

    explicit LogThrottle(Policy policy) : policy_(policy) {}
    LogThrottle() : LogThrottle(Policy{}) {}

    // True when the line is to be written; false when it is only counted.
    [[nodiscard]] bool Admit(std::string_view address, std::string_view outcome,
                             Clock::time_point now);
    // The report lines ("peer=A outcome=O repeated=N seconds=S") of the
    // windows that are over, or of all windows when all is set; each window
    // is reported once.
    [[nodiscard]] std::vector<std::string> Reports(Clock::time_point now, bool all);

  private:
    struct Window {
        Clock::time_point began;
        std::size_t lines = 0;
        std::uint64_t counted = 0;
    };
    static std::string Report(const std::pair<std::string, std::string>& key, const Window& window,
                              Clock::time_point now);

    const Policy policy_;
    std::map<std::pair<std::string, std::string>, Window> windows_;
    std::vector<std::string> pending_;  // reports of windows Admit restarted
};

}  // namespace vantic::server
