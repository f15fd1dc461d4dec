// Any text as an instruction file: reading never crashes, whatever it reads
// obeys the entry invariants, and writing what was read gives a text that
// reads back to the very same entries.

#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/fuzz_check.h"
#include "playlist/entry_set.h"
#include "playlist/schedule.h"

namespace vantic {
namespace {

bool InRange(int value, int low, int high) {
    return value >= low && value <= high;
}

void CheckDate(const std::optional<DateTime>& date) {
    if (!date) {
        return;
    }
    FUZZ_CHECK(InRange(date->month, 1, 12) && InRange(date->day, 1, 31));
    FUZZ_CHECK(InRange(date->year, 1971, 2100));
    FUZZ_CHECK(InRange(date->hour, 0, 23) && InRange(date->minute, 0, 59));
}

void CheckClip(const PlayEntry& clip) {
    FUZZ_CHECK(IsClipEntry(clip));
    FUZZ_CHECK(InRange(clip.day, 0, 9));
    FUZZ_CHECK(InRange(clip.audio, 0, 2));
    if (clip.scheduleMode == ScheduleMode::PerHour) {
        FUZZ_CHECK(InRange(clip.scheduleValue, 1, 60));
    } else if (clip.scheduleMode == ScheduleMode::AtTime) {
        FUZZ_CHECK(InRange(clip.scheduleValue, 0, 1439));
    } else {
        FUZZ_CHECK(clip.scheduleMode == ScheduleMode::Loop);
    }
    if (clip.restrictHours) {
        FUZZ_CHECK(InRange(clip.hoursFrom, 0, 1439) && InRange(clip.hoursTo, 0, 1439));
    }
    CheckDate(FirstDayOf(clip));
    CheckDate(LastDayOf(clip));
}

void CheckSet(const EntrySet& set) {
    for (int kind = 0; kind < kEntryListCount; ++kind) {
        for (const PlayEntry& entry : set.List(kind)) {
            FUZZ_CHECK(entry.kind == kind);
            if (kind == kSettingKind) {
                FUZZ_CHECK(entry.isSetting && !entry.isClip);
            } else {
                CheckClip(entry);
            }
        }
    }
}

EntrySet WriteAndRead(const EntrySet& set) {
    const std::optional<std::string> text = EntrySetToText(set);
    FUZZ_CHECK(text.has_value());
    EntrySet back;
    FUZZ_CHECK(TextToEntrySet(*text, back));
    FUZZ_CHECK(back.TotalCount() == set.TotalCount());
    return back;
}

}  // namespace
}  // namespace vantic

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vantic;
    EntrySet set;
    if (!TextToEntrySet(std::string(reinterpret_cast<const char*>(data), size), set)) {
        FUZZ_CHECK(set.TotalCount() == 0);
        return 0;
    }
    CheckSet(set);
    // The first write may settle values the text form cannot hold (a
    // duration below a microsecond, a loop's unused number); after it the
    // entries must survive unchanged.
    const EntrySet once = WriteAndRead(set);
    CheckSet(once);
    FUZZ_CHECK(WriteAndRead(once) == once);
    return 0;
}
