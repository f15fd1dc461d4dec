#pragma once

// Drawing the proof-of-play chart and the clip statement needs Qt, which
// vanticctl does not link. It hands the request and the rows, as the CSV
// it exports, to a renderer; the one it uses runs vantic-chart-render, a
// Qt program installed (and built) beside vanticctl, which reads the rows
// back and draws them with the controller's own chart code.

#include <memory>
#include <optional>
#include <string>

#include "reports/chart_request.h"

namespace vantic::ctl {

class ChartRenderer {
  public:
    virtual ~ChartRenderer() = default;
    // Why it cannot draw at all, asked before the rows are fetched; none
    // when it can.
    [[nodiscard]] virtual std::optional<std::string> Unavailable() const = 0;
    // Draws what the request asks for from the CSV's rows; the reason when
    // it could not.
    [[nodiscard]] virtual std::optional<std::string> Draw(const ChartRequest& request,
                                                          std::string_view csv) = 0;
};

// The helper's name, and the environment variable that may name another
// program in its place.
inline constexpr std::string_view kChartHelperName = "vantic-chart-render";
inline constexpr const char* kChartHelperVariable = "VANTIC_CHART_RENDER";

// The renderer that runs the helper found beside the running program, else
// in the package's ../libexec/vantic-controller.
[[nodiscard]] std::unique_ptr<ChartRenderer> HelperChartRenderer();

}  // namespace vantic::ctl
