#pragma once

// The proof-of-play chart on Qt Charts: plays per day as stacked bars or
// lines, one series per clip, its total in the legend; and the chart drawn
// into a PNG, an SVG or a PDF page. The chart window, the clip statement
// and vantic-chart-render draw it alike.

#include <QChart>
#include <QRectF>
#include <QString>

#include "reports/play_chart.h"

class QPainter;

namespace vantic {

// The size a saved chart is drawn at, in pixels (an SVG's user units).
inline constexpr int kChartImageWidth = 1200;
inline constexpr int kChartImageHeight = 700;

// A new chart for the data; the caller owns it.
[[nodiscard]] QChart* NewPlayChart(const PlayChart& chart, ChartStyle style);

// Draws the chart into target of painter's device, laid out as on a
// kChartImageWidth x kChartImageHeight canvas.
void PaintPlayChart(QPainter& painter, const QRectF& target, const PlayChart& chart,
                    ChartStyle style);

// Writes the chart to path: ".svg" as SVG, ".pdf" as a landscape page,
// anything else as an image of that kind (PNG for ".png"). The file is
// replaced only once complete; false when it could not be written.
[[nodiscard]] bool WritePlayChartFile(const PlayChart& chart, ChartStyle style,
                                      const QString& path);

// "welcome.mpg: 03/05: 12 plays", what hovering over a value shows.
[[nodiscard]] QString HoverText(const PlayChart& chart, std::size_t series, std::size_t day);

}  // namespace vantic
