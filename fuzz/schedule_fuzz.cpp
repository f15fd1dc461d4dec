// Any text as a clock, date, day name or schedule, as a unit's setting time
// and as the day of an uploaded instruction file: reading never crashes,
// what it accepts lies in range, and what is written back reads the same.

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <string>

#include "fuzz/fuzz_check.h"
#include "playlist/schedule.h"
#include "server/clock_text.h"
#include "units/unit_editor_form.h"

namespace vantic {
namespace {

void CheckClock(std::string_view text) {
    if (const std::optional<int> minute = ParseClock(text)) {
        FUZZ_CHECK(*minute >= 0 && *minute <= 1439);
    }
}

void CheckDate(std::string_view text, DefaultTime defaultTime) {
    const std::optional<DateTime> date = ParseDateTime(text, defaultTime);
    if (!date) {
        return;
    }
    FUZZ_CHECK(ParseDateTime(FormatDateTime(date), defaultTime) == date);
}

void CheckSettingTime(std::string_view text) {
    const std::optional<ClockTime> time = ParseSettingTime(text);
    if (!time) {
        return;
    }
    FUZZ_CHECK(time->hour >= 0 && time->hour <= 23 && time->minute >= 0 && time->minute <= 59);
    FUZZ_CHECK(ParseSettingTime(FormatSettingTime(*time)) == time);
}

// A day past the month's end rolls into the next month, so a day read is
// compared as written back, not with the text.
void CheckServerDay(std::string_view text) {
    const std::optional<std::time_t> day = server::ParseDay(text);
    if (!day) {
        return;
    }
    std::tm fields{};
    FUZZ_CHECK(*day != -1 && localtime_r(&*day, &fields) != nullptr);
    FUZZ_CHECK(fields.tm_year + 1900 >= 1971 && fields.tm_year + 1900 <= 2100);
    FUZZ_CHECK(server::StartOfDay(*day) == *day);
    FUZZ_CHECK(server::ParseDay(server::DayText(*day)) == day);
}

void CheckSchedule(const std::string& text) {
    PlayEntry clip;
    clip.isClip = true;
    const Schedule schedule = ParseScheduleMode(text);
    clip.scheduleMode = schedule.mode;
    clip.scheduleValue = schedule.mode == ScheduleMode::Loop ? 0 : schedule.value;
    if (const std::optional<PlayHours> hours = ParsePlayHours(text)) {
        clip.restrictHours = true;
        clip.hoursFrom = hours->from;
        clip.hoursTo = hours->to;
    }
    const std::string written = FormatSchedule(clip);
    FUZZ_CHECK(ParseScheduleMode(written) == (Schedule{clip.scheduleMode, clip.scheduleValue}));
    const std::optional<PlayHours> hours = ParsePlayHours(written);
    FUZZ_CHECK(hours.has_value() == clip.restrictHours);
    FUZZ_CHECK(!hours || (hours->from == clip.hoursFrom && hours->to == clip.hoursTo));
}

}  // namespace
}  // namespace vantic

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vantic;
    const std::string text(reinterpret_cast<const char*>(data), size);
    CheckClock(text);
    CheckDate(text, DefaultTime::Early);
    CheckDate(text, DefaultTime::Late);
    CheckSchedule(text);
    CheckSettingTime(text);
    CheckServerDay(text);
    const int day = LookupName(DayNames, text, 0);
    FUZZ_CHECK(day >= 0 && day < static_cast<int>(DayNames.size()));
    return 0;
}
