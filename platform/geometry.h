#pragma once

// Window geometry seen by the logic: a window's normal (restored)
// rectangle, the monitors, and a list's column widths. The settings store
// saves and restores them through these interfaces, so its rules are
// testable without a window.

#include <optional>
#include <vector>

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

// The desktop the windows are placed on.
class Displays {
  public:
    virtual ~Displays() = default;
    // Every monitor's rectangle; none when they cannot be enumerated.
    [[nodiscard]] virtual std::optional<std::vector<Rect>> MonitorRects() const = 0;
    [[nodiscard]] virtual Rect WorkArea() const = 0;
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
