#pragma once

// Windows in memory: a tree of rectangles with dialog items, enabled
// flags and lists, and a message pump that counts its calls and runs the
// test's hooks.

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

class ScriptedWindows final : public WindowSystem, public WindowGeometry {
  public:
    ScriptedWindows();
    ~ScriptedWindows() override;

    // A top-level window (rect in screen coordinates) or a child (rect in
    // its parent's client coordinates).
    WindowId NewWindow(WindowId parent, const Rect& rect, WindowFrame frame = WindowFrame());
    // A child of dialog that is its item itemId.
    WindowId NewItem(WindowId dialog, int itemId, const Rect& rect);
    void SetList(WindowId dialog, int itemId, ListControl* list);
    // The text last set on the item; empty when none was.
    [[nodiscard]] std::string ItemText(WindowId dialog, int itemId) const;
    // Called after a window's outer size changed through ResizeOuter.
    void OnResize(WindowId window, std::function<void()> handler);
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
    [[nodiscard]] ListControl* FindList(WindowId dialog, int itemId) override;
    void SetItemText(WindowId dialog, int itemId, const std::string& text) override;
    [[nodiscard]] std::unique_ptr<PlacedWindow> Placement(WindowId window) override;

    // WindowGeometry
    [[nodiscard]] Rect ScreenRect(WindowId window) const override;
    [[nodiscard]] Rect ClientRect(WindowId window) const override;
    [[nodiscard]] Rect RectInParent(WindowId child) const override;
    void SetRectInParent(WindowId child, const Rect& rect) override;
    void ResizeOuter(WindowId window, int width, int height) override;
    [[nodiscard]] WindowId Parent(WindowId window) const override;
    [[nodiscard]] WindowId Item(WindowId dialog, int itemId) const override;

  private:
    struct Node;
    [[nodiscard]] Node* NodeOf(WindowId window) const;

    std::vector<std::unique_ptr<Node>> nodes_;
    std::vector<std::function<void()>> pumpHooks_;
    int pumps_ = 0;
};

}  // namespace vantic::testing
