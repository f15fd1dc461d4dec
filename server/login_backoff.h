#pragma once

// Back-off for repeated failed logins, kept per key (a peer address or a
// login): the first few failures cost nothing more; after them the key must
// wait before its next password check, a wait that doubles with each
// failure up to a cap; a key that keeps failing at the cap is refused
// outright for a while. Attempts inside a wait are refused at once without
// a check, so a guessing client gets a handful of checks a minute whatever
// it sends. A key that stays quiet long enough is forgotten.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

namespace vantic::server {

struct BackoffPolicy {
    int freeFailures = 5;
    std::chrono::milliseconds firstDelay{250};
    std::chrono::milliseconds maxDelay{8000};
    // Failures after which the key is refused for the lockout.
    int lockoutFailures = 15;
    std::chrono::seconds lockout{60};
    std::chrono::seconds forgetAfter{600};
    std::size_t maxKeys = 8192;
};

// What a failure changed, for the one log line of a burst.
struct BackoffStep {
    enum class Kind { None, Delaying, LockedOut };
    Kind kind = Kind::None;
    int failures = 0;
    std::chrono::milliseconds wait{0};
};

class LoginBackoff {
  public:
    using Clock = std::chrono::steady_clock;

    explicit LoginBackoff(BackoffPolicy policy = {}) : policy_(policy) {}

    // False while key must wait; the refused attempt is counted.
    [[nodiscard]] bool Allowed(const std::string& key, Clock::time_point now);
    // Records a failed check. The step says when the key starts waiting
    // or is locked out, once per burst; otherwise Kind::None.
    BackoffStep Failed(const std::string& key, Clock::time_point now);
    // A correct password clears the key.
    void Succeeded(const std::string& key);
    // Attempts refused since the key's burst began.
    [[nodiscard]] std::uint64_t Refused(const std::string& key) const;

  private:
    struct Entry {
        int failures = 0;
        Clock::time_point nextAllowed;
        Clock::time_point lastSeen;
        std::uint64_t refused = 0;
    };
    void Sweep(Clock::time_point now);

    const BackoffPolicy policy_;
    mutable std::mutex lock_;
    std::map<std::string, Entry, std::less<>> entries_;
};

}  // namespace vantic::server
