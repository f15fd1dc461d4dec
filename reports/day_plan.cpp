#include "reports/day_plan.h"

#include <algorithm>
#include <ctime>
#include <map>
#include <optional>
#include <utility>

#include "core/cpstring.h"
#include "playlist/schedule.h"

namespace vantic {
namespace {

constexpr int kMinutesPerHour = 60;
constexpr int kMinutesPerDay = kHoursPerDay * kMinutesPerHour;

constexpr std::array<std::string_view, 7> kWeekdayNames{
    "Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};

// Noon of the date in local time: safe from the hour a daylight-saving
// change skips or repeats.
struct PlacedDay {
    std::time_t noon = 0;
    int weekday = 0;
};

std::optional<PlacedDay> PlaceOnCalendar(const ReportDate& date) {
    std::tm fields{};
    fields.tm_year = date.year - 1900;
    fields.tm_mon = date.month - 1;
    fields.tm_mday = date.day;
    fields.tm_hour = 12;
    fields.tm_isdst = -1;
    const std::time_t noon = std::mktime(&fields);
    if (noon == -1) {
        return std::nullopt;
    }
    return PlacedDay{noon, fields.tm_wday};
}

std::string DateText(int month, int day, int year) {
    return FormatNew("%2.2d/%2.2d/%4.4d", month, day, year);
}

bool FixedTimeFits(const PlayEntry& clip) {
    return clip.scheduleValue >= 0 && clip.scheduleValue < kMinutesPerDay &&
           IsInPlayHours(clip, clip.scheduleValue);
}

SkippedClip Skip(PlanSkip reason, std::string why) {
    SkippedClip skipped;
    skipped.reason = reason;
    skipped.why = std::move(why);
    return skipped;
}

// Why the clip does not play that day; nothing when it may.
std::optional<SkippedClip> ReasonToSkip(const PlayEntry& clip, const PlacedDay& day) {
    if (IsPastLastDay(clip, day.noon)) {
        return Skip(PlanSkip::PastLastDay,
                    "last day " + DateText(clip.lastMonth, clip.lastDay, clip.lastYear));
    }
    if (IsBeforeFirstDay(clip, day.noon)) {
        return Skip(PlanSkip::BeforeFirstDay,
                    "first day " + DateText(clip.firstMonth, clip.firstDay, clip.firstYear));
    }
    if (!DaySelectorAllows(clip.day, day.weekday)) {
        return Skip(
            PlanSkip::OtherWeekday,
            "plays on " + std::string(DayNames[static_cast<std::size_t>(clip.day)]) + " only");
    }
    if (clip.scheduleMode == ScheduleMode::AtTime && !FixedTimeFits(clip)) {
        return Skip(PlanSkip::TimeOutsideHours,
                    "its time " + FormatClock(clip.scheduleValue) + " is outside its play hours " +
                        FormatClock(clip.hoursFrom) + " to " + FormatClock(clip.hoursTo));
    }
    return std::nullopt;
}

bool MayPlayInHour(const PlayEntry& clip, int hour) {
    if (clip.scheduleMode == ScheduleMode::AtTime) {
        return clip.scheduleValue / kMinutesPerHour == hour;
    }
    for (int minute = hour * kMinutesPerHour; minute < (hour + 1) * kMinutesPerHour; ++minute) {
        if (IsInPlayHours(clip, minute)) {
            return true;
        }
    }
    return false;
}

std::string HowOften(const PlanClip& clip) {
    switch (clip.mode) {
        case ScheduleMode::PerHour:
            return FormatNew("%d/hour", clip.value);
        case ScheduleMode::AtTime:
            return "at " + FormatClock(clip.value);
        case ScheduleMode::Loop:
            break;
    }
    return "loop";
}

std::string HourLine(int hour, const std::vector<PlanClip>& clips) {
    std::string line = FormatClock(hour * kMinutesPerHour) + "  ";
    if (clips.empty()) {
        return line + "-\n";
    }
    for (std::size_t i = 0; i < clips.size(); ++i) {
        line += (i == 0 ? "" : ", ") + clips[i].name + " (" + HowOften(clips[i]) + ")";
    }
    return line + "\n";
}

std::string SkippedSection(std::string_view heading, const std::vector<SkippedClip>& clips) {
    std::string text(heading);
    if (clips.empty()) {
        return text + " none\n";
    }
    text += "\n";
    for (const SkippedClip& clip : clips) {
        text += "  " + clip.name + ": " + clip.why + "\n";
    }
    return text;
}

}  // namespace

DayPlan BuildDayPlan(const EntryList& clips, int channel, const ReportDate& date) {
    DayPlan plan;
    plan.date = date;
    plan.channel = channel;
    const std::optional<PlacedDay> day = PlaceOnCalendar(date);
    if (!day) {
        return plan;
    }
    plan.weekday = day->weekday;
    for (std::size_t row = 0; row < clips.size(); ++row) {
        const PlayEntry& clip = clips[row];
        if (!IsClipEntry(clip) || clip.path.empty()) {
            continue;
        }
        const int place = static_cast<int>(row);
        std::string name(FileNameOf(clip.path));
        if (std::optional<SkippedClip> skipped = ReasonToSkip(clip, *day)) {
            skipped->row = place;
            skipped->name = std::move(name);
            auto& list = skipped->reason == PlanSkip::PastLastDay ? plan.runOut : plan.notDue;
            list.push_back(std::move(*skipped));
            continue;
        }
        for (int hour = 0; hour < kHoursPerDay; ++hour) {
            if (MayPlayInHour(clip, hour)) {
                plan.hours[static_cast<std::size_t>(hour)].push_back(
                    PlanClip{place, name, clip.scheduleMode, clip.scheduleValue});
            }
        }
    }
    return plan;
}

std::string DayPlanText(const DayPlan& plan, std::string_view playlistName) {
    const std::string_view channel = plan.channel >= 0 && plan.channel < kChannelCount
                                         ? ChannelNames[static_cast<std::size_t>(plan.channel)]
                                         : std::string_view("?");
    std::string text = "Day Plan of " + std::string(channel) + " for " +
                       std::string(kWeekdayNames[static_cast<std::size_t>(plan.weekday)]) + " " +
                       DateText(plan.date.month, plan.date.day, plan.date.year) + "\n";
    text += "Playlist: " + std::string(playlistName) + "\n";
    text += "The clips each hour may play; the unit decides their order.\n\n";
    for (int hour = 0; hour < kHoursPerDay; ++hour) {
        text += HourLine(hour, plan.hours[static_cast<std::size_t>(hour)]);
    }
    text += "\n" + SkippedSection("Not due:", plan.notDue);
    return text + SkippedSection("Run out:", plan.runOut);
}

std::string PlanPlaylistName(std::string_view path) {
    return path.empty() ? std::string("(not saved)") : std::string(FileNameOf(path));
}

DayPlanPage PlanPageOf(const EntrySet& playlist, std::string_view path, const DayPlanForm& form) {
    DayPlanPage page;
    page.plan.date = form.date;
    page.plan.channel = form.channel;
    if (form.channel < 0 || form.channel >= kChannelCount || !IsCalendarDate(form.date)) {
        return page;
    }
    page.plan = BuildDayPlan(playlist.List(form.channel), form.channel, form.date);
    page.text = DayPlanText(page.plan, PlanPlaylistName(path));
    return page;
}

std::string PlanTextOf(const EntrySet& playlist, std::string_view path, const DayPlanForm& form) {
    return PlanPageOf(playlist, path, form).text;
}

std::vector<TimelineRow> PlanTimeline(const DayPlan& plan) {
    std::map<int, TimelineRow> playing;
    for (int hour = 0; hour < kHoursPerDay; ++hour) {
        for (const PlanClip& clip : plan.hours[static_cast<std::size_t>(hour)]) {
            TimelineRow& row = playing[clip.row];
            row.row = clip.row;
            row.name = clip.name;
            row.mode = clip.mode;
            row.minute = clip.mode == ScheduleMode::AtTime ? clip.value : -1;
            row.note = HowOften(clip);
            row.hours[static_cast<std::size_t>(hour)] = true;
        }
    }
    std::vector<TimelineRow> rows;
    for (auto& [place, row] : playing) {
        rows.push_back(std::move(row));
    }
    const auto addSkipped = [&rows](const std::vector<SkippedClip>& clips, TimelineState state) {
        for (const SkippedClip& clip : clips) {
            TimelineRow row;
            row.row = clip.row;
            row.name = clip.name;
            row.state = state;
            row.note = clip.why;
            rows.push_back(std::move(row));
        }
    };
    addSkipped(plan.notDue, TimelineState::NotDue);
    addSkipped(plan.runOut, TimelineState::RunOut);
    std::sort(rows.begin(), rows.end(),
              [](const TimelineRow& a, const TimelineRow& b) { return a.row < b.row; });
    return rows;
}

void ShowDayPlan(DayPlanView& view, WindowId owner, const EntrySet& playlist, std::string_view path,
                 int shownChannel, const ReportDate& today) {
    DayPlanForm form{today, shownChannel};
    view.RunDayPlan(owner, form, [&playlist, path](const DayPlanForm& choice) {
        return PlanPageOf(playlist, path, choice);
    });
}

}  // namespace vantic
