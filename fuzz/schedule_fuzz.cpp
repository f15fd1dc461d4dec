// Any text as a clock, date, day name or schedule: reading never crashes,
// what it accepts lies in range, and what is written back reads the same.

#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/fuzz_check.h"
#include "playlist/schedule.h"

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
    const int day = LookupName(DayNames, text, 0);
    FUZZ_CHECK(day >= 0 && day < static_cast<int>(DayNames.size()));
    return 0;
}
