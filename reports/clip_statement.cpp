#include "reports/clip_statement.h"

#include <algorithm>
#include <map>
#include <set>

#include "core/cpstring.h"
#include "reports/report_document.h"

namespace vantic {

std::vector<StatementClip> StatementClipsOf(const std::vector<PlayRow>& rows) {
    std::vector<StatementClip> clips;
    for (const PlayRow& row : rows) {
        const bool known = std::any_of(clips.begin(), clips.end(), [&row](const StatementClip& c) {
            return EqualsNoCase(c.contentName, row.contentName);
        });
        if (!known) {
            clips.push_back(StatementClip{row.contentName, row.clipFile});
        }
    }
    std::sort(clips.begin(), clips.end(), [](const StatementClip& a, const StatementClip& b) {
        const int byFile = CompareNoCase(a.clipFile, b.clipFile);
        return byFile != 0 ? byFile < 0 : CompareNoCase(a.contentName, b.contentName) < 0;
    });
    return clips;
}

std::optional<StatementClip> FindStatementClip(const std::vector<PlayRow>& rows,
                                               std::string_view name) {
    const std::vector<StatementClip> clips = StatementClipsOf(rows);
    for (const bool byContent : {true, false}) {
        for (const StatementClip& clip : clips) {
            if (EqualsNoCase(byContent ? clip.contentName : clip.clipFile, name)) {
                return clip;
            }
        }
    }
    return std::nullopt;
}

ClipStatement BuildClipStatement(const std::vector<PlayRow>& rows, const ReportDateRange& range,
                                 const StatementClip& clip, const LocalTime& now) {
    ClipStatement statement{clip, range, {}, 0, 0, {}, ReportTimeText(now)};
    statement.generated = statement.generated.substr(0, statement.generated.find('\n'));
    std::map<std::uint32_t, std::set<ReportDate>> unitDays;
    std::map<std::uint32_t, StatementUnit> units;
    std::set<ReportDate> anyDay;
    std::vector<PlayRow> clipRows;
    for (const PlayRow& row : rows) {
        if (!EqualsNoCase(row.contentName, clip.contentName) || row.day < range.first ||
            range.last < row.day) {
            continue;
        }
        StatementUnit& unit =
            units.try_emplace(row.unit, StatementUnit{row.unit, row.notes, 0, 0}).first->second;
        unit.plays += row.plays;
        unitDays[row.unit].insert(row.day);
        anyDay.insert(row.day);
        statement.plays += row.plays;
        // One series per unit: the chart keys its series by content name.
        PlayRow& shown = clipRows.emplace_back(row);
        shown.channel = 0;
        shown.contentName = FormatNew("%010u", row.unit);
        shown.clipFile = ChartUnitText(row.unit);
    }
    for (auto& [number, unit] : units) {
        unit.daysPlayed = static_cast<int>(unitDays[number].size());
        statement.units.push_back(unit);
    }
    statement.daysPlayed = static_cast<int>(anyDay.size());
    statement.chart = BuildPlayChart(clipRows, range, PlayChartForm{});
    statement.chart.title = clip.clipFile + ": " + ChartRangeText(range);
    return statement;
}

}  // namespace vantic
