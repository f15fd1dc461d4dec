#include "reports/day_plan.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/cpstringarray.h"
#include "playlist/entry_fields.h"

namespace vantic {
namespace {

// A clip of channel 0 read from its playlist line, as a .PLY file gives it.
PlayEntry Clip(const std::string& path, const std::string& day, const std::string& schedule,
               const std::string& first = "None", const std::string& last = "None") {
    const std::string line = "0\t" + path + "\tAuto\t\t12 KB\t" + day + "\t" + schedule + "\t" +
                             first + "\t" + last + "\tA\t";
    return *EntryFromFields(cpStringArray::SplitNew(line, "\t"));
}

const PlayEntry kOfficeHours =
    Clip("/media/office.mpg", "Weekdays", "loop from 08:00 to 18:00", "12/01/2026", "12/31/2026");

std::vector<int> HoursOf(const DayPlan& plan, const std::string& name) {
    std::vector<int> hours;
    for (int hour = 0; hour < kHoursPerDay; ++hour) {
        for (const PlanClip& clip : plan.hours[static_cast<std::size_t>(hour)]) {
            if (clip.name == name) {
                hours.push_back(hour);
            }
        }
    }
    return hours;
}

std::vector<int> Range(int first, int last) {
    std::vector<int> hours;
    for (int hour = first; hour <= last; ++hour) {
        hours.push_back(hour);
    }
    return hours;
}

TEST(DayPlanTest, WeekdayWindowClipPlaysItsHoursOnlyOnWeekdaysOfItsDays) {
    const DayPlan tuesday = BuildDayPlan({kOfficeHours}, 0, ReportDate{2026, 12, 8});
    EXPECT_EQ(tuesday.weekday, 2);
    EXPECT_EQ(HoursOf(tuesday, "office.mpg"), Range(8, 17));
    EXPECT_TRUE(tuesday.notDue.empty() && tuesday.runOut.empty());

    const DayPlan beforeFirst = BuildDayPlan({kOfficeHours}, 0, ReportDate{2026, 11, 30});
    const DayPlan sunday = BuildDayPlan({kOfficeHours}, 0, ReportDate{2026, 12, 6});
    const DayPlan afterLast = BuildDayPlan({kOfficeHours}, 0, ReportDate{2027, 1, 1});
    EXPECT_EQ(beforeFirst.notDue,
              (std::vector<SkippedClip>{
                  {0, "office.mpg", PlanSkip::BeforeFirstDay, "first day 12/01/2026"}}));
    EXPECT_EQ(sunday.notDue, (std::vector<SkippedClip>{{0, "office.mpg", PlanSkip::OtherWeekday,
                                                        "plays on Weekdays only"}}));
    EXPECT_EQ(afterLast.runOut, (std::vector<SkippedClip>{{0, "office.mpg", PlanSkip::PastLastDay,
                                                           "last day 12/31/2026"}}));
    for (const DayPlan* plan : {&beforeFirst, &sunday, &afterLast}) {
        EXPECT_TRUE(HoursOf(*plan, "office.mpg").empty());
    }
    // Its last day itself still plays.
    EXPECT_EQ(HoursOf(BuildDayPlan({kOfficeHours}, 0, ReportDate{2026, 12, 31}), "office.mpg"),
              Range(8, 17));
}

TEST(DayPlanTest, ScheduleModesAndWindowsPlaceClipsInTheirHours) {
    const EntryList clips = {
        Clip("noon.mpg", "All", "13:30"),
        Clip("night.mpg", "All", "4/hour from 22:00 to 06:00"),
        Clip("late.mpg", "All", "19:00 from 08:00 to 18:00"),
        Clip("half.mpg", "Tue", "loop from 09:30 to 10:15"),
        Clip("", "All", "loop"),  // no file: nothing to play
    };
    const DayPlan plan = BuildDayPlan(clips, 0, ReportDate{2026, 12, 8});
    EXPECT_EQ(HoursOf(plan, "noon.mpg"), std::vector<int>{13});
    std::vector<int> night = Range(0, 5);
    night.insert(night.end(), {22, 23});
    EXPECT_EQ(HoursOf(plan, "night.mpg"), night);
    EXPECT_EQ(HoursOf(plan, "half.mpg"), Range(9, 10));
    EXPECT_EQ(plan.hours[13][0], (PlanClip{0, "noon.mpg", ScheduleMode::AtTime, 13 * 60 + 30}));
    EXPECT_EQ(plan.hours[0][0], (PlanClip{1, "night.mpg", ScheduleMode::PerHour, 4}));
    ASSERT_EQ(plan.notDue.size(), 1u);
    EXPECT_EQ(plan.notDue[0].row, 2);
    EXPECT_EQ(plan.notDue[0].reason, PlanSkip::TimeOutsideHours);
    EXPECT_EQ(plan.notDue[0].why, "its time 19:00 is outside its play hours 08:00 to 18:00");
}

TEST(DayPlanTest, TextListsEveryHourThenTheClipsThatDoNotPlay) {
    const EntryList clips = {kOfficeHours, Clip("/m/caf\xE9.mpg", "All", "13:30"),
                             Clip("old.mpg", "All", "2/hour", "None", "11/30/2026"),
                             Clip("xmas.mpg", "All", "loop", "12/24/2026")};
    const std::string text = DayPlanText(BuildDayPlan(clips, 1, ReportDate{2026, 12, 8}), "a.PLY");
    const cpStringArray lines = cpStringArray::SplitNew(text, "\n");
    ASSERT_EQ(lines.Count(), 4u + 24u + 5u + 1u);  // the text ends with a line end
    EXPECT_EQ(lines.TextAt(0), "Day Plan of Video - Alt for Tuesday 12/08/2026");
    EXPECT_EQ(lines.TextAt(1), "Playlist: a.PLY");
    EXPECT_EQ(lines.TextAt(4), "00:00  -");
    EXPECT_EQ(lines.TextAt(4 + 8), "08:00  office.mpg (loop)");
    EXPECT_EQ(lines.TextAt(4 + 13), "13:00  office.mpg (loop), caf\xE9.mpg (at 13:30)");
    EXPECT_EQ(lines.TextAt(4 + 18), "18:00  -");
    EXPECT_EQ(text.substr(text.find("\n\nNot due:")),
              "\n\nNot due:\n  xmas.mpg: first day 12/24/2026\nRun out:\n"
              "  old.mpg: last day 11/30/2026\n");
    EXPECT_NE(DayPlanText(BuildDayPlan({}, 0, ReportDate{2026, 12, 8}), "a.PLY")
                  .find("\nNot due: none\nRun out: none\n"),
              std::string::npos);
}

TEST(DayPlanTest, PlanTextTakesTheChosenChannelOfTheWholePlaylist) {
    EntrySet playlist;
    playlist.List(2).push_back(Clip("song.mp3", "All", "loop"));
    const std::string audio = PlanTextOf(playlist, "/x/show.PLY", {{2026, 12, 8}, 2});
    EXPECT_NE(audio.find("Day Plan of Audio A"), std::string::npos);
    EXPECT_NE(audio.find("Playlist: show.PLY\n"), std::string::npos);
    EXPECT_NE(audio.find("12:00  song.mp3 (loop)"), std::string::npos);
    EXPECT_EQ(PlanTextOf(playlist, "", {{2026, 12, 8}, 0}).find("song.mp3"), std::string::npos);
    EXPECT_NE(PlanTextOf(playlist, "", {{2026, 12, 8}, 0}).find("Playlist: (not saved)"),
              std::string::npos);
    EXPECT_EQ(PlanTextOf(playlist, "", {{2026, 2, 30}, 0}), "");
    EXPECT_EQ(PlanTextOf(playlist, "", {{2026, 12, 8}, 4}), "");
}

// Each clip's timeline line: the hours it may play in, or why it does not
// play that day, in the playlist's order whatever its state.
TEST(DayPlanTest, TimelineGivesEachClipItsHoursOrItsReasonInRowOrder) {
    const std::vector<PlayEntry> clips = {
        Clip("/m/gone.mpg", "All", "loop", "None", "12/01/2026"),
        kOfficeHours,
        Clip("/m/noon.mpg", "All", "13:30"),
        Clip("/m/later.mpg", "All", "4/hour", "01/01/2027"),
        Clip("/m/lobby.mpg", "All", "loop"),
    };
    const DayPlan plan = BuildDayPlan(clips, 0, ReportDate{2026, 12, 8});
    struct Expected {
        std::string name;
        TimelineState state;
        std::vector<int> hours;
        int minute;
        std::string note;
    };
    const std::vector<Expected> expected = {
        {"gone.mpg", TimelineState::RunOut, {}, -1, "last day 12/01/2026"},
        {"office.mpg", TimelineState::Plays, Range(8, 17), -1, "loop"},
        {"noon.mpg", TimelineState::Plays, {13}, 13 * 60 + 30, "at 13:30"},
        {"later.mpg", TimelineState::NotDue, {}, -1, "first day 01/01/2027"},
        {"lobby.mpg", TimelineState::Plays, Range(0, 23), -1, "loop"},
    };
    const std::vector<TimelineRow> rows = PlanTimeline(plan);
    ASSERT_EQ(rows.size(), expected.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE(expected[i].name);
        EXPECT_EQ(rows[i].row, static_cast<int>(i));
        EXPECT_EQ(rows[i].name, expected[i].name);
        EXPECT_EQ(rows[i].state, expected[i].state);
        std::vector<int> hours;
        for (int hour = 0; hour < kHoursPerDay; ++hour) {
            if (rows[i].hours[static_cast<std::size_t>(hour)]) {
                hours.push_back(hour);
            }
        }
        EXPECT_EQ(hours, expected[i].hours);
        EXPECT_EQ(rows[i].minute, expected[i].minute);
        EXPECT_EQ(rows[i].note, expected[i].note);
    }
}

}  // namespace
}  // namespace vantic
