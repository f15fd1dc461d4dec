#pragma once

// The day plan of a channel: which of its clips may play in each hour of a
// chosen day by the clips' own schedules (day selector, first and last day,
// play hours, loop, times per hour, fixed time), and which do not play that
// day and why. It tells eligibility only: the order in which a unit plays
// the eligible clips is the unit's business.

#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/window.h"
#include "playlist/entry_set.h"
#include "reports/report_dates.h"

namespace vantic {

inline constexpr int kHoursPerDay = 24;

// A clip that may play in an hour.
struct PlanClip {
    int row = 0;       // the clip's place in its channel, from 0
    std::string name;  // its media file's name
    ScheduleMode mode = ScheduleMode::Loop;
    int value = 0;  // times per hour, or the minute of the day of a fixed time

    bool operator==(const PlanClip&) const = default;
};

enum class PlanSkip {
    BeforeFirstDay,    // not due: its first day is still to come
    OtherWeekday,      // not due: its day selector leaves the weekday out
    TimeOutsideHours,  // not due: its fixed time lies outside its play hours
    PastLastDay,       // run out: its last day is over
};

// A clip that does not play that day.
struct SkippedClip {
    int row = 0;
    std::string name;
    PlanSkip reason = PlanSkip::BeforeFirstDay;
    std::string why;  // the reason as the plan's text gives it

    bool operator==(const SkippedClip&) const = default;
};

struct DayPlan {
    ReportDate date;
    int weekday = 0;  // 0 Sunday to 6 Saturday
    int channel = 0;
    std::array<std::vector<PlanClip>, kHoursPerDay> hours;
    std::vector<SkippedClip> notDue;
    std::vector<SkippedClip> runOut;
};

// The plan of one channel's clips (in row order) on a calendar date, in
// local time. Entries that are not clips, and clips without a file, are
// left out.
[[nodiscard]] DayPlan BuildDayPlan(const EntryList& clips, int channel, const ReportDate& date);

// The plan as text with LF line ends, headed by the playlist's name.
[[nodiscard]] std::string DayPlanText(const DayPlan& plan, std::string_view playlistName);

// The playlist's name for the plan: its file's name, "(not saved)" without one.
[[nodiscard]] std::string PlanPlaylistName(std::string_view path);

// What the window "Day Plan" shows the plan for.
struct DayPlanForm {
    ReportDate date;
    int channel = 0;  // 0-3

    bool operator==(const DayPlanForm&) const = default;
};

// A day's plan and its text, the text written from the plan: the window
// draws the one and shows the other.
struct DayPlanPage {
    DayPlan plan;
    std::string text;  // empty for a date off the calendar or another channel
};

// The plan of a playlist (every channel's clips) saved at path (empty: not
// saved) for the form's date and channel.
[[nodiscard]] DayPlanPage PlanPageOf(const EntrySet& playlist, std::string_view path,
                                     const DayPlanForm& form);
// Its text alone; what both the window and the command line show.
[[nodiscard]] std::string PlanTextOf(const EntrySet& playlist, std::string_view path,
                                     const DayPlanForm& form);

// One clip's line of the plan's timeline, in row order.
enum class TimelineState { Plays, NotDue, RunOut };
struct TimelineRow {
    int row = 0;
    std::string name;
    TimelineState state = TimelineState::Plays;
    std::array<bool, kHoursPerDay> hours{};  // the hours it may play in
    ScheduleMode mode = ScheduleMode::Loop;
    int minute = -1;   // the minute of the day a clip at a fixed time plays
    std::string note;  // how often ("loop", "4/hour", "at 13:30"), or why not

    bool operator==(const TimelineRow&) const = default;
};

// The plan's clips as a 24-hour timeline, in the playlist's order: where
// each may play, or why it does not that day.
[[nodiscard]] std::vector<TimelineRow> PlanTimeline(const DayPlan& plan);

class DayPlanView {
  public:
    virtual ~DayPlanView() = default;
    using PlanPage = std::function<DayPlanPage(const DayPlanForm&)>;
    // Shows "Day Plan" modal over owner: a date picker and a channel choice
    // set to the form, and planPage's plan for them; each change of either
    // shows the plan of the new choice. Returns when the operator closes
    // the window, the form holding the last choice.
    virtual void RunDayPlan(WindowId owner, DayPlanForm& form, const PlanPage& planPage) = 0;
};

// "Day Plan...": the playlist's plan, starting at today and the shown channel.
void ShowDayPlan(DayPlanView& view, WindowId owner, const EntrySet& playlist, std::string_view path,
                 int shownChannel, const ReportDate& today);

}  // namespace vantic
