#pragma once

// Proof of play as rows: one per unit, channel, clip and day, counted from
// the covered units' runtime reports over a date range exactly as the
// status report counts its proof-of-runtime lines. The CSV export, the
// chart and the clip statement are all made from these rows, so their sums
// agree with each other and with the report's summary.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "playlist/entry_set.h"
#include "reports/report_dates.h"

namespace vantic {

// What one unit's requests brought.
struct UnitPlays {
    std::uint32_t unit = 0;
    std::string notes;                // from the unit's information record; empty without one
    std::optional<EntrySet> runtime;  // none when the runtime report could not be had
};

struct PlayRow {
    std::uint32_t unit = 0;
    std::string notes;
    int channel = 0;          // 0-3
    std::string clipFile;     // the file name of the run's first counting entry
    std::string contentName;  // as that entry spells it
    ReportDate day;           // the entries' first day
    std::int64_t plays = 0;   // the counts of that day's entries added up

    bool operator==(const PlayRow&) const = default;
};

struct PlayRows {
    std::vector<PlayRow> rows;  // by unit as given, then channel, content name and day
    // Units whose runtime report could not be had: they have no rows.
    std::vector<std::uint32_t> failedUnits;
};

[[nodiscard]] PlayRows PlayRowsOf(const std::vector<UnitPlays>& units,
                                  const ReportDateRange& range);

// The day as the CSV writes it, "2026-03-01"; and read back.
[[nodiscard]] std::string IsoDayText(const ReportDate& day);
[[nodiscard]] std::optional<ReportDate> ReadIsoDay(std::string_view text);

// Days since 1970-01-01 of a calendar date; the axis of the chart.
[[nodiscard]] std::int64_t DayNumber(const ReportDate& day);
[[nodiscard]] ReportDate DateOfDayNumber(std::int64_t number);

}  // namespace vantic
