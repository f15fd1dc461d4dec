#pragma once

// What a program without Qt (vanticctl) asks the chart helper to draw: the
// chart of one channel and unit, or one clip's statement, over a range,
// into a file. The rows travel separately, as the proof-of-play CSV.

#include <optional>
#include <string>
#include <vector>

#include "reports/play_chart.h"

namespace vantic {

struct ChartRequest {
    enum class Kind { Chart, Statement };
    Kind kind = Kind::Chart;
    ReportDateRange range;
    PlayChartForm form;  // the chart's choice
    std::string clip;    // the statement's clip: a content name or a file name
    std::string path;    // the file to write

    bool operator==(const ChartRequest&) const = default;
};

// The helper's command line for the request (without the program):
// "chart --from D --to D --channel N [--unit N] [--lines] --out FILE" or
// "statement --from D --to D --clip NAME --out FILE".
[[nodiscard]] std::vector<std::string> ChartRequestArguments(const ChartRequest& request);
// The request a command line stands for; none when it is not one.
[[nodiscard]] std::optional<ChartRequest> ReadChartRequest(
    const std::vector<std::string>& arguments);

}  // namespace vantic
