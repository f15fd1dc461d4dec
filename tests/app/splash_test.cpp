#include "app/splash.h"

#include <gtest/gtest.h>

#include <numeric>

#include "tests/app/scripted_views.h"
#include "tests/support/scripted_platform.h"

namespace vantic {
namespace {

using testing::ScriptedPictures;
using testing::ScriptedPlatform;
using testing::ScriptedSplash;

class Splash : public ::testing::Test {
  protected:
    Splash() { platform.displays.monitors = std::vector<Rect>{Rect{0, 0, 1024, 768}}; }

    [[nodiscard]] int Slept() const {
        const auto& sleeps = platform.clock.Sleeps();
        return std::accumulate(sleeps.begin(), sleeps.end(), 0);
    }

    std::vector<std::string> log;
    ScriptedPlatform platform;
    ScriptedSplash view{log};
    ScriptedPictures pictures;
};

TEST_F(Splash, ThePictureIsScaledToTheDesktopAndPlacedAThirdDown) {
    ShowSplash(picture::kSplash, 2, view, pictures, platform);
    EXPECT_EQ(view.shown.Size(), (ImageSize{921, 171}));
    EXPECT_EQ(view.at, (Rect{51, 199, 51 + 921, 199 + 171}));
    // The ramp survives the scaling: dark on the left, bright on the right.
    EXPECT_LT(view.shown.Pixel(0, 85) >> 16, 4u);
    EXPECT_GT(view.shown.Pixel(920, 85) >> 16, 250u);
    EXPECT_EQ(view.shown.Pixel(460, 85) & 0xFFFF, PackRgb(0, 40, 200));
    EXPECT_EQ(log, (std::vector<std::string>{"splash open", "splash show", "splash close"}));
}

TEST_F(Splash, ItStaysTwoSecondsDispatchingMessages) {
    ShowSplash(picture::kSplash, 2, view, pictures, platform);
    EXPECT_GT(Slept(), 2000);
    EXPECT_LE(Slept(), 2050);
    EXPECT_EQ(platform.windows.PumpCount(), static_cast<int>(platform.clock.Sleeps().size()) + 1);
}

TEST_F(Splash, ATickCountThatWrapsDuringTheWaitDoesNotCutItShort) {
    platform.clock.SetTick(0xFFFFFFFFu - 500);
    ShowSplash(picture::kSplash, 2, view, pictures, platform);
    EXPECT_GT(Slept(), 2000);
    EXPECT_LE(Slept(), 2050);
}

TEST_F(Splash, AMissingPictureShowsOneScaledPixel) {
    ShowSplash(999, 1, view, pictures, platform);
    EXPECT_EQ(view.shown.Size(), (ImageSize{768, 768}));
    EXPECT_EQ(view.at.left, (1024 - 768) >> 1);
    EXPECT_EQ(view.at.top, 0);
}

TEST_F(Splash, AWindowThatCannotOpenSkipsTheSplash) {
    view.openable = false;
    ShowSplash(picture::kSplash, 2, view, pictures, platform);
    EXPECT_EQ(log, std::vector<std::string>{"splash open"});
    EXPECT_EQ(Slept(), 0);
}

TEST_F(Splash, WithoutMonitorsTheWorkAreaIsTheDesktop) {
    platform.displays.monitors = std::nullopt;
    platform.displays.workArea = Rect{100, 0, 1380, 800};
    ShowSplash(picture::kSplash, 0, view, pictures, platform);
    EXPECT_EQ(view.shown.Size(), (ImageSize{1152, 214}));
    EXPECT_EQ(view.at, (Rect{100 + 64, 195, 100 + 64 + 1152, 195 + 214}));
}

}  // namespace
}  // namespace vantic
