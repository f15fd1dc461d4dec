#pragma once

// The statement an operator hands an advertiser for one clip: where and how
// often it played over a range, one line per unit with its totals, and its
// plays per day. Made from the proof-of-play rows, like the chart and the
// CSV export.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "reports/play_chart.h"

namespace vantic {

inline constexpr std::string_view kStatementTitle = "Proof of Play Statement";

// A clip the statement can be made for.
struct StatementClip {
    std::string contentName;
    std::string clipFile;
    bool operator==(const StatementClip&) const = default;
};

struct StatementUnit {
    std::uint32_t unit = 0;
    std::string notes;
    int daysPlayed = 0;
    std::int64_t plays = 0;
    bool operator==(const StatementUnit&) const = default;
};

struct ClipStatement {
    StatementClip clip;
    ReportDateRange range;
    std::vector<StatementUnit> units;  // the units that played it, by unit number
    int daysPlayed = 0;                // days on which any unit played it
    std::int64_t plays = 0;
    PlayChart chart;        // plays per day, one series per unit
    std::string generated;  // the time the statement was made, as the reports write it
};

// Every clip of the rows once, by file name then content name.
[[nodiscard]] std::vector<StatementClip> StatementClipsOf(const std::vector<PlayRow>& rows);

// The clip a name stands for: a content name, else a clip file name (both
// ignoring case); none when no row has it.
[[nodiscard]] std::optional<StatementClip> FindStatementClip(const std::vector<PlayRow>& rows,
                                                             std::string_view name);

[[nodiscard]] ClipStatement BuildClipStatement(const std::vector<PlayRow>& rows,
                                               const ReportDateRange& range,
                                               const StatementClip& clip, const LocalTime& now);

}  // namespace vantic
