#pragma once

// Window geometry seen by the logic: a window's normal (restored)
// rectangle, the monitors, and a list's column widths. The settings store
// saves and restores them through these interfaces, so its rules are
// testable without a window. The desktop also takes and gives pixels: a
// bitmap surface is drawn into a window, or a window read back, through it.

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/window.h"

namespace vantic {

struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    [[nodiscard]] int Width() const { return right - left; }
    [[nodiscard]] int Height() const { return bottom - top; }
    bool operator==(const Rect&) const = default;
};

// A top-level window whose placement is remembered between runs.
class PlacedWindow {
  public:
    virtual ~PlacedWindow() = default;
    // The rectangle the window has when neither minimised nor maximised.
    [[nodiscard]] virtual std::optional<Rect> NormalRect() const = 0;
    virtual void MoveTo(int x, int y) = 0;
    virtual void MoveResize(int x, int y, int width, int height) = 0;
};

// Pixels as 0x00RRGGBB words (blue in the lowest byte, the top byte
// unused), rows top to bottom without gaps.
struct PixelView {
    const std::uint32_t* pixels = nullptr;
    int width = 0;
    int height = 0;
};
struct ScreenPixels {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
};

// The desktop the windows are placed on.
class Displays {
  public:
    virtual ~Displays() = default;
    // Every monitor's rectangle; none when they cannot be enumerated.
    [[nodiscard]] virtual std::optional<std::vector<Rect>> MonitorRects() const = 0;
    [[nodiscard]] virtual Rect WorkArea() const = 0;

    // Copies the source rectangle of image to (x, y) of window's client
    // area; false when nothing was drawn. The base, a desktop without
    // windows, draws nothing.
    virtual bool DrawPixels(WindowId /*window*/, int /*x*/, int /*y*/, const PixelView& /*image*/,
                            const Rect& /*source*/) {
        return false;
    }
    // Brings window to the front and reads its client area (clientOnly) or
    // the whole window, frame included; kNoWindow reads the whole desktop.
    // None when it cannot be read, as on the base.
    [[nodiscard]] virtual std::optional<ScreenPixels> CaptureWindow(WindowId /*window*/,
                                                                    bool /*clientOnly*/) {
        return std::nullopt;
    }
};

// A list whose column widths are remembered between runs.
class ColumnWidths {
  public:
    virtual ~ColumnWidths() = default;
    // 0 when the column does not exist.
    [[nodiscard]] virtual int ColumnWidth(int column) const = 0;
    virtual void SetColumnWidth(int column, int width) = 0;
};

}  // namespace vantic
