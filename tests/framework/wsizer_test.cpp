#include "framework/wsizer.h"

#include <gtest/gtest.h>

#include "tests/support/scripted_windows.h"

namespace vantic {
namespace {

using testing::ScriptedWindows;
using testing::WindowFrame;

SizerAnchor AnchorAt(Rect start, int clientWidth, int clientHeight, double fx, double fy, double fw,
                     double fh) {
    return SizerAnchor{kNoWindow, start, clientWidth, clientHeight, fx, fy, fw, fh};
}

TEST(AnchoredRect, MovesAndGrowsByTheFractionsOfTheGrowth) {
    const SizerAnchor anchor = AnchorAt(Rect{10, 20, 110, 70}, 400, 300, 0, 0.5, 1, 0.5);
    EXPECT_EQ(AnchoredRect(anchor, 400, 300), (Rect{10, 20, 110, 70}));
    EXPECT_EQ(AnchoredRect(anchor, 600, 401), (Rect{10, 70, 310, 170}));  // 101 * 0.5 = 50
}

TEST(AnchoredRect, SharesTruncateTowardZeroWhenShrinking) {
    const SizerAnchor anchor = AnchorAt(Rect{10, 20, 110, 70}, 400, 300, 0.5, 0.5, 0, 0);
    EXPECT_EQ(AnchoredRect(anchor, 397, 297), (Rect{9, 19, 109, 69}));  // -1.5 becomes -1
}

TEST(AnchoredRect, ANegativeSizeBecomesOnePixel) {
    const SizerAnchor anchor = AnchorAt(Rect{0, 0, 100, 50}, 400, 300, 0, 0, 1, 1);
    EXPECT_EQ(AnchoredRect(anchor, 250, 240), (Rect{0, 0, 1, 1}));
    EXPECT_EQ(AnchoredRect(anchor, 300, 250), (Rect{0, 0, 0, 0}));  // exactly 0 stays 0
}

TEST(PlanFit, GrowsATooSmallParentByTheShortfall) {
    const Rect design{0, 0, 700, 500};
    const FitPlan plan = PlanFit(Rect{0, 0, 650, 600}, Rect{100, 100, 766, 660}, 20, design, true);
    EXPECT_TRUE(plan.growParent);
    EXPECT_EQ(plan.parentWidth, 666 + 50);
    EXPECT_EQ(plan.parentHeight, 560);  // 600 is not below 500 + 20
    const FitPlan shorter = PlanFit(Rect{0, 0, 800, 510}, Rect{0, 0, 816, 570}, 20, design, true);
    EXPECT_TRUE(shorter.growParent);
    EXPECT_EQ(shorter.parentWidth, 816);
    EXPECT_EQ(shorter.parentHeight, 580);
}

TEST(PlanFit, OtherwiseFillsTheClientAreaAboveTheStatusBar) {
    const FitPlan plan =
        PlanFit(Rect{0, 0, 650, 400}, Rect{0, 0, 666, 460}, 20, Rect{0, 0, 700, 500}, false);
    EXPECT_FALSE(plan.growParent);
    EXPECT_EQ(plan.width, 650);
    EXPECT_EQ(plan.height, 380);
}

// The main window with its dialog, laid out as the application does it.
class SizerTest : public ::testing::Test {
  protected:
    SizerTest() {
        main = windows.NewWindow(kNoWindow, Rect{100, 100, 908, 758}, WindowFrame{4, 50, 4, 8});
        dialog = windows.NewWindow(main, Rect{0, 0, 800, 580});
        units = windows.NewItem(dialog, 1005, Rect{10, 10, 790, 280});
        tabs = windows.NewItem(dialog, 1008, Rect{10, 290, 790, 320});
        add = windows.NewItem(dialog, 1014, Rect{10, 540, 90, 565});
        remove = windows.NewItem(dialog, 1015, Rect{100, 540, 180, 565});
        status = windows.NewWindow(main, Rect{0, 580, 800, 600});
        sizer.Attach(dialog, true);
        EXPECT_TRUE(sizer.AnchorItem(1005, 0, 0, 1, 0.5));
        EXPECT_TRUE(sizer.AnchorItem(1008, 0, 0.5, 1, 0.5));
        EXPECT_TRUE(sizer.AnchorItem(1014, 0, 0.5, 0, 0));
        EXPECT_TRUE(sizer.AnchorItemLike(1015));
        windows.OnResize(main, [this] { sizer.FitToParent(status); });
    }

    ScriptedWindows windows;
    WSizer sizer{windows};
    WindowId main, dialog, units, tabs, add, remove, status;
};

TEST_F(SizerTest, RelayoutPutsControlsWhereTheFractionsSay) {
    windows.SetStoredRect(dialog, Rect{0, 0, 1000, 681});
    sizer.Relayout();
    EXPECT_EQ(windows.RectInParent(units), (Rect{10, 10, 990, 330}));
    EXPECT_EQ(windows.RectInParent(tabs), (Rect{10, 340, 990, 420}));
    EXPECT_EQ(windows.RectInParent(add), (Rect{10, 590, 90, 615}));
    EXPECT_EQ(windows.RectInParent(remove), (Rect{100, 590, 180, 615}));
}

TEST_F(SizerTest, MissingItemsAreNotAnchored) {
    EXPECT_FALSE(sizer.AnchorItem(4242, 1, 1, 1, 1));
    EXPECT_EQ(sizer.AnchorCount(), 4u);
}

TEST_F(SizerTest, FitToParentSizesTheDialogAboveTheStatusBar) {
    windows.ResizeOuter(main, 1008, 858);  // client 1000 x 800
    EXPECT_EQ(windows.RectInParent(dialog), (Rect{0, 0, 1000, 780}));
    EXPECT_EQ(windows.RectInParent(units), (Rect{10, 10, 990, 380}));
    EXPECT_EQ(windows.ScreenRect(main), (Rect{100, 100, 1108, 958}));
}

TEST_F(SizerTest, TheMinimumRuleGrowsTheMainWindowBackToTheDesign) {
    windows.ResizeOuter(main, 608, 458);  // client 600 x 400: too small
    // Grown by the shortfall (200 wide; 580 + 20 - 400 high), then laid out again.
    EXPECT_EQ(windows.ScreenRect(main), (Rect{100, 100, 908, 758}));
    EXPECT_EQ(windows.RectInParent(dialog), (Rect{0, 0, 800, 580}));
    EXPECT_EQ(windows.RectInParent(units), (Rect{10, 10, 790, 280}));
}

TEST(SizerWithoutMinimum, ShrinksControlsDownToOnePixel) {
    ScriptedWindows windows;
    const WindowId report = windows.NewWindow(kNoWindow, Rect{0, 0, 400, 300});
    const WindowId viewer = windows.NewItem(report, 1061, Rect{5, 5, 395, 260});
    const WindowId done = windows.NewItem(report, 1, Rect{320, 270, 390, 290});
    WSizer sizer(windows);
    sizer.Attach(report, false);
    sizer.AnchorItem(1061, 0, 0, 1, 1);
    sizer.AnchorItem(1, 1, 1, 0, 0);
    windows.SetStoredRect(report, Rect{0, 0, 5, 5});
    sizer.Relayout();
    EXPECT_EQ(windows.RectInParent(viewer), (Rect{5, 5, 6, 6}));
    EXPECT_EQ(windows.RectInParent(done), (Rect{-75, -25, -5, -5}));
}

}  // namespace
}  // namespace vantic
