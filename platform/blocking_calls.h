#pragma once

// Calls that block on the network. Every request to the server goes
// through RunRequest, which runs it on the calling thread: an operation's
// own thread (see operation_runner.h), a refresh worker or a console tool,
// never a nested wait of the windows' thread. A test may route the
// requests of its thread through a service of its own (SetRequestCalls) to
// see them.

#include <functional>

namespace vantic {

class BlockingCalls {
  public:
    virtual ~BlockingCalls() = default;
    // Runs call to its end. tick, when given, runs on the calling thread
    // every so often while it waits (to show progress) and once at the end.
    virtual void Run(const std::function<void()>& call, const std::function<void()>& tick) = 0;
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
};

// Routes the requests made on the calling thread through calls; other
// threads' requests run directly. Null routes every request directly.
void SetRequestCalls(BlockingCalls* calls);
// Runs one request (see above).
void RunRequest(const std::function<void()>& call, const std::function<void()>& tick = {});

}  // namespace vantic
