#include "playlist/schedule.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <utility>

#include "playlist/entry_fields.h"

namespace vantic {
namespace {

TEST(LookupNameTest, MatchesIgnoringCaseElseFallsBack) {
    EXPECT_EQ(LookupName(DayNames, "weekends", 0), 1);
    EXPECT_EQ(LookupName(DayNames, "SAT", 0), 9);
    EXPECT_EQ(LookupName(DayNames, "Sunday", 0), 0);  // only the short names are listed
    EXPECT_EQ(LookupName(AudioNames, "b", 1), 2);
    EXPECT_EQ(LookupName(AudioNames, "", 1), 1);
}

TEST(ParseClockTest, ReadsHoursAndMinutesInRange) {
    EXPECT_EQ(ParseClock("8:5"), 485);
    EXPECT_EQ(ParseClock(" 07 : 05 "), 425);
    EXPECT_EQ(ParseClock("23:59"), 1439);
    EXPECT_EQ(ParseClock("10:30:45"), 630);  // seconds are ignored
    EXPECT_EQ(ParseClock("24:00"), std::nullopt);
    EXPECT_EQ(ParseClock("12:60"), std::nullopt);
    EXPECT_EQ(ParseClock("-1:00"), std::nullopt);
    EXPECT_EQ(ParseClock("1030"), std::nullopt);
    EXPECT_EQ(ParseClock("1:2:3:4"), std::nullopt);
    EXPECT_EQ(ParseClock("99999999999:00"), std::nullopt);
}

TEST(ParseScheduleModeTest, ReadsModeAndValue) {
    struct Case {
        const char* text;
        ScheduleMode mode;
        int value;
    };
    const Case cases[] = {
        {"4/hour", ScheduleMode::PerHour, 4},
        {"4/HOUR", ScheduleMode::PerHour, 4},
        {"60/hour", ScheduleMode::PerHour, 60},
        {"0/hour", ScheduleMode::Loop, 0},
        {"61/hour", ScheduleMode::Loop, 61},
        {"13:05", ScheduleMode::AtTime, 785},
        {"LOOP", ScheduleMode::Loop, 0},
        {"whenever", ScheduleMode::Loop, 0},
        {"", ScheduleMode::Loop, 0},
        {"4/hour from 08:00 to 09:00", ScheduleMode::PerHour, 4},
    };
    for (const Case& c : cases) {
        const Schedule schedule = ParseScheduleMode(c.text);
        EXPECT_EQ(schedule.mode, c.mode) << c.text;
        EXPECT_EQ(schedule.value, c.value) << c.text;
    }
}

TEST(ParsePlayHoursTest, NeedsLowerCaseFromAndTwoClocks) {
    EXPECT_EQ(ParsePlayHours("loop from 08:00 to 17:30"), (PlayHours{480, 1050}));
    EXPECT_EQ(ParsePlayHours("6/hour from 22:00 to 06:00"), (PlayHours{1320, 360}));
    EXPECT_EQ(ParsePlayHours("loop FROM 08:00 TO 17:30"), std::nullopt);
    EXPECT_EQ(ParsePlayHours("loop from 08:00"), std::nullopt);
    EXPECT_EQ(ParsePlayHours("loop from 08:00 to 17:30 to 18:00"), std::nullopt);
    EXPECT_EQ(ParsePlayHours("loop from 25:00 to 17:30"), std::nullopt);
}

// A clip read from a schedule text, as a line of the instruction file does.
PlayEntry ClipWithSchedule(const std::string& schedule) {
    const cpStringArray fields{"0",      "a.mpg", "Auto", "",  "", "All",
                               schedule, "None",  "None", "A", ""};
    return EntryFromFields(fields).value();
}

TEST(ScheduleTextTest, ReadsWindowAndModeTogether) {
    const PlayEntry window = ClipWithSchedule("loop from 08:00 to 17:30");
    EXPECT_EQ(window.scheduleMode, ScheduleMode::Loop);
    EXPECT_TRUE(window.restrictHours);
    EXPECT_EQ(window.hoursFrom, 480);
    EXPECT_EQ(window.hoursTo, 1050);

    const PlayEntry capitals = ClipWithSchedule("loop FROM 08:00 TO 17:30");
    EXPECT_EQ(capitals.scheduleMode, ScheduleMode::Loop);
    EXPECT_FALSE(capitals.restrictHours);

    const PlayEntry fixed = ClipWithSchedule("13:05 from 08:00 to 17:30");
    EXPECT_EQ(fixed.scheduleMode, ScheduleMode::AtTime);
    EXPECT_EQ(fixed.scheduleValue, 785);
    EXPECT_TRUE(fixed.restrictHours);
}

TEST(ScheduleTextTest, CanonicalTextsAreWrittenBackUnchanged) {
    for (const char* text : {"loop", "4/hour", "13:05", "00:00", "loop from 08:00 to 17:30",
                             "6/hour from 22:00 to 06:00", "13:05 from 08:00 to 17:30"}) {
        EXPECT_EQ(FormatSchedule(ClipWithSchedule(text)), text);
    }
    // Readable but not canonical texts come back in the written form.
    EXPECT_EQ(FormatSchedule(ClipWithSchedule("8:5")), "08:05");
    EXPECT_EQ(FormatSchedule(ClipWithSchedule("61/hour")), "loop");
    EXPECT_EQ(FormatSchedule(ClipWithSchedule("LOOP from 8:0 to 9:15")),
              "loop from 08:00 to 09:15");
}

TEST(ParseDateTimeTest, DefaultTimesAndTimeOfDay) {
    EXPECT_EQ(ParseDateTime("03/15/2006", DefaultTime::Early), (DateTime{3, 15, 2006, 0, 0}));
    EXPECT_EQ(ParseDateTime("03/15/2006", DefaultTime::Late), (DateTime{3, 15, 2006, 23, 59}));
    EXPECT_EQ(ParseDateTime("3/5/2006 7:05", DefaultTime::Late), (DateTime{3, 5, 2006, 7, 5}));
    EXPECT_EQ(ParseDateTime("03/15/2006  10:30", DefaultTime::Early),
              (DateTime{3, 15, 2006, 10, 30}));
}

TEST(ParseDateTimeTest, RejectsImpossibleDatesAndSeconds) {
    EXPECT_TRUE(ParseDateTime("02/31/2006", DefaultTime::Early));  // rolls into March later
    EXPECT_TRUE(ParseDateTime("01/01/1971", DefaultTime::Early));
    EXPECT_TRUE(ParseDateTime("12/31/2100", DefaultTime::Early));
    for (const char* text : {"03/15/2006 10:30:00", "04/31/2006", "06/31/2006", "09/31/2006",
                             "11/31/2006", "12/31/1970", "01/01/2101", "13/01/2006", "00/10/2006",
                             "01/32/2006", "01/00/2006", "03/15/2006 24:00", "03/15/2006 10:60",
                             "03/15/2006 ", "03/15", "03/15/2006/1", "None", "", "2006-03-15"}) {
        EXPECT_EQ(ParseDateTime(text, DefaultTime::Early), std::nullopt) << text;
    }
}

TEST(FormatDateTimeTest, PadsFieldsOrWritesNone) {
    EXPECT_EQ(FormatDateTime(DateTime{3, 5, 2006, 7, 5}), "03/05/2006 07:05");
    EXPECT_EQ(FormatDateTime(std::nullopt), "None");
}

// The date tests run in local time; this fixes the zone (with summer time,
// to check days on both sides of a change) for the length of a test.
class ClipDayTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const char* old = std::getenv("TZ");
        if (old != nullptr) {
            savedZone_ = old;
        }
        setenv("TZ", "CET-1CEST,M3.5.0,M10.5.0/3", 1);
        tzset();
    }
    void TearDown() override {
        if (savedZone_) {
            setenv("TZ", savedZone_->c_str(), 1);
        } else {
            unsetenv("TZ");
        }
        tzset();
    }

    static std::time_t LocalTime(int year, int month, int day, int hour, int minute) {
        std::tm fields{};
        fields.tm_year = year - 1900;
        fields.tm_mon = month - 1;
        fields.tm_mday = day;
        fields.tm_hour = hour;
        fields.tm_min = minute;
        fields.tm_isdst = -1;
        return std::mktime(&fields);
    }

    static PlayEntry ClipBetween(std::optional<DateTime> first, std::optional<DateTime> last) {
        PlayEntry clip;
        clip.isClip = true;
        SetFirstDay(clip, first);
        SetLastDay(clip, last);
        return clip;
    }

  private:
    std::optional<std::string> savedZone_;
};

TEST_F(ClipDayTest, LastDayRunsOutAfterItsDateWhateverItsTime) {
    const PlayEntry endsToday = ClipBetween(std::nullopt, DateTime{3, 15, 2006, 0, 0});
    EXPECT_FALSE(IsPastLastDay(endsToday, LocalTime(2006, 3, 15, 0, 0)));
    EXPECT_FALSE(IsPastLastDay(endsToday, LocalTime(2006, 3, 15, 23, 59)));
    EXPECT_TRUE(IsPastLastDay(endsToday, LocalTime(2006, 3, 16, 0, 0)));
    EXPECT_FALSE(IsBeforeFirstDay(endsToday, LocalTime(2000, 1, 1, 0, 0)));
}

TEST_F(ClipDayTest, FirstDayIsDueFromItsDate) {
    const PlayEntry startsToday = ClipBetween(DateTime{3, 15, 2006, 23, 59}, std::nullopt);
    EXPECT_TRUE(IsBeforeFirstDay(startsToday, LocalTime(2006, 3, 14, 23, 59)));
    EXPECT_FALSE(IsBeforeFirstDay(startsToday, LocalTime(2006, 3, 15, 0, 1)));
    EXPECT_FALSE(IsPastLastDay(startsToday, LocalTime(2030, 1, 1, 0, 0)));
}

TEST_F(ClipDayTest, DatesAcrossSummerTimeAndFebruaryOverflow) {
    // Summer time began on 26 March 2006; the day before is still past at 00:30.
    const PlayEntry winterEnd = ClipBetween(std::nullopt, DateTime{3, 25, 2006, 0, 0});
    EXPECT_TRUE(IsPastLastDay(winterEnd, LocalTime(2006, 3, 26, 0, 30)));
    EXPECT_FALSE(IsPastLastDay(winterEnd, LocalTime(2006, 3, 25, 23, 30)));
    // On the days the clocks change, a clip of that very day is due and not run out.
    const PlayEntry springDay =
        ClipBetween(DateTime{3, 26, 2006, 0, 0}, DateTime{3, 26, 2006, 0, 0});
    const PlayEntry autumnDay =
        ClipBetween(DateTime{10, 29, 2006, 0, 0}, DateTime{10, 29, 2006, 0, 0});
    for (const auto& [clip, now] : {std::pair{springDay, LocalTime(2006, 3, 26, 1, 30)},
                                    std::pair{springDay, LocalTime(2006, 3, 26, 3, 30)},
                                    std::pair{autumnDay, LocalTime(2006, 10, 29, 1, 30)},
                                    std::pair{autumnDay, LocalTime(2006, 10, 29, 2, 30)},
                                    std::pair{autumnDay, LocalTime(2006, 10, 29, 3, 30)}}) {
        EXPECT_FALSE(IsBeforeFirstDay(clip, now)) << now;
        EXPECT_FALSE(IsPastLastDay(clip, now)) << now;
    }
    // 31 February 2006 is 3 March.
    const PlayEntry february = ClipBetween(std::nullopt, DateTime{2, 31, 2006, 23, 59});
    EXPECT_FALSE(IsPastLastDay(february, LocalTime(2006, 3, 3, 12, 0)));
    EXPECT_TRUE(IsPastLastDay(february, LocalTime(2006, 3, 4, 0, 0)));
}

TEST_F(ClipDayTest, OnlyClipsWithTheDaySetAreTested) {
    PlayEntry clip = ClipBetween(DateTime{1, 1, 2030, 0, 0}, DateTime{1, 1, 1990, 0, 0});
    const std::time_t now = LocalTime(2006, 3, 15, 12, 0);
    ASSERT_TRUE(IsBeforeFirstDay(clip, now));
    ASSERT_TRUE(IsPastLastDay(clip, now));
    PlayEntry setting = clip;
    setting.isSetting = true;
    setting.isClip = false;
    setting.kind = kSettingKind;
    EXPECT_FALSE(IsBeforeFirstDay(setting, now));
    EXPECT_FALSE(IsPastLastDay(setting, now));
    SetFirstDay(clip, std::nullopt);
    SetLastDay(clip, std::nullopt);
    EXPECT_FALSE(IsBeforeFirstDay(clip, now));
    EXPECT_FALSE(IsPastLastDay(clip, now));
    EXPECT_EQ(clip.firstYear, 2030);  // clearing the flag keeps the date for the editor
}

}  // namespace
}  // namespace vantic

namespace vantic {
namespace {

TEST(PlayRulesTest, DaySelectorNamesTheWeekdaysItAllows) {
    const auto allowed = [](std::string_view name) {
        std::string days;
        for (int weekday = 0; weekday < 7; ++weekday) {
            days += DaySelectorAllows(LookupName(DayNames, name, 0), weekday) ? '1' : '0';
        }
        return days;  // Sunday first
    };
    EXPECT_EQ(allowed("All"), "1111111");
    EXPECT_EQ(allowed("Weekends"), "1000001");
    EXPECT_EQ(allowed("Weekdays"), "0111110");
    EXPECT_EQ(allowed("Sun"), "1000000");
    EXPECT_EQ(allowed("Tue"), "0010000");
    EXPECT_EQ(allowed("Sat"), "0000001");
    EXPECT_TRUE(DaySelectorAllows(42, 3));  // unknown selectors play every day, as read
}

TEST(PlayRulesTest, PlayHoursEndBeforeTheirLastMinuteAndMayRunOvernight) {
    PlayEntry clip;
    EXPECT_TRUE(IsInPlayHours(clip, 0));  // no window
    clip.restrictHours = true;
    clip.hoursFrom = 8 * 60;
    clip.hoursTo = 18 * 60;
    EXPECT_FALSE(IsInPlayHours(clip, 8 * 60 - 1));
    EXPECT_TRUE(IsInPlayHours(clip, 8 * 60));
    EXPECT_TRUE(IsInPlayHours(clip, 18 * 60 - 1));
    EXPECT_FALSE(IsInPlayHours(clip, 18 * 60));
    clip.hoursFrom = 22 * 60;
    clip.hoursTo = 6 * 60;
    EXPECT_TRUE(IsInPlayHours(clip, 23 * 60));
    EXPECT_TRUE(IsInPlayHours(clip, 5 * 60 + 59));
    EXPECT_FALSE(IsInPlayHours(clip, 12 * 60));
    clip.hoursTo = clip.hoursFrom;  // ends where it starts: the whole day
    EXPECT_TRUE(IsInPlayHours(clip, 12 * 60));
}

}  // namespace
}  // namespace vantic
