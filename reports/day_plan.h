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

// The plan text of a playlist (every channel's clips) saved at path (empty:
// not saved) for the form's date and channel; what both the window and the
// command line show. Empty for a date off the calendar or another channel.
[[nodiscard]] std::string PlanTextOf(const EntrySet& playlist, std::string_view path,
                                     const DayPlanForm& form);

class DayPlanView {
  public:
    virtual ~DayPlanView() = default;
    // Shows "Day Plan" modal over owner: a date picker and a channel choice
    // set to the form, and planText's text for them; each change of either
    // shows planText's text for the new choice. Returns when the operator
    // closes the window, the form holding the last choice.
    virtual void RunDayPlan(WindowId owner, DayPlanForm& form,
                            const std::function<std::string(const DayPlanForm&)>& planText) = 0;
};

// "Day Plan...": the playlist's plan, starting at today and the shown channel.
void ShowDayPlan(DayPlanView& view, WindowId owner, const EntrySet& playlist, std::string_view path,
                 int shownChannel, const ReportDate& today);

}  // namespace vantic
