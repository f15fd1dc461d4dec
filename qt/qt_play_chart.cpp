#include "qt/qt_play_chart.h"

#include <QBarSet>
#include <QCategoryAxis>
#include <QChartView>
#include <QFileInfo>
#include <QGraphicsLayout>
#include <QImage>
#include <QLineSeries>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QStackedBarSeries>
#include <QSvgGenerator>
#include <QValueAxis>
#include <algorithm>

#include "qt/qt_text.h"

namespace vantic {

namespace {

// About a dozen day labels fit under the chart whatever the range.
constexpr std::size_t kDayLabels = 12;

QString SeriesName(const ChartSeries& series) {
    return FromText(series.label) + QString(" (%1)").arg(series.total);
}

QCategoryAxis* NewDayAxis(const PlayChart& chart) {
    auto* axis = new QCategoryAxis();
    axis->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    const std::size_t step =
        std::max<std::size_t>(1, (chart.days.size() + kDayLabels - 1) / kDayLabels);
    for (std::size_t day = 0; day < chart.days.size(); day += step) {
        axis->append(FromText(ChartDayText(chart.days[day])), static_cast<qreal>(day));
    }
    axis->setRange(-0.5, static_cast<qreal>(chart.days.size()) - 0.5);
    axis->setGridLineVisible(false);
    return axis;
}

// The highest value on the chart: the tallest stack, or the highest point.
qint64 Peak(const PlayChart& chart, ChartStyle style) {
    qint64 peak = 0;
    for (std::size_t day = 0; day < chart.days.size(); ++day) {
        qint64 stack = 0;
        for (const ChartSeries& series : chart.series) {
            stack = style == ChartStyle::StackedBars ? stack + series.plays[day]
                                                     : std::max<qint64>(stack, series.plays[day]);
        }
        peak = std::max(peak, stack);
    }
    return peak;
}

QValueAxis* NewPlaysAxis(const PlayChart& chart, ChartStyle style) {
    auto* axis = new QValueAxis();
    axis->setLabelFormat("%d");
    axis->setTitleText(FromText("Plays"));
    axis->setRange(0, static_cast<qreal>(std::max<qint64>(Peak(chart, style), 1)));
    axis->applyNiceNumbers();
    return axis;
}

void AddSeries(QChart& chart, const PlayChart& data, ChartStyle style) {
    if (style == ChartStyle::StackedBars) {
        auto* bars = new QStackedBarSeries();
        bars->setBarWidth(0.8);
        for (const ChartSeries& series : data.series) {
            auto* set = new QBarSet(SeriesName(series));
            for (const std::int64_t plays : series.plays) {
                set->append(static_cast<qreal>(plays));
            }
            bars->append(set);
        }
        chart.addSeries(bars);
        return;
    }
    for (const ChartSeries& series : data.series) {
        auto* line = new QLineSeries();
        line->setName(SeriesName(series));
        for (std::size_t day = 0; day < series.plays.size(); ++day) {
            line->append(static_cast<qreal>(day), static_cast<qreal>(series.plays[day]));
        }
        chart.addSeries(line);
    }
}

// An offscreen view lays the chart out at the canvas size.
class ChartCanvas {
  public:
    ChartCanvas(const PlayChart& chart, ChartStyle style) : view_(NewPlayChart(chart, style)) {
        view_.setRenderHint(QPainter::Antialiasing);
        view_.resize(kChartImageWidth, kChartImageHeight);
        view_.chart()->resize(kChartImageWidth, kChartImageHeight);
        view_.chart()->layout()->activate();
    }
    ChartCanvas(const ChartCanvas&) = delete;
    ChartCanvas& operator=(const ChartCanvas&) = delete;
    ~ChartCanvas() { delete view_.chart(); }

    void Paint(QPainter& painter, const QRectF& target) {
        view_.scene()->render(&painter, target, QRectF(0, 0, kChartImageWidth, kChartImageHeight));
    }

  private:
    QChartView view_;
};

bool WriteSvg(QIODevice& out, const PlayChart& chart, ChartStyle style) {
    QSvgGenerator svg;
    svg.setOutputDevice(&out);
    svg.setSize(QSize(kChartImageWidth, kChartImageHeight));
    svg.setViewBox(QRect(0, 0, kChartImageWidth, kChartImageHeight));
    svg.setTitle(FromText(chart.title));
    QPainter painter;
    if (!painter.begin(&svg)) {
        return false;
    }
    PaintPlayChart(painter, QRectF(0, 0, kChartImageWidth, kChartImageHeight), chart, style);
    return painter.end();
}

bool WritePdf(QIODevice& out, const PlayChart& chart, ChartStyle style) {
    QPdfWriter pdf(&out);
    pdf.setTitle(FromText(chart.title));
    pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Landscape,
                                  QMarginsF(0.5, 0.5, 0.5, 0.5), QPageLayout::Inch));
    QPainter painter;
    if (!painter.begin(&pdf)) {
        return false;
    }
    const QRect page = pdf.pageLayout().paintRectPixels(pdf.resolution());
    const qreal scale =
        std::min(page.width() / qreal(kChartImageWidth), page.height() / qreal(kChartImageHeight));
    PaintPlayChart(painter, QRectF(0, 0, kChartImageWidth * scale, kChartImageHeight * scale),
                   chart, style);
    return painter.end();
}

bool WriteImage(QIODevice& out, const QString& format, const PlayChart& chart, ChartStyle style) {
    QImage image(kChartImageWidth, kChartImageHeight, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    PaintPlayChart(painter, QRectF(image.rect()), chart, style);
    painter.end();
    return image.save(&out, format.toLatin1().constData());
}

}  // namespace

QChart* NewPlayChart(const PlayChart& data, ChartStyle style) {
    auto* chart = new QChart();
    chart->setTitle(FromText(data.title) + QString(" (%1 plays)").arg(data.total));
    chart->setAnimationOptions(QChart::NoAnimation);
    chart->legend()->setAlignment(Qt::AlignBottom);
    AddSeries(*chart, data, style);
    QCategoryAxis* days = NewDayAxis(data);
    QValueAxis* plays = NewPlaysAxis(data, style);
    chart->addAxis(days, Qt::AlignBottom);
    chart->addAxis(plays, Qt::AlignLeft);
    for (QAbstractSeries* series : chart->series()) {
        series->attachAxis(days);
        series->attachAxis(plays);
    }
    return chart;
}

void PaintPlayChart(QPainter& painter, const QRectF& target, const PlayChart& chart,
                    ChartStyle style) {
    ChartCanvas canvas(chart, style);
    canvas.Paint(painter, target);
}

bool WritePlayChartFile(const PlayChart& chart, ChartStyle style, const QString& path) {
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly)) {
        return false;
    }
    const QString kind = QFileInfo(path).suffix().toLower();
    const bool drawn = kind == "svg" ? WriteSvg(out, chart, style)
                       : kind == "pdf"
                           ? WritePdf(out, chart, style)
                           : WriteImage(out, kind.isEmpty() ? "png" : kind, chart, style);
    if (!drawn) {
        out.cancelWriting();
        return false;
    }
    return out.commit();
}

QString HoverText(const PlayChart& chart, std::size_t series, std::size_t day) {
    if (series >= chart.series.size() || day >= chart.days.size()) {
        return {};
    }
    const ChartSeries& one = chart.series[series];
    return FromText(one.label) + ": " + FromText(ChartDayText(chart.days[day])) +
           QString(": %1 plays").arg(one.plays[day]);
}

}  // namespace vantic
