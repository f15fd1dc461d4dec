#pragma once

// Proof of play as a table for advertisers' statements: the runtime
// reports of the covered units, over the report's date range, as CSV
// (RFC 4180, UTF-8): one row per unit, channel, clip and day. The counts
// are those of the status report's proof-of-runtime lines, split by day.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "reports/play_rows.h"

namespace vantic {

inline constexpr std::string_view kPlayExportHeader =
    "unit,notes,channel,clip file,content name,day,plays\r\n";

struct PlayExport {
    std::string csv;
    // Units whose runtime report could not be had: they have no rows, and
    // the caller says so.
    std::vector<std::uint32_t> failedUnits;
};

[[nodiscard]] PlayExport PlaysToCsv(const std::vector<UnitPlays>& units,
                                    const ReportDateRange& range);
[[nodiscard]] PlayExport PlayRowsToCsv(const PlayRows& rows);

// The rows of a CSV that PlaysToCsv wrote (its text converted back to 8-bit
// text); none when the text is not such a table.
[[nodiscard]] std::optional<std::vector<PlayRow>> ReadPlayRowsCsv(std::string_view csv);

// What the caller tells of the units left out: "The runtime reports of
// Media Player #4, #9 could not be read; the file leaves them out."
[[nodiscard]] std::string LeftOutUnitsText(const std::vector<std::uint32_t>& units);

// One field as RFC 4180 writes it: quoted when it holds a comma, a quote,
// a CR or an LF, quotes doubled; the 8-bit text converted to UTF-8.
[[nodiscard]] std::string CsvField(std::string_view text);

}  // namespace vantic
