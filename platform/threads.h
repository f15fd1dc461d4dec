#pragma once

// Starting a thread its caller owns: the returned std::jthread asks the
// thread to stop and joins it when it goes.

#include <functional>
#include <optional>
#include <stop_token>
#include <thread>

namespace vantic {

// None when the thread cannot be started; body is then not called.
[[nodiscard]] std::optional<std::jthread> StartThread(std::function<void(std::stop_token)> body);

// Test hook: while set, every thread start fails.
void SetThreadStartFailsForTesting(bool fails);

}  // namespace vantic
