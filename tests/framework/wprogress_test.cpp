#include "framework/wprogress.h"

#include <gtest/gtest.h>

#include <sstream>

#include "platform/console_platform.h"
#include "tests/support/scripted_platform.h"

namespace vantic {
namespace {

namespace pl = progress_layout;
using testing::ProgressRecord;
using testing::ScriptedPlatform;

class CountingProgress : public WProgress {
  public:
    using WProgress::WProgress;
    void OnCancel() override { ++cancels; }
    int cancels = 0;
};

class ProgressTest : public ::testing::Test {
  protected:
    ProgressTest() : owner(platform.windows.NewWindow(kNoWindow, Rect{0, 0, 800, 600})) {}

    bool OpenOperation(std::uint32_t overallMax) {
        return progress.Open(owner, ProgressLayout::Operation, overallMax);
    }
    ProgressRecord& Dialog() { return *platform.progress.Last(); }
    std::vector<std::string> Labels(int id) { return Dialog().texts[id]; }

    ScriptedPlatform platform;
    WindowId owner;
    CountingProgress progress{platform};
};

TEST_F(ProgressTest, OpenDisablesTheOwnerUntilClose) {
    const int pumps = platform.windows.PumpCount();
    EXPECT_FALSE(OpenOperation(10));
    EXPECT_FALSE(platform.windows.IsEnabled(owner));
    EXPECT_TRUE(Dialog().shown);
    EXPECT_EQ(Dialog().owner, owner);
    EXPECT_EQ(Dialog().layout, pl::kOperation);
    EXPECT_EQ(platform.windows.PumpCount(), pumps + 1);
    EXPECT_EQ(progress.Dialog(), Dialog().Id());

    progress.Close();
    EXPECT_TRUE(platform.windows.IsEnabled(owner));
    EXPECT_TRUE(Dialog().destroyed);
    EXPECT_EQ(progress.Dialog(), kNoWindow);
}

TEST_F(ProgressTest, AClosedProgressReportsCancelledUntilTheNextOpen) {
    OpenOperation(10);
    progress.Close();
    EXPECT_TRUE(progress.StepOverall());
    EXPECT_TRUE(progress.StepItem());
    EXPECT_FALSE(OpenOperation(10));
    EXPECT_FALSE(progress.StepOverall());
}

TEST_F(ProgressTest, TwoUpdatesWithinTheIntervalRedrawOnce) {
    OpenOperation(10);
    EXPECT_FALSE(progress.SetOverall(5, 10));
    const int pumps = platform.windows.PumpCount();
    platform.clock.Advance(100);
    EXPECT_FALSE(progress.SetOverall(6, 10));
    EXPECT_EQ(Labels(pl::kOverallLabel), std::vector<std::string>{" 50.00%"});
    EXPECT_EQ(Dialog().bars[pl::kOverallBar], std::vector<int>{50});
    EXPECT_EQ(platform.windows.PumpCount(), pumps);  // a throttled update does not pump
    EXPECT_EQ(progress.OverallPosition(), 6u);       // but keeps the position

    platform.clock.Advance(75);  // 175 ms after the redraw
    progress.SetOverall(7, 10);
    EXPECT_EQ(Labels(pl::kOverallLabel).back(), " 70.00%");
}

TEST_F(ProgressTest, ReachingTheMaximumAlwaysRedrawsAndPumps) {
    OpenOperation(10);
    progress.SetOverall(5, 10);
    const int pumps = platform.windows.PumpCount();
    progress.SetOverall(10, 10);
    EXPECT_EQ(Labels(pl::kOverallLabel).back(), "100.00%");
    EXPECT_EQ(platform.windows.PumpCount(), pumps + 1);
    progress.SetOverall(10, 10);  // unchanged: pumps without redrawing
    EXPECT_EQ(Labels(pl::kOverallLabel).size(), 2u);
    EXPECT_EQ(platform.windows.PumpCount(), pumps + 2);
}

TEST_F(ProgressTest, AMaximumOfZeroCountsAsOne) {
    OpenOperation(10);
    progress.SetOverall(0, 0);
    progress.StepOverall();
    EXPECT_EQ(Labels(pl::kOverallLabel), (std::vector<std::string>{"  0.00%", "100.00%"}));
    EXPECT_EQ(Dialog().bars[pl::kOverallBar], (std::vector<int>{0, 100}));
}

TEST_F(ProgressTest, BarsTruncateWhileLabelsRound) {
    OpenOperation(3);
    progress.SetOverall(2, 3);
    EXPECT_EQ(Dialog().LastBar(pl::kOverallBar), 66);
    EXPECT_EQ(Dialog().LastText(pl::kOverallLabel), " 66.67%");
}

TEST_F(ProgressTest, ItemUpdatesFollowTheSameRules) {
    platform.clock.SetNow(1'234'567);
    OpenOperation(1);
    EXPECT_FALSE(progress.StartTransferItem(0));
    EXPECT_EQ(progress.ItemStartTime(), 1'234'567);
    EXPECT_EQ(Dialog().LastText(pl::kTransferLine), "  0.00%");
    progress.StepItem();
    EXPECT_EQ(Dialog().LastText(pl::kTransferLine), "100.00%");

    progress.StartItem(4);
    progress.SetItem(1, 4);
    platform.clock.Advance(50);
    progress.SetItem(2, 4);
    EXPECT_EQ(Dialog().bars[pl::kItemBar], (std::vector<int>{0, 100, 0, 25}));
    progress.FinishItem();
    EXPECT_EQ(Dialog().LastBar(pl::kItemBar), 100);
    EXPECT_EQ(progress.ItemPosition(), 4u);
}

TEST_F(ProgressTest, MissingItemsAreLeftAlone) {
    progress.Open(owner, ProgressLayout::Simple, 2);
    progress.StartTransferItem(2);  // not in this layout
    progress.SetLine(ProgressLine::Status, "ignored");
    progress.SetOverall(1, 2);
    EXPECT_EQ(Dialog().texts.count(pl::kTransferLine), 0u);
    EXPECT_EQ(Dialog().texts.count(pl::kStatusLine), 0u);
    EXPECT_EQ(Dialog().bars.size(), 1u);
}

TEST_F(ProgressTest, CancelReachesTheCallerThroughThePump) {
    OpenOperation(100);
    platform.progress.CancelAtPump(2);  // the second pump from now
    EXPECT_FALSE(progress.SetOverall(1, 100));
    platform.clock.Advance(200);
    EXPECT_TRUE(progress.SetOverall(2, 100));
    EXPECT_EQ(progress.cancels, 1);
    EXPECT_TRUE(Dialog().destroyed);
    EXPECT_TRUE(platform.windows.IsEnabled(owner));
    EXPECT_TRUE(progress.StepOverall());
}

// A new status line names the piece about to run: it is shown (pumped) at
// once even inside the redraw interval, and a Cancel pressed meanwhile ends
// the operation before that piece starts.
TEST_F(ProgressTest, AChangedStatusLinePumpsAtOnceAndTakesAPendingCancel) {
    OpenOperation(10);
    progress.StartItem(3);
    EXPECT_FALSE(progress.StepItem());
    int pumps = platform.windows.PumpCount();
    progress.SetLine(ProgressLine::Status, "Media Player #12 - Uploading New Configuration");
    EXPECT_EQ(platform.windows.PumpCount(), pumps + 1);
    progress.SetLine(ProgressLine::Status, "Media Player #12 - Uploading New Configuration");
    EXPECT_EQ(platform.windows.PumpCount(), pumps + 1);  // unchanged: no pump

    platform.progress.CancelAtPump(1);
    progress.SetLine(ProgressLine::Status, "Media Player #13 - Downloading Configuration");
    EXPECT_TRUE(progress.StepItem());  // within the interval, yet cancelled
    EXPECT_EQ(progress.cancels, 1);
}

TEST_F(ProgressTest, OpeningAgainReplacesTheDialog) {
    OpenOperation(5);
    ProgressRecord* first = platform.progress.Last();
    progress.Open(owner, ProgressLayout::Download, 100);
    EXPECT_TRUE(first->destroyed);
    EXPECT_FALSE(Dialog().destroyed);
    EXPECT_EQ(Dialog().layout, pl::kDownload);
    EXPECT_FALSE(platform.windows.IsEnabled(owner));
}

TEST_F(ProgressTest, WithoutADialogTheOwnerStaysUsable) {
    platform.progress.RefuseCreate(true);
    EXPECT_FALSE(OpenOperation(5));
    EXPECT_TRUE(platform.windows.IsEnabled(owner));
    EXPECT_FALSE(progress.StepOverall());
}

TEST(ProgressLifetime, DestroyingTheObjectClosesTheDialog) {
    ScriptedPlatform platform;
    const WindowId owner = platform.windows.NewWindow(kNoWindow, Rect{0, 0, 100, 100});
    {
        WProgress progress(platform);
        progress.Open(owner, ProgressLayout::Simple, 1);
    }
    EXPECT_TRUE(platform.progress.Last()->destroyed);
    EXPECT_TRUE(platform.windows.IsEnabled(owner));
}

// A derived progress writes its own item text.
class TransferProgress : public WProgress {
  public:
    using WProgress::WProgress;
    void ShowItemText() override {
        SetItemLabel(std::to_string(ItemPosition()) + " of " + std::to_string(ItemMaximum()));
    }
};

TEST(ProgressHooks, TheItemLabelComesFromTheOverride) {
    ScriptedPlatform platform;
    TransferProgress progress(platform);
    progress.Open(kNoWindow, ProgressLayout::Operation, 1);
    progress.StartTransferItem(4096);
    progress.FinishItem();
    EXPECT_EQ(platform.progress.Last()->texts[pl::kTransferLine],
              (std::vector<std::string>{"0 of 4096", "4096 of 4096"}));
}

// The console prints a line where a window paints: each line carries the
// figure of that moment, however quickly the steps come.
TEST(ProgressOnTheConsole, EveryStatusLineCarriesTheCurrentPercentage) {
    std::ostringstream out;
    std::istringstream in;
    ConsolePlatform platform(out, in, false);
    WProgress progress(platform);
    progress.Open(kNoWindow, ProgressLayout::Operation, 12);
    for (int unit = 1; unit <= 3; ++unit) {
        progress.SetLine(ProgressLine::Status, "Media Player #" + std::to_string(unit));
        progress.StepOverall();
    }
    EXPECT_EQ(out.str(),
              "[0.00%] Media Player #1\n[8.33%] Media Player #2\n[16.67%] Media Player #3\n");
}

}  // namespace
}  // namespace vantic
