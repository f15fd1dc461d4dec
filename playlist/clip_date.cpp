// First and last day of a clip: their text form and the two date tests.

#include <climits>

#include "core/cpstring.h"
#include "core/cpstringarray.h"
#include "playlist/leading_number.h"
#include "playlist/schedule.h"

namespace vantic {
namespace {

// February is allowed up to the 31st: the unit rolls such a day into March.
bool IsValidDate(const DateTime& date) {
    if (date.month < 1 || date.month > 12 || date.day < 1 || date.day > 31) {
        return false;
    }
    if (date.year < 1971 || date.year > 2100) {
        return false;
    }
    const bool shortMonth =
        date.month == 4 || date.month == 6 || date.month == 9 || date.month == 11;
    return !(shortMonth && date.day > 30);
}

// now and the same local time of day on the given date. Nothing when the
// date cannot be placed on the calendar.
struct NowAndThen {
    std::time_t now;
    std::time_t then;
};

std::optional<NowAndThen> SameTimeOn(std::time_t now, int month, int day, int year) {
    std::tm fields{};
    if (localtime_r(&now, &fields) == nullptr) {
        return std::nullopt;
    }
    const std::time_t normalised = std::mktime(&fields);
    const long long tmYear = static_cast<long long>(year) - 1900;
    if (normalised == -1 || tmYear < INT_MIN || tmYear > INT_MAX || month == INT_MIN) {
        return std::nullopt;
    }
    // The time of day and the daylight-saving flag stay those of now.
    fields.tm_year = static_cast<int>(tmYear);
    fields.tm_mon = month - 1;
    fields.tm_mday = day;
    const std::time_t then = std::mktime(&fields);
    if (then == -1) {
        return std::nullopt;
    }
    return NowAndThen{normalised, then};
}

}  // namespace

std::optional<DateTime> ParseDateTime(std::string_view text, DefaultTime defaultTime) {
    const cpStringArray words = cpStringArray::SplitNew(text, " ");
    const cpStringArray parts = cpStringArray::SplitNew(words.TextAt(0), "/");
    if (parts.Count() != 3) {
        return std::nullopt;
    }
    DateTime date;
    date.month = LeadingInt(parts.TextAt(0));
    date.day = LeadingInt(parts.TextAt(1));
    date.year = LeadingInt(parts.TextAt(2));
    if (!IsValidDate(date)) {
        return std::nullopt;
    }
    if (words.Count() <= 1) {
        date.hour = defaultTime == DefaultTime::Early ? 0 : 23;
        date.minute = defaultTime == DefaultTime::Early ? 0 : 59;
        return date;
    }
    // A seconds part makes the whole date unreadable.
    const cpStringArray clock = cpStringArray::SplitNew(words.TextAt(words.Count() - 1), ":");
    if (clock.Count() != 2) {
        return std::nullopt;
    }
    date.hour = LeadingInt(clock.TextAt(0));
    date.minute = LeadingInt(clock.TextAt(1));
    if (date.hour < 0 || date.hour > 23 || date.minute < 0 || date.minute > 59) {
        return std::nullopt;
    }
    return date;
}

std::string FormatDateTime(const std::optional<DateTime>& date) {
    if (!date) {
        return "None";
    }
    return FormatNew("%2.2d/%2.2d/%4.4d %2.2d:%2.2d", date->month, date->day, date->year,
                     date->hour, date->minute);
}

std::optional<DateTime> FirstDayOf(const PlayEntry& entry) {
    if (!entry.hasFirstDay) {
        return std::nullopt;
    }
    return DateTime{entry.firstMonth, entry.firstDay, entry.firstYear, entry.firstHour,
                    entry.firstMinute};
}

std::optional<DateTime> LastDayOf(const PlayEntry& entry) {
    if (!entry.hasLastDay) {
        return std::nullopt;
    }
    return DateTime{entry.lastMonth, entry.lastDay, entry.lastYear, entry.lastHour,
                    entry.lastMinute};
}

void SetFirstDay(PlayEntry& entry, const std::optional<DateTime>& date) {
    entry.hasFirstDay = date.has_value();
    if (!date) {
        return;
    }
    entry.firstMonth = date->month;
    entry.firstDay = date->day;
    entry.firstYear = date->year;
    entry.firstHour = date->hour;
    entry.firstMinute = date->minute;
}

void SetLastDay(PlayEntry& entry, const std::optional<DateTime>& date) {
    entry.hasLastDay = date.has_value();
    if (!date) {
        return;
    }
    entry.lastMonth = date->month;
    entry.lastDay = date->day;
    entry.lastYear = date->year;
    entry.lastHour = date->hour;
    entry.lastMinute = date->minute;
}

// The stored hour and minute play no part: only the dates are compared.
bool IsBeforeFirstDay(const PlayEntry& entry, std::time_t now) {
    if (!IsClipEntry(entry) || !entry.hasFirstDay) {
        return false;
    }
    const auto times = SameTimeOn(now, entry.firstMonth, entry.firstDay, entry.firstYear);
    return times && times->now < times->then;
}

bool IsPastLastDay(const PlayEntry& entry, std::time_t now) {
    if (!IsClipEntry(entry) || !entry.hasLastDay) {
        return false;
    }
    const auto times = SameTimeOn(now, entry.lastMonth, entry.lastDay, entry.lastYear);
    return times && times->now > times->then;
}

bool IsBeforeFirstDay(const PlayEntry& entry) {
    return IsBeforeFirstDay(entry, std::time(nullptr));
}

bool IsPastLastDay(const PlayEntry& entry) {
    return IsPastLastDay(entry, std::time(nullptr));
}

}  // namespace vantic
