#include "reports/play_chart.h"

#include <algorithm>
#include <map>

#include "core/cpstring.h"

namespace vantic {

namespace {

// Content names compare without regard to case, as the report's runs do.
struct NoCaseLess {
    bool operator()(const std::string& a, const std::string& b) const {
        return CompareNoCase(a, b) < 0;
    }
};

std::vector<ReportDate> DaysOf(const ReportDateRange& range) {
    std::vector<ReportDate> days;
    if (!IsCalendarDate(range.first) || !IsCalendarDate(range.last)) {
        return days;
    }
    for (std::int64_t day = DayNumber(range.first); day <= DayNumber(range.last); ++day) {
        days.push_back(DateOfDayNumber(day));
    }
    return days;
}

// Clips that share a file name are told apart by their content names.
void LabelSeries(std::vector<ChartSeries>& series) {
    std::map<std::string, int, NoCaseLess> uses;
    for (const ChartSeries& one : series) {
        ++uses[one.label];
    }
    for (ChartSeries& one : series) {
        if (uses[one.label] > 1) {
            one.label += " (" + one.contentName.substr(0, 8) + ")";
        }
    }
}

}  // namespace

std::string ChartUnitText(const std::optional<std::uint32_t>& unit) {
    return unit ? "Media Player #" + std::to_string(*unit) : std::string(kAllUnitsText);
}

std::string ChartRangeText(const ReportDateRange& range) {
    return FormatNew("%2.2d/%2.2d/%4.4d to %2.2d/%2.2d/%4.4d", range.first.month, range.first.day,
                     range.first.year, range.last.month, range.last.day, range.last.year);
}

std::string ChartDayText(const ReportDate& day) {
    return FormatNew("%2.2d/%2.2d", day.month, day.day);
}

PlayChart BuildPlayChart(const std::vector<PlayRow>& rows, const ReportDateRange& range,
                         const PlayChartForm& form) {
    PlayChart chart;
    chart.title = std::string(ChannelNames[static_cast<std::size_t>(form.channel)]) + ", " +
                  ChartUnitText(form.unit) + ": " + ChartRangeText(range);
    chart.days = DaysOf(range);
    if (chart.days.empty()) {
        return chart;
    }
    const std::int64_t firstDay = DayNumber(chart.days.front());
    const auto dayCount = static_cast<std::int64_t>(chart.days.size());
    std::map<std::string, std::size_t, NoCaseLess> byContent;
    std::vector<ChartSeries> found;
    // Rows of one clip come together, day after day: the series is looked up
    // once per clip, and most days are the day after the last row's.
    const PlayRow* lastDated = nullptr;    // the row whose day is `day`
    const PlayRow* lastCounted = nullptr;  // the row whose series is `index`
    std::int64_t day = -1;
    std::size_t index = 0;
    for (const PlayRow& row : rows) {
        if (row.channel != form.channel || (form.unit && row.unit != *form.unit)) {
            continue;
        }
        if (lastDated == nullptr || row.day != lastDated->day) {
            const bool next = day >= 0 && day + 1 < dayCount &&
                              row.day == chart.days[static_cast<std::size_t>(day + 1)];
            day = next ? day + 1 : IsCalendarDate(row.day) ? DayNumber(row.day) - firstDay : -1;
        }
        lastDated = &row;
        if (day < 0 || day >= dayCount) {
            continue;
        }
        if (lastCounted == nullptr || lastCounted->unit != row.unit ||
            lastCounted->contentName != row.contentName) {
            auto [at, added] = byContent.try_emplace(row.contentName, found.size());
            if (added) {
                found.push_back(ChartSeries{row.clipFile, row.contentName,
                                            std::vector<std::int64_t>(chart.days.size()), 0});
            }
            index = at->second;
        }
        lastCounted = &row;
        found[index].plays[static_cast<std::size_t>(day)] += row.plays;
        found[index].total += row.plays;
        chart.total += row.plays;
    }
    for (const auto& [name, at] : byContent) {
        chart.series.push_back(std::move(found[at]));
    }
    LabelSeries(chart.series);
    return chart;
}

}  // namespace vantic
