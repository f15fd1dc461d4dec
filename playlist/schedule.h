#pragma once

// The texts that say when a clip plays: day selector ("Weekends"), schedule
// ("4/hour from 08:00 to 17:30"), and first and last day ("03/15/2006 07:05").
// Reading is forgiving: a text that cannot be read falls back to a default
// and never rejects the clip.

#include <array>
#include <ctime>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "playlist/play_entry.h"

namespace vantic {

// Indexed by PlayEntry::day. Only these short names are written to text.
inline constexpr std::array<std::string_view, 10> DayNames{
    "All", "Weekends", "Weekdays", "Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};

// Index of the first name equal to text ignoring case, else fallback.
[[nodiscard]] int LookupName(std::span<const std::string_view> names, std::string_view text,
                             int fallback);

// "hh:mm" (or "hh:mm:ss", seconds ignored) to a minute of the day, 0-1439.
[[nodiscard]] std::optional<int> ParseClock(std::string_view text);
// A minute of the day as "hh:mm".
[[nodiscard]] std::string FormatClock(int minuteOfDay);

struct DateTime {
    int month = 0;
    int day = 0;
    int year = 0;
    int hour = 0;
    int minute = 0;

    bool operator==(const DateTime&) const = default;
};

// The time a date without one gets: 00:00 for a first day, 23:59 for a last.
enum class DefaultTime { Early, Late };

// "mm/dd/yyyy" or "mm/dd/yyyy hh:mm"; "None", seconds or an impossible date
// give nothing.
[[nodiscard]] std::optional<DateTime> ParseDateTime(std::string_view text, DefaultTime defaultTime);
// "%2.2d/%2.2d/%4.4d %2.2d:%2.2d", or "None" without a date.
[[nodiscard]] std::string FormatDateTime(const std::optional<DateTime>& date);

[[nodiscard]] std::optional<DateTime> FirstDayOf(const PlayEntry& entry);
[[nodiscard]] std::optional<DateTime> LastDayOf(const PlayEntry& entry);
// Without a date only the has-flag is cleared; the date fields stay.
void SetFirstDay(PlayEntry& entry, const std::optional<DateTime>& date);
void SetLastDay(PlayEntry& entry, const std::optional<DateTime>& date);

struct PlayHours {
    int from = 0;  // minutes of the day; to < from is an overnight window
    int to = 0;

    bool operator==(const PlayHours&) const = default;
};

// The window of "... from hh:mm to hh:mm" (lower-case words only).
[[nodiscard]] std::optional<PlayHours> ParsePlayHours(std::string_view schedule);

struct Schedule {
    ScheduleMode mode = ScheduleMode::Loop;
    int value = 0;

    bool operator==(const Schedule&) const = default;
};

// The mode and value of a schedule text; anything unreadable is a loop.
[[nodiscard]] Schedule ParseScheduleMode(std::string schedule);

// "loop", "4/hour" or "13:05", followed by " from hh:mm to hh:mm" when the
// clip is restricted to a window.
[[nodiscard]] std::string FormatSchedule(const PlayEntry& entry);

// Whether the day selector (PlayEntry::day) lets the clip play on a weekday
// (0 Sunday to 6 Saturday). A selector outside the table means every day,
// as reading one does.
[[nodiscard]] bool DaySelectorAllows(int day, int weekday);

// Whether minute (0-1439) lies inside the clip's play hours: always without
// a window; from its start up to, not including, its end otherwise. A
// window ending before it starts runs overnight; one ending where it starts
// covers the whole day.
[[nodiscard]] bool IsInPlayHours(const PlayEntry& entry, int minuteOfDay);

// Whether today (in local time, at now) lies before the clip's first day or
// after its last day. False for settings and for clips without that day.
[[nodiscard]] bool IsBeforeFirstDay(const PlayEntry& entry, std::time_t now);
[[nodiscard]] bool IsPastLastDay(const PlayEntry& entry, std::time_t now);
[[nodiscard]] bool IsBeforeFirstDay(const PlayEntry& entry);
[[nodiscard]] bool IsPastLastDay(const PlayEntry& entry);

}  // namespace vantic
