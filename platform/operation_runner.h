#pragma once

// The operator's operations: every command, button, double-click and drop
// of the main window runs one, and so do the start-up fetch of the units
// and the update checks. One runs at a time. A realisation may run the
// operation's sequential code on a thread of its own, so the windows stay
// live while it waits for a server; everything it asks of the windows then
// happens on their thread, and `ended` runs there once it is over.

#include <deque>
#include <functional>
#include <thread>

#include "platform/connection_watch.h"

namespace vantic {

using Operation = std::function<void()>;

class OperationRunner {
  public:
    virtual ~OperationRunner() = default;
    // Starts operation unless one runs (false: the command is ignored).
    [[nodiscard]] virtual bool Start(Operation operation) = 0;
    // Runs operation once those started or queued before it have ended.
    virtual void Queue(Operation operation) = 0;
    [[nodiscard]] virtual bool Running() const = 0;
    // Ends the running operation's requests at once; it goes on as one the
    // operator cancelled (no message, nothing more sent).
    virtual void CancelRunning() = 0;
    // Runs after each operation has ended (on the windows' thread).
    virtual void SetOnEnded(std::function<void()> ended) = 0;
    // Drops the queued operations, cancels a running one and returns once
    // it has ended: what it works on is about to go.
    virtual void Finish() = 0;
};

// Runs each operation at once, on the calling thread: the console tools and
// the tests, where the logic stays sequential.
class InlineOperations final : public OperationRunner {
  public:
    bool Start(Operation operation) override {
        if (running_) {
            return false;
        }
        RunNow(operation);
        while (!queued_.empty()) {
            Operation next = std::move(queued_.front());
            queued_.pop_front();
            RunNow(next);
        }
        return true;
    }
    void Queue(Operation operation) override {
        if (running_) {
            queued_.push_back(std::move(operation));
            return;
        }
        (void)Start(std::move(operation));
    }
    [[nodiscard]] bool Running() const override { return running_; }
    void CancelRunning() override {
        if (running_) {
            CancelRequests(std::this_thread::get_id());
        }
    }
    void SetOnEnded(std::function<void()> ended) override { ended_ = std::move(ended); }
    void Finish() override {
        queued_.clear();
        CancelRunning();
    }

  private:
    void RunNow(const Operation& operation) {
        running_ = true;
        operation();
        running_ = false;
        ResumeRequests(std::this_thread::get_id());
        if (ended_) {
            ended_();
        }
    }

    bool running_ = false;
    std::deque<Operation> queued_;
    std::function<void()> ended_;
};

}  // namespace vantic
