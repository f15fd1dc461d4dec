#pragma once

// The window side that the logic drives directly: the message pump,
// enabling windows, finding a dialog's items and lists, window geometry and
// the placement of top-level windows.

#include <algorithm>
#include <chrono>
#include <memory>
#include <string>
#include <thread>

#include "platform/geometry.h"
#include "platform/window.h"

namespace vantic {

class ListControl;

// Geometry of windows in pixels. Client rectangles start at (0, 0).
class WindowGeometry {
  public:
    virtual ~WindowGeometry() = default;
    // The outer rectangle in screen coordinates.
    [[nodiscard]] virtual Rect ScreenRect(WindowId window) const = 0;
    [[nodiscard]] virtual Rect ClientRect(WindowId window) const = 0;
    // The child's outer rectangle in its parent's client coordinates.
    [[nodiscard]] virtual Rect RectInParent(WindowId child) const = 0;
    // Moves and sizes a child without changing the stacking order.
    virtual void SetRectInParent(WindowId child, const Rect& rect) = 0;
    // Sets a window's outer size; its position stays.
    virtual void ResizeOuter(WindowId window, int width, int height) = 0;
    [[nodiscard]] virtual WindowId Parent(WindowId window) const = 0;
    // A dialog's item by its id; kNoWindow when there is none.
    [[nodiscard]] virtual WindowId Item(WindowId dialog, int itemId) const = 0;
};

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
    // The list control that is item itemId of dialog; null when there is none.
    [[nodiscard]] virtual ListControl* FindList(WindowId dialog, int itemId) = 0;
    // Shows text (8-bit) in item itemId of dialog: a label, button or text
    // box. Nothing happens when the dialog has no such item.
    virtual void SetItemText(WindowId dialog, int itemId, const std::string& text) = 0;
    // The placement of a top-level window; null for kNoWindow.
    [[nodiscard]] virtual std::unique_ptr<PlacedWindow> Placement(WindowId window) = 0;
};

}  // namespace vantic
