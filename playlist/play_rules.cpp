// When a clip may play: the day selector and the play hours applied to a
// weekday and a minute of the day.

#include "playlist/schedule.h"

namespace vantic {
namespace {

constexpr int kSunday = 0;
constexpr int kSaturday = 6;
constexpr int kFirstSingleDay = 3;  // "Sun"; "Mon" to "Sat" follow

}  // namespace

bool DaySelectorAllows(int day, int weekday) {
    switch (day) {
        case 1:  // "Weekends"
            return weekday == kSunday || weekday == kSaturday;
        case 2:  // "Weekdays"
            return weekday > kSunday && weekday < kSaturday;
        default:
            break;
    }
    if (day >= kFirstSingleDay && day < static_cast<int>(DayNames.size())) {
        return weekday == day - kFirstSingleDay;
    }
    return true;  // "All", and any selector the table does not know
}

bool IsInPlayHours(const PlayEntry& entry, int minuteOfDay) {
    if (!entry.restrictHours) {
        return true;
    }
    if (entry.hoursFrom < entry.hoursTo) {
        return minuteOfDay >= entry.hoursFrom && minuteOfDay < entry.hoursTo;
    }
    return minuteOfDay >= entry.hoursFrom || minuteOfDay < entry.hoursTo;
}

}  // namespace vantic
