#include "units/instruction_change.h"

#include <gtest/gtest.h>

namespace vantic {
namespace {

const std::string kUnitFile =
    "0\t/media/old.mpg\tAuto\t\t1 KB\tAll\tloop\tNone\tNone\tA\tkept?\n"
    "1\t/media/alt.mpg\t10.000000\t\t2 KB\tAll\tloop\tNone\tNone\tA\t\n"
    "2\t/media/song.mp3\tAuto\t\t3 KB\tAll\tloop\tNone\tNone\tA\t\n"
    "4\tcrawlsize\t8\n"
    "4\tnotes\tLobby, by the \xe9scalier\n"
    "4\tCRAWLSIZE\t9";

EntrySet UnitSet() {
    EntrySet set;
    EXPECT_TRUE(TextToEntrySet(kUnitFile, set));
    return set;
}

std::vector<std::string> Keys(const EntryList& settings) {
    std::vector<std::string> keys;
    for (const PlayEntry& entry : settings) {
        keys.push_back(entry.key + "=" + entry.value);
    }
    return keys;
}

PlayEntry Clip(int channel, std::string path) {
    PlayEntry clip;
    clip.kind = channel;
    clip.isClip = true;
    clip.path = std::move(path);
    clip.contentName = "0123456789abcdef0123456789abcdef";
    return clip;
}

TEST(MergeSettingsTest, GivenKeysComeFirstAndTheUnitsOthersKeepTheirOrder) {
    const EntryList given = {NewSettingEntry("crawl", "1"), NewSettingEntry("crawlsize", "12")};
    const EntryList merged = MergeSettings(given, UnitSet().Settings());
    // The unit's second crawlsize line goes too: one key, one line.
    EXPECT_EQ(Keys(merged), (std::vector<std::string>{"crawl=1", "crawlsize=12",
                                                      "notes=Lobby, by the \xe9scalier"}));
}

TEST(MergeSettingsTest, DuplicateLinesOfTheUnitCollapseToTheFirst) {
    const EntryList merged = MergeSettings({NewSettingEntry("notes", "new")}, UnitSet().Settings());
    EXPECT_EQ(Keys(merged), (std::vector<std::string>{"notes=new", "crawlsize=8"}));
}

TEST(ChangedInstructionTextTest, SettingsMergeLeavesTheChannelsAsTheyWere) {
    EntrySet set = UnitSet();
    EntryList given = {NewSettingEntry("crawl", "1"), NewSettingEntry("crawlsize", "12")};
    const EntryList before = given;
    const std::optional<std::string> text = ChangedInstructionText(set, kSettingKind, given);
    ASSERT_TRUE(text);
    EXPECT_EQ(*text, kUnitFile.substr(0, kUnitFile.find("4\t")) +
                         "4\tcrawl\t1\n4\tcrawlsize\t12\n4\tnotes\tLobby, by the \xe9scalier");
    EXPECT_EQ(given, before);
}

TEST(ChangedInstructionTextTest, ChannelReplaceTouchesOnlyThatChannel) {
    const EntrySet original = UnitSet();
    EntryList clips = {Clip(1, "/media/first.mpg"), Clip(1, "/media/second.mpg")};
    const EntryList deployed = clips;
    for (int unit = 0; unit < 2; ++unit) {  // the same clips serve the next unit
        EntrySet set = UnitSet();
        const std::optional<std::string> text = ChangedInstructionText(set, 1, clips);
        ASSERT_TRUE(text);
        EntrySet back;
        ASSERT_TRUE(TextToEntrySet(*text, back));
        EntrySet expected = original;
        expected.List(1) = deployed;
        EXPECT_EQ(back, expected);
        EXPECT_EQ(clips, deployed);
    }
}

TEST(ChangedInstructionTextTest, AnEmptyFileGetsOnlyTheDeployedList) {
    EntryList clips = {Clip(3, "/media/only.mp3")};
    EntrySet empty;
    const std::optional<std::string> channel = ChangedInstructionText(empty, 3, clips);
    ASSERT_TRUE(channel);
    EXPECT_TRUE(channel->starts_with("3\t/media/only.mp3\t"));
    EXPECT_EQ(channel->find('\n'), std::string::npos);

    EntryList settings = {NewSettingEntry("crawl", "1")};
    EntrySet none;
    EXPECT_EQ(ChangedInstructionText(none, kSettingKind, settings), "4\tcrawl\t1");
}

TEST(ChangedInstructionTextTest, AListIndexOutsideTheFileWritesNothing) {
    EntryList clips = {Clip(0, "/media/a.mpg")};
    for (int index : {-1, 5}) {
        EntrySet set = UnitSet();
        EXPECT_FALSE(ChangedInstructionText(set, index, clips)) << index;
    }
}

}  // namespace
}  // namespace vantic
