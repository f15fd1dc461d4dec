#include "playlist/media.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "playlist/entry_fields.h"
#include "tests/support/temp_dir.h"

namespace vantic {
namespace {

std::string FileOfSize(const testing::TempDir& dir, const std::string& name, std::uintmax_t size) {
    const std::string path = dir.File(name);
    EXPECT_TRUE(testing::WriteFileBytes(path, ""));
    std::filesystem::resize_file(path, size);  // sparse: no disk space used
    return path;
}

TEST(FormatSizeTest, SwitchesUnitsAboveTenThousandAndTenMillionBytes) {
    EXPECT_EQ(FormatSize(0), "0");
    EXPECT_EQ(FormatSize(10000), "10000");
    EXPECT_EQ(FormatSize(10001), "9 KB");
    EXPECT_EQ(FormatSize(5000000), "4882 KB");
    EXPECT_EQ(FormatSize(10000000), "9765 KB");
    EXPECT_EQ(FormatSize(10000001), "9 MB");
    // Files past 4 GiB keep their size instead of wrapping around.
    EXPECT_EQ(FormatSize(5000000000ULL), "4768 MB");
}

TEST(MediaFileTest, KnownExtensionsInAnyCaseAreMedia) {
    EXPECT_TRUE(IsMediaFile("/media/a.mpg"));
    EXPECT_TRUE(IsMediaFile("/media/A.WMV"));
    EXPECT_TRUE(IsMediaFile("/media/still.JpEg"));
    EXPECT_TRUE(IsMediaFile("clip.qt"));
    EXPECT_FALSE(IsMediaFile("/media/night.PLY"));
    EXPECT_FALSE(IsMediaFile("/media/a.mpg.txt"));
    EXPECT_FALSE(IsMediaFile("/media.mpg/readme"));
    EXPECT_FALSE(IsMediaFile("mpg"));

    EXPECT_TRUE(IsStillImage("a.JPG"));
    EXPECT_TRUE(IsStillImage("a.jpeg"));
    EXPECT_FALSE(IsStillImage("a.png"));
    EXPECT_FALSE(IsStillImage("a.mpg"));
}

TEST(NewClipForFileTest, AVideoGetsItsSizeAndTheDefaults) {
    testing::TempDir dir;
    const std::string path = FileOfSize(dir, "promo.mpg", 5000000);
    const PlayEntry clip = NewClipForFile(path, 0).value();
    EXPECT_TRUE(IsClipEntry(clip));
    EXPECT_EQ(clip.kind, 0);
    EXPECT_EQ(clip.path, path);
    EXPECT_EQ(clip.sizeText, "4882 KB");
    EXPECT_EQ(clip.duration, 0);
    EXPECT_EQ(clip.contentName, "");
    EXPECT_EQ(clip.day, 0);
    EXPECT_EQ(clip.scheduleMode, ScheduleMode::Loop);
    EXPECT_FALSE(clip.restrictHours);
    EXPECT_FALSE(clip.hasFirstDay);
    EXPECT_FALSE(clip.hasLastDay);
    EXPECT_EQ(clip.audio, kAudioA);
    EXPECT_EQ(clip.notes, "");
    EXPECT_EQ(EntryToFields(clip)->TextAt(2), "Auto");
}

TEST(NewClipForFileTest, SizeTextAtTheMegabyteBoundary) {
    testing::TempDir dir;
    EXPECT_EQ(NewClipForFile(FileOfSize(dir, "a.avi", 10000000), 1)->sizeText, "9765 KB");
    EXPECT_EQ(NewClipForFile(FileOfSize(dir, "b.avi", 10000001), 1)->sizeText, "9 MB");
    EXPECT_EQ(NewClipForFile(dir.File("missing.avi"), 1)->sizeText, "0");
}

TEST(NewClipForFileTest, StillImagesShowTenSecondsAndAudioFollowsTheChannel) {
    testing::TempDir dir;
    const std::string still = FileOfSize(dir, "menu.JPEG", 2000);
    const PlayEntry image = NewClipForFile(still, 1).value();
    EXPECT_EQ(image.duration, 10);
    EXPECT_EQ(image.sizeText, "2000");
    EXPECT_EQ(EntryToFields(image)->TextAt(2), "10.000000");

    EXPECT_EQ(NewClipForFile(still, 2)->audio, kAudioA);
    EXPECT_EQ(NewClipForFile(still, 3)->audio, kAudioB);
    EXPECT_EQ(NewClipForFile(still, 3)->kind, 3);
    EXPECT_FALSE(NewClipForFile(still, 4).has_value());
}

}  // namespace
}  // namespace vantic
