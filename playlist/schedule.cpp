#include "playlist/schedule.h"

#include "core/cpstring.h"
#include "core/cpstringarray.h"
#include "playlist/leading_number.h"

namespace vantic {

int LookupName(std::span<const std::string_view> names, std::string_view text, int fallback) {
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (EqualsNoCase(names[i], text)) {
            return static_cast<int>(i);
        }
    }
    return fallback;
}

std::string FormatClock(int minuteOfDay) {
    return FormatNew("%2.2d:%2.2d", minuteOfDay / 60, minuteOfDay % 60);
}

std::optional<int> ParseClock(std::string_view text) {
    cpStringArray pieces = cpStringArray::SplitNew(text, ":");
    if (pieces.Count() != 2 && pieces.Count() != 3) {
        return std::nullopt;
    }
    const int hour = LeadingInt(TrimmedView(pieces.TextAt(0)));
    const int minute = LeadingInt(TrimmedView(pieces.TextAt(1)));
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59) {
        return std::nullopt;
    }
    return hour * 60 + minute;
}

std::optional<PlayHours> ParsePlayHours(std::string_view schedule) {
    const std::size_t from = schedule.find("from");
    if (from == std::string_view::npos) {
        return std::nullopt;
    }
    cpStringArray pieces = cpStringArray::SplitNew(schedule.substr(from + 4), "to");
    if (pieces.Count() != 2) {
        return std::nullopt;
    }
    const std::optional<int> start = ParseClock(TrimmedView(pieces.TextAt(0)));
    const std::optional<int> stop = ParseClock(TrimmedView(pieces.TextAt(1)));
    if (!start || !stop) {
        return std::nullopt;
    }
    return PlayHours{*start, *stop};
}

Schedule ParseScheduleMode(std::string schedule) {
    const std::size_t from = schedule.find("from");
    if (from != std::string::npos) {
        schedule.resize(from);
        TrimRight(schedule);
    }
    ToLower(schedule);
    if (schedule.find("/hour") != std::string::npos) {
        const int perHour = LeadingInt(schedule);
        const bool valid = perHour >= 1 && perHour <= 60;
        return {valid ? ScheduleMode::PerHour : ScheduleMode::Loop, perHour};
    }
    if (schedule.find("loop") != std::string::npos) {
        return {ScheduleMode::Loop, 0};
    }
    if (const std::optional<int> minute = ParseClock(schedule)) {
        return {ScheduleMode::AtTime, *minute};
    }
    return {ScheduleMode::Loop, 0};
}

std::string FormatSchedule(const PlayEntry& entry) {
    std::string window;
    if (entry.restrictHours) {
        window = " from " + FormatClock(entry.hoursFrom) + " to " + FormatClock(entry.hoursTo);
    }
    switch (entry.scheduleMode) {
        case ScheduleMode::PerHour:
            return FormatNew("%d/hour", entry.scheduleValue) + window;
        case ScheduleMode::AtTime:
            return FormatClock(entry.scheduleValue) + window;
        case ScheduleMode::Loop:
            break;
    }
    // Also any mode number this program does not know: it reads back as a loop.
    return "loop" + window;
}

}  // namespace vantic
