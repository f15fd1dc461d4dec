#pragma once

// The chart window and the statement form in memory: the operator's
// choices are scripted, and what the windows showed and were asked to draw
// is kept for the test to read.

#include <optional>
#include <string>
#include <vector>

#include "reports/play_chart_view.h"

namespace vantic::testing {

class ScriptedPlayChart final : public PlayChartView {
  public:
    // The chart window: the choices made in turn, then the Save buttons
    // pressed on the last chart shown.
    std::vector<PlayChartForm> choices;
    std::vector<ChartFile> saves;
    // The statement form: the clip picked by its file name (none: Cancel)
    // and, when set, another range.
    std::optional<std::string> statementClip;
    std::optional<ReportDateRange> statementRange;
    bool failWrites = false;

    std::vector<std::uint32_t> offeredUnits;
    std::vector<PlayChart> shown;
    std::vector<std::string> writtenCharts;  // paths
    std::vector<ClipStatement> statements;

    void RunPlayChart(WindowId /*owner*/, const std::vector<std::uint32_t>& units,
                      PlayChartForm& form, const ChartOf& chartOf, const SaveChart& save) override {
        offeredUnits = units;
        for (const PlayChartForm& choice : choices) {
            form = choice;
            shown.push_back(chartOf(form));
        }
        for (const ChartFile kind : saves) {
            save(kNoWindow, kind, shown.back(), form.style);
        }
    }
    bool WriteChart(const PlayChart& /*chart*/, ChartStyle /*style*/,
                    const std::string& path) override {
        writtenCharts.push_back(path);
        return !failWrites;
    }
    bool ChooseStatement(WindowId /*owner*/, const std::vector<StatementClip>& clips,
                         StatementForm& form) override {
        for (std::size_t i = 0; statementClip && i < clips.size(); ++i) {
            if (clips[i].clipFile == *statementClip) {
                form.clip = i;
                form.range = statementRange.value_or(form.range);
                return true;
            }
        }
        return false;
    }
    bool WriteStatement(const ClipStatement& statement, const std::string& /*path*/) override {
        statements.push_back(statement);
        return !failWrites;
    }
};

}  // namespace vantic::testing
