#include "framework/cpimage.h"

#include <vector>

namespace vantic {

namespace {

struct Boxes {
    int boxW;
    int boxH;
};

Boxes BoxesFor(int srcW, int srcH, int dstW, int dstH) {
    int boxW = static_cast<int>((2LL * srcW) / dstW);
    int boxH = static_cast<int>((2LL * srcH) / dstH);
    return {boxW == 0 ? 1 : boxW, boxH == 0 ? 1 : boxH};
}

// The source byte offsets of every half-column of the destination row:
// computed once, since every row repeats them.
std::vector<std::ptrdiff_t> ColumnOffsets(int srcW, int dstW, int boxW, int srcPixelStep) {
    std::vector<std::ptrdiff_t> offsets(static_cast<std::size_t>(dstW) * boxW);
    for (int x = 0; x < dstW; ++x) {
        long long startCol = (static_cast<long long>(x) * 2 * srcW) / dstW;
        for (int j = 0; j < boxW; ++j) {
            long long column = (startCol + j) >> 1;
            if (column >= srcW) {
                column = srcW - 1;
            }
            offsets[static_cast<std::size_t>(x) * boxW + j] = column * srcPixelStep;
        }
    }
    return offsets;
}

std::uint8_t Average(unsigned sum, unsigned area) {
    unsigned value = (sum + area / 2) / area;
    return static_cast<std::uint8_t>(value > 255 ? 255 : value);
}

}  // namespace

bool Resample(const std::uint8_t* src, std::uint8_t* dst, int planes, int srcPixelStep,
              int dstPixelStep, std::ptrdiff_t srcRowStride, std::ptrdiff_t dstRowStride, int srcW,
              int srcH, int dstW, int dstH) {
    if (planes < 1 || planes > kMaxResizePlanes || srcW <= 0 || srcH <= 0 || dstW <= 0 ||
        dstH <= 0 || src == nullptr || dst == nullptr) {
        return false;
    }
    const Boxes box = BoxesFor(srcW, srcH, dstW, dstH);
    const unsigned area = static_cast<unsigned>(box.boxW) * static_cast<unsigned>(box.boxH);
    const std::vector<std::ptrdiff_t> columns = ColumnOffsets(srcW, dstW, box.boxW, srcPixelStep);
    std::vector<const std::uint8_t*> rows(static_cast<std::size_t>(box.boxH));

    for (int y = 0; y < dstH; ++y) {
        long long startRow = (static_cast<long long>(y) * 2 * srcH) / dstH;
        for (int i = 0; i < box.boxH; ++i) {
            long long row = (startRow + i) >> 1;
            rows[static_cast<std::size_t>(i)] = src + (row >= srcH ? srcH - 1 : row) * srcRowStride;
        }
        std::uint8_t* out = dst + y * dstRowStride;
        for (int x = 0; x < dstW; ++x, out += dstPixelStep) {
            const std::ptrdiff_t* offsets = &columns[static_cast<std::size_t>(x) * box.boxW];
            unsigned sums[kMaxResizePlanes] = {0, 0, 0, 0};
            for (const std::uint8_t* row : rows) {
                for (int j = 0; j < box.boxW; ++j) {
                    const std::uint8_t* pixel = row + offsets[j];
                    for (int p = 0; p < planes; ++p) {
                        sums[p] += pixel[p];
                    }
                }
            }
            for (int p = 0; p < planes; ++p) {
                out[p] = Average(sums[p], area);
            }
        }
    }
    return true;
}

ImageSize FitInto(ImageSize picture, int maxW, int maxH) {
    if (picture.width <= 0 || picture.height <= 0 || maxW <= 0 || maxH <= 0) {
        return {};
    }
    double fw = static_cast<double>(picture.width) / maxW;
    double fh = static_cast<double>(picture.height) / maxH;
    if (fw < fh) {
        return {static_cast<int>(picture.width / fh), maxH};
    }
    return {maxW, static_cast<int>(picture.height / fw)};
}

ImageSize FitToDesktop(ImageSize picture, ImageSize desktop) {
    return FitInto(picture, static_cast<int>(0.9 * desktop.width), desktop.height);
}

}  // namespace vantic
