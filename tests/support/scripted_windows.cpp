#include "tests/support/scripted_windows.h"

namespace vantic::testing {

struct ScriptedWindows::Node {
    WindowId parent = kNoWindow;
    Rect rect;
    WindowFrame frame;
    bool enabled = true;
};

namespace {

class ScriptedPlacement final : public PlacedWindow {
  public:
    ScriptedPlacement(ScriptedWindows& windows, WindowId window)
        : windows_(windows), window_(window) {}
    [[nodiscard]] std::optional<Rect> NormalRect() const override {
        return windows_.ScreenRect(window_);
    }
    void MoveTo(int x, int y) override {
        const Rect now = windows_.StoredRect(window_);
        windows_.SetStoredRect(window_, Rect{x, y, x + now.Width(), y + now.Height()});
    }
    void MoveResize(int x, int y, int width, int height) override {
        windows_.SetStoredRect(window_, Rect{x, y, x + width, y + height});
    }

  private:
    ScriptedWindows& windows_;
    WindowId window_;
};

}  // namespace

ScriptedWindows::ScriptedWindows() = default;
ScriptedWindows::~ScriptedWindows() = default;

ScriptedWindows::Node* ScriptedWindows::NodeOf(WindowId window) const {
    for (const auto& node : nodes_) {
        if (reinterpret_cast<WindowId>(node.get()) == window) {
            return node.get();
        }
    }
    return nullptr;
}

WindowId ScriptedWindows::NewWindow(WindowId parent, const Rect& rect, WindowFrame frame) {
    auto node = std::make_unique<Node>();
    node->parent = parent;
    node->rect = rect;
    node->frame = frame;
    nodes_.push_back(std::move(node));
    return reinterpret_cast<WindowId>(nodes_.back().get());
}

void ScriptedWindows::OnPump(std::function<void()> hook) {
    pumpHooks_.push_back(std::move(hook));
}

Rect ScriptedWindows::StoredRect(WindowId window) const {
    const Node* node = NodeOf(window);
    return node == nullptr ? Rect{} : node->rect;
}

void ScriptedWindows::SetStoredRect(WindowId window, const Rect& rect) {
    if (Node* node = NodeOf(window)) {
        node->rect = rect;
    }
}

void ScriptedWindows::PumpMessages() {
    ++pumps_;
    const auto hooks = pumpHooks_;  // a hook may add hooks
    for (const auto& hook : hooks) {
        hook();
    }
}

void ScriptedWindows::SetEnabled(WindowId window, bool enabled) {
    if (Node* node = NodeOf(window)) {
        node->enabled = enabled;
    }
}

bool ScriptedWindows::IsEnabled(WindowId window) const {
    const Node* node = NodeOf(window);
    return node != nullptr && node->enabled;
}

std::unique_ptr<PlacedWindow> ScriptedWindows::Placement(WindowId window) {
    if (NodeOf(window) == nullptr) {
        return nullptr;
    }
    return std::make_unique<ScriptedPlacement>(*this, window);
}

Rect ScriptedWindows::ScreenRect(WindowId window) const {
    const Node* node = NodeOf(window);
    if (node == nullptr) {
        return {};
    }
    if (node->parent == kNoWindow) {
        return node->rect;
    }
    const Node* parent = NodeOf(node->parent);
    const Rect parentRect = ScreenRect(node->parent);
    const int x = parentRect.left + (parent ? parent->frame.left : 0) + node->rect.left;
    const int y = parentRect.top + (parent ? parent->frame.top : 0) + node->rect.top;
    return Rect{x, y, x + node->rect.Width(), y + node->rect.Height()};
}

}  // namespace vantic::testing
