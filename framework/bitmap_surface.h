#pragma once

// A 32-bit, top-down pixel buffer: one 0x00RRGGBB word per pixel, rows
// without gaps. The logic fills, reads and resamples it; it reaches a
// window only through the desktop it was made with (Displays), which draws
// it into a window or reads a window into it.

#include <cstdint>
#include <vector>

#include "framework/cpimage.h"
#include "platform/geometry.h"
#include "platform/window.h"

namespace vantic {

[[nodiscard]] constexpr std::uint32_t PackRgb(int r, int g, int b) {
    return (static_cast<std::uint32_t>(r << 16) & 0xFFFFFFu) |
           (static_cast<std::uint32_t>((g << 8) | (b & 0xFF)) & 0xFFFFu);
}

// A surface has no buffer until Create; without one every operation does
// nothing (Pixel reads 0, Draw returns 0).
class BitmapSurface {
  public:
    BitmapSurface() = default;
    // A surface that draws and captures through screen, which must outlive it.
    explicit BitmapSurface(Displays& screen) : screen_(&screen) {}
    BitmapSurface(int width, int height) { Create(width, height); }

    // A new width x height buffer, black; none for a size that is not positive.
    void Create(int width, int height);
    [[nodiscard]] bool HasBuffer() const { return !pixels_.empty(); }
    // The window Draw draws into when it is given none.
    void SetWindow(WindowId window) { window_ = window; }

    // Does nothing when the size is unchanged; otherwise the contents are
    // new and undefined (here: black). Callers compare Size() with what they
    // asked for to detect failure.
    void Resize(int width, int height);
    void Fill(std::uint32_t colour);
    [[nodiscard]] std::uint32_t Pixel(int x, int y) const;
    void SetPixel(int x, int y, std::uint32_t colour);
    // Resamples source into this surface, averaging the three colour bytes.
    [[nodiscard]] bool ResampleFrom(const BitmapSurface& source);

    // Copies cx x cy pixels from (srcX, srcY) to (x, y) of target, or of the
    // default window when target is kNoWindow; a cx or cy of 0 means the
    // surface's width or height. 0 without a buffer, a desktop or a window;
    // else 1 when the desktop drew it.
    int Draw(int x, int y, int srcX = 0, int srcY = 0, int cx = 0, int cy = 0,
             WindowId target = kNoWindow);
    // Sizes the surface to window's client area (clientOnly) or whole window
    // (kNoWindow: the whole desktop) and copies that in. False, and nothing
    // changed, without a buffer or a desktop, or when the window cannot be read.
    bool CaptureWindow(WindowId window, bool clientOnly);

    [[nodiscard]] ImageSize Size() const { return {width_, height_}; }
    [[nodiscard]] int Width() const { return width_; }
    [[nodiscard]] int Height() const { return height_; }
    [[nodiscard]] const std::vector<std::uint32_t>& Pixels() const { return pixels_; }
    [[nodiscard]] std::vector<std::uint32_t>& Pixels() { return pixels_; }

  private:
    Displays* screen_ = nullptr;
    WindowId window_ = kNoWindow;
    int width_ = 0;
    int height_ = 0;
    std::vector<std::uint32_t> pixels_;
};

}  // namespace vantic
