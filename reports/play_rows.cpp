#include "reports/play_rows.h"

#include <algorithm>
#include <charconv>
#include <functional>
#include <unordered_map>

#include "core/cpstring.h"
#include "reports/status_sections.h"

namespace vantic {

namespace {

ReportDate FirstDayOf(const PlayEntry& entry) {
    return ReportDate{entry.firstYear, entry.firstMonth, entry.firstDay};
}

// A channel's entries in the order the status report walks them: sorted by
// content name ignoring case, equal names kept in their stored order. The
// entries are grouped by their exact name first, so a long runtime report
// is neither copied nor compared name by name at every step.
std::vector<const PlayEntry*> SortedByContent(const EntryList& entries) {
    std::unordered_map<std::string_view, std::size_t> exact;
    std::vector<std::vector<const PlayEntry*>> groups;
    for (const PlayEntry& entry : entries) {
        const auto [at, added] = exact.try_emplace(entry.contentName, groups.size());
        if (added) {
            groups.emplace_back();
        }
        groups[at->second].push_back(&entry);
    }
    std::vector<std::size_t> order(groups.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        order[i] = i;
    }
    std::stable_sort(order.begin(), order.end(), [&groups](std::size_t a, std::size_t b) {
        return CompareNoCase(groups[a].front()->contentName, groups[b].front()->contentName) < 0;
    });
    std::vector<const PlayEntry*> sorted;
    sorted.reserve(entries.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        const std::size_t runStart = sorted.size();
        sorted.insert(sorted.end(), groups[order[i]].begin(), groups[order[i]].end());
        // Names equal but for case make one run, in stored order.
        if (i > 0 && runStart > 0 &&
            EqualsNoCase(sorted[runStart - 1]->contentName,
                         groups[order[i]].front()->contentName)) {
            std::size_t first = runStart;
            while (first > 0 && EqualsNoCase(sorted[first - 1]->contentName,
                                             groups[order[i]].front()->contentName)) {
                --first;
            }
            std::inplace_merge(sorted.begin() + static_cast<std::ptrdiff_t>(first),
                               sorted.begin() + static_cast<std::ptrdiff_t>(runStart), sorted.end(),
                               std::less<const PlayEntry*>());
        }
    }
    return sorted;
}

// A run's counts by day: added up per day, in day order.
using DayPlays = std::vector<std::pair<ReportDate, std::int64_t>>;

void AddUpDays(DayPlays& days) {
    if (!std::is_sorted(days.begin(), days.end(),
                        [](const auto& a, const auto& b) { return a.first < b.first; })) {
        std::stable_sort(days.begin(), days.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
    }
    std::size_t kept = 0;
    for (std::size_t i = 0; i < days.size(); ++i) {
        if (kept > 0 && days[kept - 1].first == days[i].first) {
            days[kept - 1].second += days[i].second;
        } else {
            days[kept++] = days[i];
        }
    }
    days.resize(kept);
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
        DayPlays days{{FirstDayOf(first), PlayCountOf(first)}};
        while (i + 1 < sorted.size() &&
               (sorted[i + 1]->contentName == first.contentName ||
                EqualsNoCase(sorted[i + 1]->contentName, first.contentName))) {
            ++i;
            if (CountsInRange(*sorted[i], range)) {
                days.emplace_back(FirstDayOf(*sorted[i]), PlayCountOf(*sorted[i]));
            }
        }
        AddUpDays(days);
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

// The proleptic Gregorian calendar in integer arithmetic, by eras of 400
// years: cheap enough to run for every row of a long range.
std::int64_t DayNumber(const ReportDate& day) {
    const std::int64_t year = day.year - (day.month <= 2 ? 1 : 0);
    const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
    const std::int64_t yearOfEra = year - era * 400;
    const std::int64_t dayOfYear =
        (153 * (day.month + (day.month > 2 ? -3 : 9)) + 2) / 5 + day.day - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

ReportDate DateOfDayNumber(std::int64_t number) {
    number += 719468;
    const std::int64_t era = (number >= 0 ? number : number - 146096) / 146097;
    const std::int64_t dayOfEra = number - era * 146097;
    const std::int64_t yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t shiftedMonth = (5 * dayOfYear + 2) / 153;
    const int day = static_cast<int>(dayOfYear - (153 * shiftedMonth + 2) / 5 + 1);
    const int month = static_cast<int>(shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9);
    const int year = static_cast<int>(yearOfEra + era * 400 + (month <= 2 ? 1 : 0));
    return ReportDate{year, month, day};
}

}  // namespace vantic
