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

TEST(ChangedInstructionTextTest, AListIndexOutsideTheFileWritesNothing) {
    EntryList clips = {Clip(0, "/media/a.mpg")};
    for (int index : {-1, 5}) {
        EntrySet set = UnitSet();
        EXPECT_FALSE(ChangedInstructionText(set, index, clips)) << index;
    }
}

}  // namespace
}  // namespace vantic
