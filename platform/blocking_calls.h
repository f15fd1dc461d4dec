#pragma once

// Calls that block on the network. Asked from the user-interface thread,
// the call runs on a worker while the windows keep painting under a busy
// cursor and the user's input waits until it ends; the caller still sees
// one synchronous call. Elsewhere (a refresh worker, a console tool) the
// call simply runs.
//
// Every request to the server goes through RunRequest, which takes the
// service the application set with SetRequestCalls.

#include <functional>

namespace vantic {

class BlockingCalls {
  public:
    virtual ~BlockingCalls() = default;
    // Runs call to its end. tick, when given, runs on the calling thread
    // every so often while it waits (to show progress) and once at the end.
    virtual void Run(const std::function<void()>& call, const std::function<void()>& tick) = 0;
    // A call from the user-interface thread is running. A command dispatched
    // now would run nested inside the wait and must be ignored.
    [[nodiscard]] virtual bool Waiting() const = 0;
};

// Runs the call at once, on the calling thread.
class DirectCalls final : public BlockingCalls {
  public:
    void Run(const std::function<void()>& call, const std::function<void()>& tick) override {
        call();
        if (tick) {
            tick();
        }
    }
    [[nodiscard]] bool Waiting() const override { return false; }
};

// Routes the requests made on the calling thread (the user-interface
// thread) through calls; other threads' requests run directly. Null routes
// every request directly.
void SetRequestCalls(BlockingCalls* calls);
// Runs one request (see above).
void RunRequest(const std::function<void()>& call, const std::function<void()>& tick = {});

}  // namespace vantic
