#include "framework/bitmap_surface.h"

#include <optional>
#include <utility>

namespace vantic {

void BitmapSurface::Create(int width, int height) {
    width_ = height_ = 0;
    pixels_.clear();
    if (width <= 0 || height <= 0) {
        return;
    }
    width_ = width;
    height_ = height;
    pixels_.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
}

void BitmapSurface::Resize(int width, int height) {
    if (!HasBuffer() || (width == width_ && height == height_)) {
        return;
    }
    Create(width, height);
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

int BitmapSurface::Draw(int x, int y, int srcX, int srcY, int cx, int cy, WindowId target) {
    const WindowId window = target != kNoWindow ? target : window_;
    if (!HasBuffer() || screen_ == nullptr || window == kNoWindow) {
        return 0;
    }
    const int width = cx != 0 ? cx : width_;
    const int height = cy != 0 ? cy : height_;
    const PixelView image{pixels_.data(), width_, height_};
    return screen_->DrawPixels(window, x, y, image, Rect{srcX, srcY, srcX + width, srcY + height})
               ? 1
               : 0;
}

bool BitmapSurface::CaptureWindow(WindowId window, bool clientOnly) {
    if (!HasBuffer() || screen_ == nullptr) {
        return false;
    }
    std::optional<ScreenPixels> shot = screen_->CaptureWindow(window, clientOnly);
    if (!shot || shot->width <= 0 || shot->height <= 0 ||
        shot->pixels.size() !=
            static_cast<std::size_t>(shot->width) * static_cast<std::size_t>(shot->height)) {
        return false;
    }
    Resize(shot->width, shot->height);
    if (Size() != ImageSize{shot->width, shot->height}) {
        return false;
    }
    pixels_ = std::move(shot->pixels);
    return true;
}

}  // namespace vantic
