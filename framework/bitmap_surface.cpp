#include "framework/bitmap_surface.h"

#include <cstring>

namespace vantic {

void BitmapSurface::Resize(int width, int height) {
    if (width == width_ && height == height_) {
        return;
    }
    if (width <= 0 || height <= 0) {
        width_ = height_ = 0;
        pixels_.clear();
        return;
    }
    width_ = width;
    height_ = height;
    pixels_.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
}

void BitmapSurface::Fill(std::uint32_t colour) {
    pixels_.assign(pixels_.size(), colour);
}

std::uint32_t BitmapSurface::Pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) {
        return 0;
    }
    return pixels_[static_cast<std::size_t>(x) + static_cast<std::size_t>(y) * width_];
}

void BitmapSurface::SetPixel(int x, int y, std::uint32_t colour) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) {
        return;
    }
    pixels_[static_cast<std::size_t>(x) + static_cast<std::size_t>(y) * width_] = colour;
}

bool BitmapSurface::ResampleFrom(const BitmapSurface& source) {
    if (pixels_.empty() || source.pixels_.empty()) {
        return false;
    }
    // Pixels are native 32-bit words; on a little-endian machine their bytes
    // are blue, green, red, unused, so the three colour planes come first.
    static_assert(sizeof(std::uint32_t) == 4);
    return Resample(reinterpret_cast<const std::uint8_t*>(source.pixels_.data()),
                    reinterpret_cast<std::uint8_t*>(pixels_.data()), 3, 4, 4,
                    static_cast<std::ptrdiff_t>(source.width_) * 4,
                    static_cast<std::ptrdiff_t>(width_) * 4, source.width_, source.height_, width_,
                    height_);
}

}  // namespace vantic
