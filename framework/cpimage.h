#pragma once

// The area-averaging image resampler and the fit-to-desktop rule used to
// scale the splash picture.

#include <cstddef>
#include <cstdint>

namespace vantic {

inline constexpr int kMaxResizePlanes = 4;

struct ImageSize {
    int width = 0;
    int height = 0;
    bool operator==(const ImageSize&) const = default;
};

// Writes a dstW x dstH image from a srcW x srcH one, averaging `planes`
// bytes per pixel over boxes measured in half-pixels. Steps and strides are
// in bytes. With 3 planes and 4-byte pixels on both sides the fourth byte of
// each destination pixel is left as it was. Returns false, writing nothing,
// when planes is outside 1..4 or a size is not positive.
[[nodiscard]] bool Resample(const std::uint8_t* src, std::uint8_t* dst, int planes,
                            int srcPixelStep, int dstPixelStep, std::ptrdiff_t srcRowStride,
                            std::ptrdiff_t dstRowStride, int srcW, int srcH, int dstW, int dstH);

// The size a picture takes on a desktop: at most 90% of its width and all
// of its height, aspect kept, growing as well as shrinking.
[[nodiscard]] ImageSize FitToDesktop(ImageSize picture, ImageSize desktop);
// The same, given the largest width and height directly.
[[nodiscard]] ImageSize FitInto(ImageSize picture, int maxW, int maxH);

}  // namespace vantic
