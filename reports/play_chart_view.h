#pragma once

// The windows of the proof-of-play chart and the clip statement as the
// logic drives them, and the drawing it asks of the view: the chart as an
// image or a PDF, the statement as a PDF.

#include <functional>
#include <string>
#include <vector>

#include "platform/window.h"
#include "reports/clip_statement.h"

namespace vantic {

// The files the chart window saves.
enum class ChartFile { Image, Pdf };

// "Clip Statement": the clip and the range it covers.
struct StatementForm {
    std::size_t clip = 0;  // index into the offered clips
    ReportDateRange range;
};

class PlayChartView {
  public:
    virtual ~PlayChartView() = default;
    using ChartOf = std::function<PlayChart(const PlayChartForm&)>;
    using SaveChart = std::function<void(WindowId chartWindow, ChartFile kind,
                                         const PlayChart& chart, ChartStyle style)>;
    // Shows the chart window modal over owner: the channel choice, the unit
    // choice ("All units", then units), the stacked-bar/line switch, set to
    // the form, and chartOf's chart for them; each change shows the chart
    // for the new choice. "Save Image..." and "Save PDF..." call save with
    // the chart shown. Returns when the operator closes the window.
    virtual void RunPlayChart(WindowId owner, const std::vector<std::uint32_t>& units,
                              PlayChartForm& form, const ChartOf& chartOf,
                              const SaveChart& save) = 0;
    // Draws the chart into path: PNG or SVG by the path's extension, a PDF
    // page for ".pdf". False when the file could not be written.
    [[nodiscard]] virtual bool WriteChart(const PlayChart& chart, ChartStyle style,
                                          const std::string& path) = 0;
    // "Clip Statement" modal over owner: the clips to choose from and the
    // range; true after OK, the form holding the choice.
    [[nodiscard]] virtual bool ChooseStatement(WindowId owner,
                                               const std::vector<StatementClip>& clips,
                                               StatementForm& form) = 0;
    // Lays the statement out as a PDF at path; false when it could not.
    [[nodiscard]] virtual bool WriteStatement(const ClipStatement& statement,
                                              const std::string& path) = 0;
};

}  // namespace vantic
