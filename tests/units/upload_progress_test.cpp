#include "units/upload_progress.h"

#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <memory>

#include "net/upload_media.h"
#include "playlist/play_entry.h"
#include "tests/support/scripted_platform.h"
#include "tests/support/server_runner.h"

namespace vantic {
namespace {

namespace pl = progress_layout;
using testing::ProgressRecord;
using testing::ScriptedPlatform;

TEST(TransferTextTest, RateAndTimeLeft) {
    EXPECT_EQ(TransferText(400'000, 1'000'000, 10),
              "400000 of 1000000 - 320 kbit/sec - 15 seconds left");
    EXPECT_EQ(TransferText(500'000, 10'000'000, 2),
              "500000 of 10000000 - 2000 kbit/sec - 38 seconds left");
    // 999 s left, rounded to minutes.
    EXPECT_EQ(TransferText(1'000, 1'000'000, 1), "1000 of 1000000 - 8 kbit/sec - 17 minutes left");
    // 60 s is still counted in seconds, 89 s is one minute and 90 s two.
    EXPECT_EQ(TransferText(8'000, 68'000, 8), "8000 of 68000 - 8 kbit/sec - 60 seconds left");
    EXPECT_EQ(TransferText(1'000, 90'000, 1), "1000 of 90000 - 8 kbit/sec - 1 minutes left");
    EXPECT_EQ(TransferText(1'000, 91'000, 1), "1000 of 91000 - 8 kbit/sec - 2 minutes left");
    // Less than a second left shows as one.
    EXPECT_EQ(TransferText(999'999, 1'000'000, 1),
              "999999 of 1000000 - 8000 kbit/sec - 1 seconds left");
}

TEST(TransferTextTest, TheFirstSecondCountsAsHalfASecond) {
    EXPECT_EQ(TransferText(1'000, 1'000'000, 0), "1000 of 1000000 - 16 kbit/sec - 8 minutes left");
    // So does a clock that was set back during the upload.
    EXPECT_EQ(TransferText(1'000, 1'000'000, -5), TransferText(1'000, 1'000'000, 0));
}

TEST(TransferTextTest, TheShortFormWhenDoneOrBeforeTheFirstByte) {
    EXPECT_EQ(TransferText(1'000'000, 1'000'000, 10), "1000000 of 1000000 - 800 kbit/sec");
    EXPECT_EQ(TransferText(0, 1'000'000, 10), "0 of 1000000 - 0 kbit/sec");
    EXPECT_EQ(TransferText(0, 0, 0), "0 of 0 - 0 kbit/sec");
}

TEST(TransferTextTest, ATrickleShowsTheLargestCountOfMinutes) {
    EXPECT_EQ(TransferText(1, 2'000'000'000, 1'000'000),
              "1 of 2000000000 - 0 kbit/sec - " + std::to_string(INT_MAX) + " minutes left");
}

class UploadProgressTest : public ::testing::Test {
  protected:
    UploadProgressTest() : owner_(platform_.windows.NewWindow(kNoWindow, Rect{0, 0, 800, 600})) {}

    void Open() { ASSERT_FALSE(progress_.Open(owner_, ProgressLayout::Operation, 1)); }
    ProgressRecord& Dialog() { return *platform_.progress.Last(); }

    ScriptedPlatform platform_;
    WindowId owner_;
    UploadProgress progress_{platform_};
};

TEST_F(UploadProgressTest, TheItemLabelTellsTheTransferSinceTheItemStarted) {
    Open();
    platform_.clock.Advance(60'000);  // before the item: not counted
    progress_.StartTransferItem(100);
    platform_.clock.Advance(10'000);
    progress_.SetItem(400'000, 1'000'000);
    EXPECT_EQ(Dialog().LastText(pl::kTransferLine),
              "400000 of 1000000 - 320 kbit/sec - 15 seconds left");
    EXPECT_EQ(Dialog().LastBar(pl::kItemBar), 40);
    progress_.FinishItem();
    EXPECT_EQ(Dialog().LastText(pl::kTransferLine), "1000000 of 1000000 - 800 kbit/sec");
}

// The dialog as an upload drives it, against the reference server.
class UploadThroughTheDialogTest : public UploadProgressTest {
  protected:
    void SetUp() override {
        ASSERT_TRUE(server_.Ok()) << server_.Error();
        clip_.isClip = true;
        clip_.path = dir_.File("clip.mpg");
        ASSERT_TRUE(testing::WriteFileBytes(clip_.path, std::string(10'000, 'v')));
    }
    bool Upload() {
        ServerAccess access{server_.Address(), server_.Administrator().login,
                            server_.Administrator().password, server_.KeyFile()};
        return UploadMedia(access, platform_.Messages(), clip_.path, clip_.contentName, &progress_);
    }
    bool Stored() const {
        return std::filesystem::exists(server_.DataDir() + "/media/" + clip_.contentName);
    }

    testing::ServerRunner server_;
    testing::TempDir dir_;
    PlayEntry clip_;
};

TEST_F(UploadThroughTheDialogTest, TheDialogFollowsTheDigestAndTheUpload) {
    Open();
    ASSERT_TRUE(Upload());
    EXPECT_TRUE(Stored());
    EXPECT_EQ(Dialog().texts[pl::kStatusLine],
              (std::vector<std::string>{"Processing clip.mpg", "Uploading clip.mpg"}));
    EXPECT_EQ(Dialog().LastText(pl::kTransferLine), "10000 of 10000 - 160 kbit/sec");
    EXPECT_EQ(Dialog().LastBar(pl::kItemBar), 100);
}

TEST_F(UploadThroughTheDialogTest, CancelInTheDialogStopsTheUpload) {
    Open();
    // Pumps from here: the digest's status line, start, first report, last
    // report and finish; the upload's status line, start; its first report.
    platform_.progress.CancelAtPump(8);
    EXPECT_FALSE(Upload());
    EXPECT_TRUE(progress_.Cancelled());
    EXPECT_EQ(Dialog().LastText(pl::kStatusLine), "Uploading clip.mpg");
    EXPECT_FALSE(Stored());
    EXPECT_TRUE(platform_.ShownMessages().empty());
}

}  // namespace
}  // namespace vantic
