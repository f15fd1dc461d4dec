#pragma once

// Waiting in tests for something another thread or process does: poll a
// condition until it holds or a deadline passes. The deadline is generous
// (the suites run under sanitizers, several at once): a test that waits
// this long has failed, and one that passes never comes near it.

#include <chrono>
#include <functional>
#include <thread>

namespace vantic::testing {

inline constexpr std::chrono::seconds kGenerousDeadline{30};

// True once done() holds; false when the deadline passed first. between
// runs while waiting (pumping messages, say).
[[nodiscard]] inline bool WaitUntil(const std::function<bool()>& done,
                                    const std::function<void()>& between = {},
                                    std::chrono::milliseconds deadline = kGenerousDeadline) {
    const auto end = std::chrono::steady_clock::now() + deadline;
    while (!done()) {
        if (std::chrono::steady_clock::now() >= end) {
            return false;
        }
        if (between) {
            between();
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

}  // namespace vantic::testing
