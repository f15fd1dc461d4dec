#pragma once

// Starting a thread its caller owns: the returned std::jthread asks the
// thread to stop and joins it when it goes. SystemThreads() starts real
// ones; a test hands a starter that refuses to the code under test to see
// how it copes.

#include <functional>
#include <optional>
#include <stop_token>
#include <thread>

namespace vantic {

using ThreadBody = std::function<void(std::stop_token)>;

class ThreadStarter {
  public:
    virtual ~ThreadStarter() = default;
    // None when the thread cannot be started; body is then not called.
    [[nodiscard]] virtual std::optional<std::jthread> Start(ThreadBody body) = 0;
};

// The system's threads.
[[nodiscard]] ThreadStarter& SystemThreads();

// SystemThreads().Start(body).
[[nodiscard]] std::optional<std::jthread> StartThread(ThreadBody body);

}  // namespace vantic
