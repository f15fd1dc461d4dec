#include "platform/threads.h"

#include <atomic>
#include <system_error>

namespace vantic {

namespace {

std::atomic<bool> gStartFails{false};

}  // namespace

std::optional<std::jthread> StartThread(std::function<void(std::stop_token)> body) {
    if (!body || gStartFails.load()) {
        return std::nullopt;
    }
    // The standard reports a thread the system refuses only by throwing.
    try {
        return std::jthread(std::move(body));
    } catch (const std::system_error&) {
        return std::nullopt;
    }
}

void SetThreadStartFailsForTesting(bool fails) {
    gStartFails.store(fails);
}

}  // namespace vantic
