#include "framework/cpimage.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "framework/bitmap_surface.h"
#include "tests/support/scripted_platform.h"

namespace vantic {
namespace {

// Straight from the definition: every destination byte is the rounded mean
// of the source bytes its half-pixel box covers.
std::vector<std::uint8_t> ReferenceResample(const std::vector<std::uint8_t>& src, int planes,
                                            int srcW, int srcH, int dstW, int dstH) {
    int boxW = std::max(1, 2 * srcW / dstW);
    int boxH = std::max(1, 2 * srcH / dstH);
    std::vector<std::uint8_t> dst(static_cast<std::size_t>(dstW * dstH * planes));
    for (int y = 0; y < dstH; ++y) {
        for (int x = 0; x < dstW; ++x) {
            for (int p = 0; p < planes; ++p) {
                unsigned sum = 0;
                for (int i = 0; i < boxH; ++i) {
                    for (int j = 0; j < boxW; ++j) {
                        int row = std::min(srcH - 1, (y * 2 * srcH / dstH + i) >> 1);
                        int col = std::min(srcW - 1, (x * 2 * srcW / dstW + j) >> 1);
                        sum += src[static_cast<std::size_t>((row * srcW + col) * planes + p)];
                    }
                }
                unsigned area = static_cast<unsigned>(boxW * boxH);
                dst[static_cast<std::size_t>((y * dstW + x) * planes + p)] =
                    static_cast<std::uint8_t>(std::min(255u, (sum + area / 2) / area));
            }
        }
    }
    return dst;
}

TEST(Resample, MatchesTheAveragingRuleForEveryPlaneCount) {
    std::mt19937 random(7);
    const int sizes[][4] = {
        {13, 7, 5, 3}, {2, 2, 4, 4}, {1342, 4, 921, 2}, {9, 9, 9, 9}, {3, 11, 7, 2}};
    for (int planes = 1; planes <= 4; ++planes) {
        for (const auto& s : sizes) {
            std::vector<std::uint8_t> src(static_cast<std::size_t>(s[0] * s[1] * planes));
            for (auto& byte : src) {
                byte = static_cast<std::uint8_t>(random());
            }
            std::vector<std::uint8_t> dst(static_cast<std::size_t>(s[2] * s[3] * planes));
            ASSERT_TRUE(Resample(src.data(), dst.data(), planes, planes, planes, s[0] * planes,
                                 s[2] * planes, s[0], s[1], s[2], s[3]));
            EXPECT_EQ(dst, ReferenceResample(src, planes, s[0], s[1], s[2], s[3]))
                << planes << " planes " << s[0] << "x" << s[1] << " to " << s[2] << "x" << s[3];
        }
    }
}

TEST(Resample, RefusesMoreThanFourPlanes) {
    std::uint8_t src[8] = {}, dst[8] = {};
    EXPECT_FALSE(Resample(src, dst, 5, 5, 5, 5, 5, 1, 1, 1, 1));
    EXPECT_FALSE(Resample(src, dst, 3, 4, 4, 4, 4, 0, 1, 1, 1));
}

TEST(Resample, UpscalingRepeatsEachPixel) {
    BitmapSurface source(2, 1);
    source.SetPixel(0, 0, PackRgb(10, 20, 30));
    source.SetPixel(1, 0, PackRgb(200, 100, 0));
    BitmapSurface wide(4, 1);
    ASSERT_TRUE(wide.ResampleFrom(source));
    EXPECT_EQ(wide.Pixel(0, 0), PackRgb(10, 20, 30));
    EXPECT_EQ(wide.Pixel(1, 0), PackRgb(10, 20, 30));
    EXPECT_EQ(wide.Pixel(2, 0), PackRgb(200, 100, 0));
    EXPECT_EQ(wide.Pixel(3, 0), PackRgb(200, 100, 0));
}

TEST(Resample, FastPathLeavesTheFourthByteAlone) {
    BitmapSurface source(2, 2);
    source.Fill(PackRgb(1, 2, 3));
    BitmapSurface target(1, 1);
    target.Fill(0xAB000000u);
    ASSERT_TRUE(target.ResampleFrom(source));
    EXPECT_EQ(target.Pixel(0, 0), 0xAB010203u);
}

TEST(FitToDesktop, KeepsAspectAndUsesNinetyPercentOfTheWidth) {
    EXPECT_EQ(FitToDesktop({1342, 250}, {1024, 768}), (ImageSize{921, 171}));
    EXPECT_EQ(FitInto({100, 50}, 900, 1000), (ImageSize{900, 450}));
    EXPECT_EQ(FitInto({100, 400}, 900, 1000), (ImageSize{250, 1000}));
}

TEST(BitmapSurface, PackAndResize) {
    EXPECT_EQ(PackRgb(0x12, 0x34, 0x56), 0x00123456u);
    EXPECT_EQ(PackRgb(0x1FF, 0x1FF, 0x1FF), 0x00FFFFFFu);
    BitmapSurface surface(3, 2);
    surface.Fill(0x00FF0000u);
    surface.Resize(3, 2);
    EXPECT_EQ(surface.Pixel(2, 1), 0x00FF0000u);
    surface.Resize(4, 2);
    EXPECT_EQ(surface.Size(), (ImageSize{4, 2}));
    EXPECT_EQ(surface.Pixels().size(), 8u);
}

TEST(BitmapSurface, DrawsAndCapturesThroughTheDesktopOnceCreated) {
    testing::ScriptedDisplays screen;
    const auto window = reinterpret_cast<WindowId>(std::uintptr_t{0x5A});
    const auto other = reinterpret_cast<WindowId>(std::uintptr_t{0x5B});
    screen.windowPixels = ScreenPixels{2, 1, {0x010203u, 0x040506u}};
    BitmapSurface surface(screen);
    surface.SetWindow(window);
    // No buffer yet: nothing happens, nothing reaches the desktop.
    surface.Fill(0x123456u);
    surface.Resize(4, 4);
    EXPECT_EQ(surface.Pixel(0, 0), 0u);
    EXPECT_EQ(surface.Draw(0, 0), 0);
    EXPECT_FALSE(surface.CaptureWindow(window, true));
    EXPECT_EQ(surface.Size(), (ImageSize{0, 0}));
    EXPECT_TRUE(screen.drawn.empty());
    EXPECT_TRUE(screen.captured.empty());

    surface.Create(3, 2);
    surface.Fill(0xABCDEFu);
    EXPECT_EQ(surface.Draw(5, 6), 1);  // 0 x 0 is the full size, into the default window
    EXPECT_EQ(surface.Draw(0, 0, 1, 1, 2, 0, other), 1);
    ASSERT_EQ(screen.drawn.size(), 2u);
    EXPECT_EQ(screen.drawn[0].window, window);
    EXPECT_EQ(screen.drawn[0].x + screen.drawn[0].y, 11);
    EXPECT_EQ(screen.drawn[0].source, (Rect{0, 0, 3, 2}));
    EXPECT_EQ(screen.drawn[0].image.pixels, std::vector<std::uint32_t>(6, 0xABCDEFu));
    EXPECT_EQ(screen.drawn[1].window, other);
    EXPECT_EQ(screen.drawn[1].source, (Rect{1, 1, 3, 3}));
    // Without a window or a desktop there is nowhere to draw.
    BitmapSurface unplaced(screen);
    unplaced.Create(1, 1);
    EXPECT_EQ(unplaced.Draw(0, 0), 0);
    EXPECT_EQ(BitmapSurface(1, 1).Draw(0, 0, 0, 0, 0, 0, window), 0);
    EXPECT_EQ(screen.drawn.size(), 2u);

    // A capture takes the window's size and pixels; an unreadable one
    // leaves the surface as it was.
    EXPECT_TRUE(surface.CaptureWindow(other, false));
    EXPECT_EQ(surface.Size(), (ImageSize{2, 1}));
    EXPECT_EQ(surface.Pixel(1, 0), 0x040506u);
    ASSERT_EQ(screen.captured.size(), 1u);
    EXPECT_EQ(screen.captured[0].window, other);
    EXPECT_FALSE(screen.captured[0].clientOnly);
    screen.windowPixels.reset();
    EXPECT_FALSE(surface.CaptureWindow(kNoWindow, true));
    EXPECT_EQ(surface.Pixel(0, 0), 0x010203u);
}

}  // namespace
}  // namespace vantic
