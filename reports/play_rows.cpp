#include "reports/play_rows.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <map>

#include "core/cpstring.h"
#include "reports/status_sections.h"

namespace vantic {

namespace {

ReportDate FirstDayOf(const PlayEntry& entry) {
    return ReportDate{entry.firstYear, entry.firstMonth, entry.firstDay};
}

// A channel's entries in the order the status report walks them: sorted by
// content name ignoring case, equal names kept in their stored order. Only
// pointers are sorted, so a long runtime report is not copied.
std::vector<const PlayEntry*> SortedByContent(const EntryList& entries) {
    std::vector<const PlayEntry*> sorted;
    sorted.reserve(entries.size());
    for (const PlayEntry& entry : entries) {
        sorted.push_back(&entry);
    }
    std::stable_sort(sorted.begin(), sorted.end(), [](const PlayEntry* a, const PlayEntry* b) {
        return CompareNoCase(a->contentName, b->contentName) < 0;
    });
    return sorted;
}

// Each run of one content name is counted from its first entry that counts
// and has a path; the later entries of the run add their counts to their
// own day whether they have a path or not.
void AppendChannelRows(const UnitPlays& unit, int channel, const ReportDateRange& range,
                       std::vector<PlayRow>& rows) {
    const std::vector<const PlayEntry*> sorted = SortedByContent(unit.runtime->List(channel));
    for (std::size_t i = 0; i < sorted.size(); ++i) {
        const PlayEntry& first = *sorted[i];
        if (first.path.empty() || !CountsInRange(first, range)) {
            continue;
        }
        std::map<ReportDate, std::int64_t> days;
        days[FirstDayOf(first)] += PlayCountOf(first);
        while (i + 1 < sorted.size() &&
               EqualsNoCase(sorted[i + 1]->contentName, first.contentName)) {
            ++i;
            if (CountsInRange(*sorted[i], range)) {
                days[FirstDayOf(*sorted[i])] += PlayCountOf(*sorted[i]);
            }
        }
        const std::string file(FileNameOf(first.path));
        for (const auto& [day, plays] : days) {
            rows.push_back(
                PlayRow{unit.unit, unit.notes, channel, file, first.contentName, day, plays});
        }
    }
}

std::optional<int> ReadWholeNumber(std::string_view text) {
    int value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

}  // namespace

PlayRows PlayRowsOf(const std::vector<UnitPlays>& units, const ReportDateRange& range) {
    PlayRows result;
    for (const UnitPlays& unit : units) {
        if (!unit.runtime) {
            result.failedUnits.push_back(unit.unit);
            continue;
        }
        for (int channel = 0; channel < kChannelCount; ++channel) {
            AppendChannelRows(unit, channel, range, result.rows);
        }
    }
    return result;
}

std::string IsoDayText(const ReportDate& day) {
    return FormatNew("%04d-%02d-%02d", day.year, day.month, day.day);
}

std::optional<ReportDate> ReadIsoDay(std::string_view text) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-') {
        return std::nullopt;
    }
    const std::optional<int> year = ReadWholeNumber(text.substr(0, 4));
    const std::optional<int> month = ReadWholeNumber(text.substr(5, 2));
    const std::optional<int> day = ReadWholeNumber(text.substr(8, 2));
    if (!year || !month || !day) {
        return std::nullopt;
    }
    return ReportDate{*year, *month, *day};
}

std::int64_t DayNumber(const ReportDate& day) {
    using namespace std::chrono;
    const year_month_day date{year{day.year}, month{static_cast<unsigned>(day.month)},
                              std::chrono::day{static_cast<unsigned>(day.day)}};
    return sys_days(date).time_since_epoch().count();
}

ReportDate DateOfDayNumber(std::int64_t number) {
    using namespace std::chrono;
    const year_month_day date{sys_days(days(number))};
    return ReportDate{static_cast<int>(date.year()), static_cast<int>(unsigned(date.month())),
                      static_cast<int>(unsigned(date.day()))};
}

}  // namespace vantic
