#pragma once

// The proof-of-play chart: plays per day over the report's range, one
// series per clip (content name), for one channel and one unit or all the
// units the rows hold. Built from the same rows as the CSV export, so a
// series' total is the clip's count on the report's summary.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "reports/play_rows.h"

namespace vantic {

enum class ChartStyle { StackedBars, Lines };

struct ChartSeries {
    std::string label;        // the clip's file name, with its content name when two share it
    std::string contentName;  // the series' key, as its first row spells it
    std::vector<std::int64_t> plays;  // one per day of the chart
    std::int64_t total = 0;
};

struct PlayChart {
    std::string title;                // "Video, All units: 03/01/2026 to 03/31/2026"
    std::vector<ReportDate> days;     // every day of the range, in order
    std::vector<ChartSeries> series;  // by content name, ignoring case
    std::int64_t total = 0;
};

// What the chart window shows.
struct PlayChartForm {
    int channel = 0;                    // 0-3
    std::optional<std::uint32_t> unit;  // none: all units
    ChartStyle style = ChartStyle::StackedBars;

    bool operator==(const PlayChartForm&) const = default;
};

inline constexpr std::string_view kAllUnitsText = "All units";

// The rows of the form's channel and unit, added up per clip and day. Only
// the series key and the unit filter read the rows, so a long range over
// many units is one pass.
[[nodiscard]] PlayChart BuildPlayChart(const std::vector<PlayRow>& rows,
                                       const ReportDateRange& range, const PlayChartForm& form);

// "Media Player #4", or "All units" for none.
[[nodiscard]] std::string ChartUnitText(const std::optional<std::uint32_t>& unit);
// "03/01/2026 to 03/31/2026".
[[nodiscard]] std::string ChartRangeText(const ReportDateRange& range);
// A day on the chart's axis: "03/01".
[[nodiscard]] std::string ChartDayText(const ReportDate& day);

}  // namespace vantic
