#pragma once

// The day plan drawn as a 24-hour timeline: one line per clip of the
// channel, a bar over each stretch of hours in which it may play (a mark at
// the minute for a clip at a fixed time), and the clips not due or run out
// that day hatched across the whole day with the reason. A key explains
// the colours.

#include <QColor>
#include <QPainter>
#include <QWidget>
#include <vector>

#include "reports/day_plan.h"

namespace vantic {

class QtPlanTimeline final : public QWidget {
  public:
    explicit QtPlanTimeline(QWidget* parent = nullptr);

    void SetRows(std::vector<TimelineRow> rows);
    [[nodiscard]] const std::vector<TimelineRow>& Rows() const { return rows_; }

    [[nodiscard]] QSize sizeHint() const override;
    [[nodiscard]] QSize minimumSizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    struct Metrics;
    [[nodiscard]] Metrics Measure() const;
    void PaintHours(QPainter& painter, const Metrics& m) const;
    void PaintRow(QPainter& painter, const Metrics& m, const TimelineRow& row, int top) const;
    void PaintFixedTime(QPainter& painter, int at, const QRect& band, const QColor& colour,
                        const QString& note) const;
    void PaintKey(QPainter& painter, const Metrics& m) const;

    std::vector<TimelineRow> rows_;
};

}  // namespace vantic
