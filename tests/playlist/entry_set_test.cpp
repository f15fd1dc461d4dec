#include "playlist/entry_set.h"

#include <gtest/gtest.h>

#include <string>

#include "playlist/entry_fields.h"

namespace vantic {
namespace {

const std::string kClipLine = "2\t/media/a.mpg\tAuto\t\t12 KB\tAll\tloop\tNone\tNone\tA\tnote";
const std::string kSettingLine = "4\tcrawl\t1";

// A set that already holds something, to check that reading replaces it.
EntrySet FilledSet() {
    EntrySet set;
    EXPECT_TRUE(set.Append(NewSettingEntry("old", "value")));
    return set;
}

TEST(LinesToEntrySetTest, ClipsAndSettingsGoToTheirLists) {
    for (const std::string& text :
         {kClipLine + "\n" + kSettingLine, kSettingLine + "\r\n" + kClipLine + "\r\n"}) {
        EntrySet set = FilledSet();
        ASSERT_TRUE(TextToEntrySet(text, set)) << text;
        ASSERT_EQ(set.List(2).size(), 1u);
        EXPECT_EQ(set.List(2)[0].path, "/media/a.mpg");
        ASSERT_EQ(set.Settings().size(), 1u);
        EXPECT_EQ(set.Settings()[0].key, "crawl");
        EXPECT_EQ(set.TotalCount(), 2u);
    }
}

TEST(LinesToEntrySetTest, WellFormedLinesWithWrongKindAreDropped) {
    const std::string elevenFieldsKind4 = "4" + kClipLine.substr(1);
    const std::string threeFieldsKind0 = "0\tcrawl\t1";
    for (const std::string& bad :
         {elevenFieldsKind4, threeFieldsKind0, std::string("10\tk\tv"), std::string("5\tk\tv"),
          std::string("a\tk\tv"), std::string("\tk\tv")}) {
        EntrySet set;
        ASSERT_TRUE(TextToEntrySet(kClipLine + "\n" + bad + "\n" + kSettingLine, set)) << bad;
        EXPECT_EQ(set.TotalCount(), 2u) << bad;
    }
}

TEST(LinesToEntrySetTest, MalformedLineFailsTheWholeText) {
    for (const std::string& bad : {std::string("0\ta\tb\tc\td"), std::string("   "),
                                   std::string("loop"), kClipLine + "\t"}) {
        EntrySet set = FilledSet();
        EXPECT_FALSE(TextToEntrySet(kClipLine + "\n" + bad + "\n" + kSettingLine, set)) << bad;
        EXPECT_EQ(set.TotalCount(), 0u) << bad;
    }
}

TEST(LinesToEntrySetTest, EmptyLinesAreSkipped) {
    EntrySet set;
    ASSERT_TRUE(TextToEntrySet("\n" + kClipLine + "\n\n\r\n" + kSettingLine + "\n", set));
    EXPECT_EQ(set.TotalCount(), 2u);
    ASSERT_TRUE(TextToEntrySet("", set));
    EXPECT_EQ(set.TotalCount(), 0u);
}

TEST(EntrySetToTextTest, ListsInIndexOrderWithoutFinalLineEnd) {
    EntrySet set;
    ASSERT_TRUE(set.Append(NewSettingEntry("crawl", "1")));
    PlayEntry clip;
    clip.kind = 3;
    clip.isClip = true;
    clip.path = "b.mp3";
    clip.audio = kAudioB;
    ASSERT_TRUE(set.Append(clip));
    EXPECT_EQ(EntrySetToText(set), "3\tb.mp3\tAuto\t\t\tAll\tloop\tNone\tNone\tB\t\n4\tcrawl\t1");
    EXPECT_EQ(EntrySetToText(EntrySet{}), "");
}

TEST(EntrySetToTextTest, EntryOfUnknownKindFailsTheWholeSet) {
    EntrySet set;
    PlayEntry stray;
    stray.kind = 7;
    EXPECT_FALSE(set.Append(stray));
    set.List(1).push_back(stray);  // only code that bypasses Append can get here
    EXPECT_EQ(EntrySetToLines(set), std::nullopt);
    EXPECT_EQ(EntrySetToText(set), std::nullopt);
}

}  // namespace
}  // namespace vantic
