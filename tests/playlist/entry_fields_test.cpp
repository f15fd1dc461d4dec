#include "playlist/entry_fields.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "playlist/entry_set.h"
#include "playlist/schedule.h"

namespace vantic {
namespace {

cpStringArray ClipFields(const std::string& kind, const std::string& duration,
                         const std::string& audio) {
    return cpStringArray{kind,
                         " C:\\media\\a.mpg ",
                         duration,
                         "",
                         "",
                         "weekends",
                         "4/hour",
                         "03/15/2006",
                         "03/15/2006",
                         audio,
                         " some notes "};
}

TEST(EntryFromFieldsTest, ReadsTrimmedFieldsAndDefaults) {
    const PlayEntry clip = EntryFromFields(ClipFields(" 1 ", "Auto", "None")).value();
    EXPECT_EQ(clip.kind, 1);
    EXPECT_TRUE(clip.isClip);
    EXPECT_FALSE(clip.isSetting);
    EXPECT_EQ(clip.path, "C:\\media\\a.mpg");
    EXPECT_EQ(clip.notes, "some notes");
    EXPECT_EQ(clip.day, 1);
    EXPECT_EQ(clip.audio, kAudioNone);
    EXPECT_EQ(FirstDayOf(clip), (DateTime{3, 15, 2006, 0, 0}));
    EXPECT_EQ(LastDayOf(clip), (DateTime{3, 15, 2006, 23, 59}));

    const PlayEntry setting = EntryFromFields(cpStringArray{"4", " crawl ", " 1 "}).value();
    EXPECT_EQ(setting, NewSettingEntry("crawl", "1"));
    EXPECT_TRUE(setting.path.empty());
}

TEST(EntryFromFieldsTest, DurationTextIsReadLeniently) {
    const auto duration = [](const std::string& text) {
        return EntryFromFields(ClipFields("0", text, "A")).value().duration;
    };
    EXPECT_EQ(duration("Auto"), 0);
    EXPECT_EQ(duration(""), 0);
    EXPECT_EQ(duration("ten"), 0);
    EXPECT_EQ(duration("nan"), 0);
    EXPECT_EQ(duration("1e999"), 0);
    EXPECT_EQ(duration("12.500000"), 12.5);
    EXPECT_EQ(duration("+7.25s"), 7.25);
}

TEST(EntryFromFieldsTest, AudioChannelsKeepTheirOwnSound) {
    const auto audio = [](const std::string& kind, const std::string& text) {
        return EntryFromFields(ClipFields(kind, "Auto", text)).value().audio;
    };
    EXPECT_EQ(audio("2", "None"), kAudioA);
    EXPECT_EQ(audio("2", "B"), kAudioA);
    EXPECT_EQ(audio("3", "None"), kAudioB);
    EXPECT_EQ(audio("3", "A"), kAudioB);
    EXPECT_EQ(audio("0", "b"), kAudioB);
    EXPECT_EQ(audio("0", "none"), kAudioNone);
    EXPECT_EQ(audio("1", "stereo"), kAudioA);
}

TEST(EntryFromFieldsTest, OnlyKindAndFieldCountCanRejectAnEntry) {
    EXPECT_FALSE(EntryFromFields(cpStringArray{}));
    EXPECT_FALSE(EntryFromFields(ClipFields("4", "Auto", "A")));
    EXPECT_FALSE(EntryFromFields(ClipFields("01", "Auto", "A")));
    EXPECT_FALSE(EntryFromFields(cpStringArray{"4", "key"}));
    EXPECT_FALSE(EntryFromFields(cpStringArray{"3", "key", "value"}));
    const cpStringArray garbage{"3",   "",           "x",    "",  "", "Someday",
                                "???", "13/45/2006", "soon", "?", ""};
    const PlayEntry clip = EntryFromFields(garbage).value();
    EXPECT_EQ(clip.day, 0);
    EXPECT_EQ(clip.scheduleMode, ScheduleMode::Loop);
    EXPECT_FALSE(clip.hasFirstDay);
    EXPECT_FALSE(clip.hasLastDay);
}

TEST(EntryToFieldsTest, WritesDurationDaysAndAudioNames) {
    PlayEntry clip;
    clip.kind = 0;
    clip.isClip = true;
    clip.duration = 12.5;
    clip.day = 4;
    clip.audio = kAudioNone;
    SetFirstDay(clip, DateTime{3, 5, 2006, 7, 5});
    const cpStringArray fields = EntryToFields(clip).value();
    ASSERT_EQ(fields.Count(), kClipFieldCount);
    EXPECT_EQ(fields.TextAt(2), "12.500000");
    EXPECT_EQ(fields.TextAt(5), "Mon");
    EXPECT_EQ(fields.TextAt(7), "03/05/2006 07:05");
    EXPECT_EQ(fields.TextAt(8), "None");
    EXPECT_EQ(fields.TextAt(9), "None");

    clip.duration = 0;
    clip.day = 42;  // out of the table: written as the name an unknown one reads as
    clip.audio = -1;
    const cpStringArray odd = EntryToFields(clip).value();
    EXPECT_EQ(odd.TextAt(2), "Auto");
    EXPECT_EQ(odd.TextAt(5), "All");
    EXPECT_EQ(odd.TextAt(9), "A");
}

TEST(EntryToFieldsTest, TabsAndLineBreaksInTextsBecomeBlanks) {
    PlayEntry clip;
    clip.kind = 1;
    clip.isClip = true;
    clip.path = "/media/odd\tname.mpg";
    clip.notes = "first\tsecond\r\nthird\rfourth\nfifth";
    EntrySet set;
    ASSERT_TRUE(set.Append(clip));
    ASSERT_TRUE(set.Append(NewSettingEntry("notes", "line one\nline two")));

    const std::string text = EntrySetToText(set).value();
    EXPECT_EQ(text.find('\r'), std::string::npos);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1);  // between the two entries

    EntrySet back;
    ASSERT_TRUE(TextToEntrySet(text, back));
    ASSERT_EQ(back.List(1).size(), 1u);
    EXPECT_EQ(back.List(1)[0].path, "/media/odd name.mpg");
    EXPECT_EQ(back.List(1)[0].notes, "first second  third fourth fifth");
    ASSERT_EQ(back.Settings().size(), 1u);
    EXPECT_EQ(back.Settings()[0].value, "line one line two");
}

}  // namespace
}  // namespace vantic
