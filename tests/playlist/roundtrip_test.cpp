// Property test: any set of clips and settings within the field ranges,
// written as text and read back, gives the same entries.

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "playlist/entry_set.h"
#include "playlist/schedule.h"

namespace vantic {
namespace {

class EntryGenerator {
  public:
    explicit EntryGenerator(unsigned seed) : rng_(seed) {}

    int Between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng_); }
    bool Coin() { return Between(0, 1) == 1; }

    // Any byte but NUL and the three that cannot live in a field, mostly
    // above 127; no blanks at either end, as reading trims them.
    std::string Text(int maxLength) {
        std::string text;
        const int length = Between(0, maxLength);
        for (int i = 0; i < length; ++i) {
            char c;
            do {
                c = static_cast<char>(Coin() ? Between(0x80, 0xFF) : Between(1, 0x7F));
            } while (c == '\t' || c == '\r' || c == '\n');
            text += c;
        }
        while (!text.empty() && text.back() == ' ') {
            text.pop_back();
        }
        while (!text.empty() && text.front() == ' ') {
            text.erase(0, 1);
        }
        return text;
    }

    DateTime Date() {
        const int month = Between(1, 12);
        const bool shortMonth = month == 4 || month == 6 || month == 9 || month == 11;
        return {month, Between(1, shortMonth ? 30 : 31), Between(1971, 2100), Between(0, 23),
                Between(0, 59)};
    }

    PlayEntry Clip() {
        PlayEntry clip;
        clip.kind = Between(0, kChannelCount - 1);
        clip.isClip = true;
        clip.path = Text(80);
        clip.duration = Coin() ? 0 : Between(1, 100000000) / 1000.0;
        clip.contentName = Coin() ? "" : "0123456789abcdef0123456789abcdef";
        clip.sizeText = Text(12);
        clip.day = Between(0, static_cast<int>(DayNames.size()) - 1);
        clip.scheduleMode = static_cast<ScheduleMode>(Between(0, 2));
        if (clip.scheduleMode == ScheduleMode::PerHour) {
            clip.scheduleValue = Between(1, 60);
        } else if (clip.scheduleMode == ScheduleMode::AtTime) {
            clip.scheduleValue = Between(0, 1439);
        }
        clip.restrictHours = Coin();
        if (clip.restrictHours) {
            clip.hoursFrom = Between(0, 1439);
            clip.hoursTo = Between(0, 1439);
        }
        SetFirstDay(clip, Coin() ? std::optional(Date()) : std::nullopt);
        SetLastDay(clip, Coin() ? std::optional(Date()) : std::nullopt);
        clip.audio = clip.kind == 2 ? kAudioA : clip.kind == 3 ? kAudioB : Between(0, 2);
        clip.notes = Text(100);
        return clip;
    }

    PlayEntry Setting() { return NewSettingEntry(Text(20) + "k", Text(60)); }

  private:
    std::mt19937 rng_;
};

TEST(RoundTripTest, RandomSetsSurviveTextUnchanged) {
    EntryGenerator generate(20060315);
    for (int round = 0; round < 300; ++round) {
        EntrySet set;
        const int count = generate.Between(0, 12);
        for (int i = 0; i < count; ++i) {
            ASSERT_TRUE(
                set.Append(generate.Between(0, 4) == 0 ? generate.Setting() : generate.Clip()));
        }
        const std::optional<std::string> text = EntrySetToText(set);
        ASSERT_TRUE(text);
        EntrySet back;
        ASSERT_TRUE(TextToEntrySet(*text, back)) << *text;
        ASSERT_EQ(back, set) << *text;
        EXPECT_EQ(EntrySetToText(back), text);
    }
}

TEST(RoundTripTest, EveryScheduleValueSurvives) {
    PlayEntry clip;
    clip.isClip = true;
    for (int minute = 0; minute < 1440; ++minute) {
        clip.scheduleMode = ScheduleMode::AtTime;
        clip.scheduleValue = minute;
        clip.restrictHours = true;
        clip.hoursFrom = minute;
        clip.hoursTo = 1439 - minute;
        const std::string text = FormatSchedule(clip);
        EXPECT_EQ(ParseScheduleMode(text), (Schedule{ScheduleMode::AtTime, minute})) << text;
        EXPECT_EQ(ParsePlayHours(text), (PlayHours{minute, 1439 - minute})) << text;
    }
}

}  // namespace
}  // namespace vantic
