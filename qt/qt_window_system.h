#pragma once

// The window side on Qt: the message pump, enabling, window placement and
// the screens.

#include "platform/geometry.h"
#include "platform/window_system.h"

namespace vantic {

class QtWindowSystem final : public WindowSystem {
  public:
    // WindowSystem
    void PumpMessages() override;
    void WaitForMessages(std::chrono::milliseconds limit) override;
    void Wake() override;
    void SetEnabled(WindowId window, bool enabled) override;
    [[nodiscard]] bool IsEnabled(WindowId window) const override;
    [[nodiscard]] std::unique_ptr<PlacedWindow> Placement(WindowId window) override;
};

class QtDisplays final : public Displays {
  public:
    [[nodiscard]] std::optional<std::vector<Rect>> MonitorRects() const override;
    [[nodiscard]] Rect WorkArea() const override;
    // Qt paints a widget only from its paint event (as a window's paint
    // handler draws): elsewhere this draws nothing and says so.
    bool DrawPixels(WindowId window, int x, int y, const PixelView& image,
                    const Rect& source) override;
    // A widget's grab for its client area; the screen for the whole window
    // (see CaptureOnScreen) and for the desktop.
    [[nodiscard]] std::optional<ScreenPixels> CaptureWindow(WindowId window,
                                                            bool clientOnly) override;
};

}  // namespace vantic
