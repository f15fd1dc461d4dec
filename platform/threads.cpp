#include "platform/threads.h"

#include <system_error>

namespace vantic {

namespace {

class StandardThreads final : public ThreadStarter {
  public:
    [[nodiscard]] std::optional<std::jthread> Start(ThreadBody body) override {
        if (!body) {
            return std::nullopt;
        }
        // The standard reports a thread the system refuses only by throwing.
        try {
            return std::jthread(std::move(body));
        } catch (const std::system_error&) {
            return std::nullopt;
        }
    }
};

}  // namespace

ThreadStarter& SystemThreads() {
    static StandardThreads threads;
    return threads;
}

std::optional<std::jthread> StartThread(ThreadBody body) {
    return SystemThreads().Start(std::move(body));
}

}  // namespace vantic
