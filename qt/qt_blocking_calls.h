#pragma once

// Blocking calls on Qt: the call runs on a worker thread while the
// user-interface thread runs an event loop that paints and runs timers but
// holds the user's input until the call ends. A call that lasts more than
// a moment shows the busy cursor.

#include "platform/blocking_calls.h"

namespace vantic {

class QtBlockingCalls final : public BlockingCalls {
  public:
    void Run(const std::function<void()>& call, const std::function<void()>& tick) override;
    [[nodiscard]] bool Waiting() const override { return waits_ > 0; }

  private:
    int waits_ = 0;
};

}  // namespace vantic
