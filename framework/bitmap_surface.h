#pragma once

// A 32-bit, top-down pixel buffer: one 0x00RRGGBB word per pixel, rows
// without gaps. Windows draw it through the platform; the logic only fills,
// reads and resamples it.

#include <cstdint>
#include <vector>

#include "framework/cpimage.h"

namespace vantic {

[[nodiscard]] constexpr std::uint32_t PackRgb(int r, int g, int b) {
    return (static_cast<std::uint32_t>(r << 16) & 0xFFFFFFu) |
           (static_cast<std::uint32_t>((g << 8) | (b & 0xFF)) & 0xFFFFu);
}

class BitmapSurface {
  public:
    BitmapSurface() = default;
    BitmapSurface(int width, int height) { Resize(width, height); }

    // Does nothing when the size is unchanged; otherwise the contents are
    // new and undefined (here: black). Callers compare Size() with what they
    // asked for to detect failure.
    void Resize(int width, int height);
    void Fill(std::uint32_t colour);
    [[nodiscard]] std::uint32_t Pixel(int x, int y) const;
    void SetPixel(int x, int y, std::uint32_t colour);
    // Resamples source into this surface, averaging the three colour bytes.
    [[nodiscard]] bool ResampleFrom(const BitmapSurface& source);

    [[nodiscard]] ImageSize Size() const { return {width_, height_}; }
    [[nodiscard]] int Width() const { return width_; }
    [[nodiscard]] int Height() const { return height_; }
    [[nodiscard]] const std::vector<std::uint32_t>& Pixels() const { return pixels_; }
    [[nodiscard]] std::vector<std::uint32_t>& Pixels() { return pixels_; }

  private:
    int width_ = 0;
    int height_ = 0;
    std::vector<std::uint32_t> pixels_;
};

}  // namespace vantic
