#pragma once

// The window side that the logic drives directly: the message pump,
// enabling windows and the placement of top-level windows. What a window
// shows inside is its view's business.

#include <algorithm>
#include <chrono>
#include <memory>
#include <thread>

#include "platform/geometry.h"
#include "platform/window.h"

namespace vantic {

class WindowSystem {
  public:
    virtual ~WindowSystem() = default;
    // Dispatches every message pending for the calling thread, then returns.
    virtual void PumpMessages() = 0;
    // Waits on the user-interface thread for something to happen: dispatches
    // pending messages except the user's input (which stays queued until the
    // next PumpMessages), waiting up to limit for one to arrive or for
    // Wake(). The base pumps and naps for a millisecond.
    virtual void WaitForMessages(std::chrono::milliseconds limit) {
        PumpMessages();
        std::this_thread::sleep_for(std::min(limit, std::chrono::milliseconds(1)));
    }
    // Ends a WaitForMessages of the user-interface thread early; any thread
    // may call it, and a wake that comes before the wait ends the next one.
    virtual void Wake() {}
    virtual void SetEnabled(WindowId window, bool enabled) = 0;
    [[nodiscard]] virtual bool IsEnabled(WindowId window) const = 0;
    // The placement of a top-level window; null for kNoWindow.
    [[nodiscard]] virtual std::unique_ptr<PlacedWindow> Placement(WindowId window) = 0;
};

}  // namespace vantic
