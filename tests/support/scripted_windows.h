#pragma once

// Windows in memory: a tree of rectangles with enabled flags, and a
// message pump that counts its calls and runs the test's hooks.

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/window_system.h"

namespace vantic::testing {

// Client area insets of a window with a frame.
struct WindowFrame {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

class ScriptedWindows final : public WindowSystem {
  public:
    ScriptedWindows();
    ~ScriptedWindows() override;

    // A top-level window (rect in screen coordinates) or a child (rect in
    // its parent's client coordinates).
    WindowId NewWindow(WindowId parent, const Rect& rect, WindowFrame frame = WindowFrame());
    // Runs on every PumpMessages.
    void OnPump(std::function<void()> hook);
    [[nodiscard]] int PumpCount() const { return pumps_; }
    // The rectangle as stored: screen for top-level windows, else in the parent.
    [[nodiscard]] Rect StoredRect(WindowId window) const;
    void SetStoredRect(WindowId window, const Rect& rect);

    // WindowSystem
    void PumpMessages() override;
    void SetEnabled(WindowId window, bool enabled) override;
    [[nodiscard]] bool IsEnabled(WindowId window) const override;
    [[nodiscard]] std::unique_ptr<PlacedWindow> Placement(WindowId window) override;

    // The outer rectangle in screen coordinates.
    [[nodiscard]] Rect ScreenRect(WindowId window) const;

  private:
    struct Node;
    [[nodiscard]] Node* NodeOf(WindowId window) const;

    std::vector<std::unique_ptr<Node>> nodes_;
    std::vector<std::function<void()>> pumpHooks_;
    int pumps_ = 0;
};

}  // namespace vantic::testing
