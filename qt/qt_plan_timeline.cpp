#include "qt/qt_plan_timeline.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <array>
#include <utility>

#include "qt/qt_text.h"

namespace vantic {

namespace {

constexpr int kMargin = 8;
constexpr int kNameGap = 10;
// Keeps a name that just fits from being shortened by rounding.
constexpr int kNameSlack = 4;
constexpr int kMaxNameWidth = 220;
constexpr int kMinHourWidth = 16;
constexpr int kWideHourWidth = 30;
constexpr int kSwatch = 12;
constexpr int kLabelWidth = 120;
constexpr int kMinutesPerHour = 60;

const QColor kLoopColour(0x3b, 0x78, 0xc2);
const QColor kPerHourColour(0x2a, 0x9d, 0x8f);
const QColor kAtTimeColour(0xd9, 0x7a, 0x10);
const QColor kNotDueColour(0x8a, 0x8a, 0x8a);
const QColor kRunOutColour(0xc0, 0x39, 0x2b);
const QColor kGridColour(0xd8, 0xd8, 0xd8);
const QColor kQuarterColour(0xa8, 0xa8, 0xa8);

QColor ColourOf(const TimelineRow& row) {
    switch (row.state) {
        case TimelineState::NotDue:
            return kNotDueColour;
        case TimelineState::RunOut:
            return kRunOutColour;
        case TimelineState::Plays:
            break;
    }
    switch (row.mode) {
        case ScheduleMode::PerHour:
            return kPerHourColour;
        case ScheduleMode::AtTime:
            return kAtTimeColour;
        case ScheduleMode::Loop:
            break;
    }
    return kLoopColour;
}

// The stretches of consecutive hours set in hours, as [first, end).
std::vector<std::pair<int, int>> Stretches(const std::array<bool, kHoursPerDay>& hours) {
    std::vector<std::pair<int, int>> stretches;
    for (int hour = 0; hour < kHoursPerDay; ++hour) {
        if (!hours[static_cast<std::size_t>(hour)]) {
            continue;
        }
        if (!stretches.empty() && stretches.back().second == hour) {
            stretches.back().second = hour + 1;
        } else {
            stretches.emplace_back(hour, hour + 1);
        }
    }
    return stretches;
}

struct KeyItem {
    QColor colour;
    const char* text;
    Qt::BrushStyle style;
};

std::array<KeyItem, 5> Key() {
    return {KeyItem{kLoopColour, "may play (loop)", Qt::SolidPattern},
            KeyItem{kPerHourColour, "times per hour", Qt::SolidPattern},
            KeyItem{kAtTimeColour, "at a fixed time", Qt::SolidPattern},
            KeyItem{kNotDueColour, "not due", Qt::BDiagPattern},
            KeyItem{kRunOutColour, "run out", Qt::FDiagPattern}};
}

}  // namespace

struct QtPlanTimeline::Metrics {
    int line = 0;     // height of a clip's line
    int header = 0;   // height of the hours' labels
    int key = 0;      // height of the key below
    int names = 0;    // width of the names' column
    int left = 0;     // where the hours begin
    double hour = 0;  // width of an hour
    int rowsTop = 0;

    [[nodiscard]] int X(double hours) const;  // where a time of day lies
    [[nodiscard]] int Bottom(std::size_t rows) const;
};

QtPlanTimeline::QtPlanTimeline(QWidget* parent) : QWidget(parent) {
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
}

void QtPlanTimeline::SetRows(std::vector<TimelineRow> rows) {
    rows_ = std::move(rows);
    updateGeometry();
    update();
}

QtPlanTimeline::Metrics QtPlanTimeline::Measure() const {
    const QFontMetrics font = fontMetrics();
    Metrics m;
    m.line = font.height() + 10;
    m.header = font.height() + 8;
    m.key = font.height() + 12;
    int names = font.horizontalAdvance(QStringLiteral("Clip"));
    for (const TimelineRow& row : rows_) {
        names = std::max(names, font.horizontalAdvance(FromText(row.name)));
    }
    m.names = std::min(names + kNameSlack, kMaxNameWidth);
    m.left = kMargin + m.names + kNameGap;
    m.hour = std::max(0.0, static_cast<double>(width() - m.left - kMargin) / kHoursPerDay);
    m.rowsTop = kMargin + m.header;
    return m;
}

QSize QtPlanTimeline::sizeHint() const {
    const Metrics m = Measure();
    return {m.left + kHoursPerDay * kWideHourWidth + kMargin,
            m.Bottom(rows_.size()) + m.key + kMargin};
}

QSize QtPlanTimeline::minimumSizeHint() const {
    const Metrics m = Measure();
    return {m.left + kHoursPerDay * kMinHourWidth + kMargin, m.rowsTop + m.line + m.key + kMargin};
}

void QtPlanTimeline::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    const Metrics m = Measure();
    PaintHours(painter, m);
    int top = m.rowsTop;
    for (const TimelineRow& row : rows_) {
        PaintRow(painter, m, row, top);
        top += m.line;
    }
    PaintKey(painter, m);
}

int QtPlanTimeline::Metrics::X(double hours) const {
    return left + static_cast<int>(hours * hour);
}

int QtPlanTimeline::Metrics::Bottom(std::size_t rows) const {
    return rowsTop + static_cast<int>(std::max<std::size_t>(1, rows)) * line;
}

// A line each hour, darker every six, labelled as room allows.
void QtPlanTimeline::PaintHours(QPainter& painter, const Metrics& m) const {
    const QFontMetrics font = fontMetrics();
    const int bottom = m.Bottom(rows_.size());
    const int labelEvery = m.hour * 2 >= font.horizontalAdvance(QStringLiteral("00:00")) ? 2 : 3;
    for (int hour = 0; hour <= kHoursPerDay; ++hour) {
        painter.setPen(hour % 6 == 0 ? kQuarterColour : kGridColour);
        painter.drawLine(m.X(hour), m.rowsTop, m.X(hour), bottom);
        if (hour < kHoursPerDay && hour % labelEvery == 0) {
            painter.setPen(palette().color(QPalette::Text));
            painter.drawText(QRect(m.X(hour) + 2, kMargin, kLabelWidth, m.header),
                             Qt::AlignLeft | Qt::AlignVCenter,
                             QStringLiteral("%1:00").arg(hour, 2, 10, QLatin1Char('0')));
        }
    }
    if (rows_.empty()) {
        const QString none = QStringLiteral("No clip on this channel");
        const QRect line(m.left, m.rowsTop, m.X(kHoursPerDay) - m.left, m.line);
        painter.fillRect(font.boundingRect(line, Qt::AlignCenter, none).adjusted(-4, 0, 4, 0),
                         palette().color(QPalette::Base));
        painter.setPen(palette().color(QPalette::PlaceholderText));
        painter.drawText(line, Qt::AlignCenter, none);
    }
}

void QtPlanTimeline::PaintRow(QPainter& painter, const Metrics& m, const TimelineRow& row,
                              int top) const {
    const QFontMetrics font = fontMetrics();
    const QRect band(m.left, top + 4, m.X(kHoursPerDay) - m.left, m.line - 8);
    const QColor colour = ColourOf(row);
    const bool plays = row.state == TimelineState::Plays;
    painter.setPen(plays ? palette().color(QPalette::Text) : colour);
    painter.drawText(QRect(kMargin, top, m.names, m.line), Qt::AlignLeft | Qt::AlignVCenter,
                     font.elidedText(FromText(row.name), Qt::ElideMiddle, m.names));
    if (!plays) {
        const bool notDue = row.state == TimelineState::NotDue;
        painter.fillRect(band, QBrush(colour, notDue ? Qt::BDiagPattern : Qt::FDiagPattern));
        const QString why = FromText((notDue ? "not due: " : "run out: ") + row.note);
        painter.fillRect(font.boundingRect(band, Qt::AlignCenter, why).adjusted(-4, 0, 4, 0),
                         palette().color(QPalette::Base));
        painter.drawText(band, Qt::AlignCenter, why);
    } else if (row.mode == ScheduleMode::AtTime && row.minute >= 0) {
        PaintFixedTime(painter, m.X(static_cast<double>(row.minute) / kMinutesPerHour), band,
                       colour, FromText(row.note));
    } else {
        const QString note = FromText(row.note);
        for (const auto& [first, end] : Stretches(row.hours)) {
            const QRect bar(m.X(first) + 1, band.top(), m.X(end) - m.X(first) - 1, band.height());
            painter.fillRect(bar, colour);
            if (font.horizontalAdvance(note) + 8 <= bar.width()) {
                painter.setPen(Qt::white);
                painter.drawText(bar, Qt::AlignCenter, note);
            }
        }
    }
    painter.setPen(kGridColour);
    painter.drawLine(0, top + m.line - 1, width(), top + m.line - 1);
}

// A diamond at the minute, the time beside it.
void QtPlanTimeline::PaintFixedTime(QPainter& painter, int at, const QRect& band,
                                    const QColor& colour, const QString& note) const {
    const int mid = band.center().y();
    const int half = band.height() / 2;
    QPainterPath mark;
    mark.moveTo(at, mid - half);
    mark.lineTo(at + half, mid);
    mark.lineTo(at, mid + half);
    mark.lineTo(at - half, mid);
    mark.closeSubpath();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.fillPath(mark, colour);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(palette().color(QPalette::Text));
    painter.drawText(QRect(at + half + 4, band.top(), kLabelWidth, band.height()),
                     Qt::AlignLeft | Qt::AlignVCenter, note);
}

void QtPlanTimeline::PaintKey(QPainter& painter, const Metrics& m) const {
    const QFontMetrics font = fontMetrics();
    const int keyTop = m.Bottom(rows_.size()) + 8;
    int left = kMargin;
    for (const KeyItem& item : Key()) {
        const QRect swatch(left, keyTop + (m.key - 8 - kSwatch) / 2, kSwatch, kSwatch);
        painter.fillRect(swatch, QBrush(item.colour, item.style));
        painter.setPen(item.colour);
        painter.drawRect(swatch);
        const QString text = QString::fromLatin1(item.text);
        painter.setPen(palette().color(QPalette::Text));
        painter.drawText(
            QRect(swatch.right() + 5, keyTop, font.horizontalAdvance(text) + 2, m.key - 8),
            Qt::AlignLeft | Qt::AlignVCenter, text);
        left = swatch.right() + 5 + font.horizontalAdvance(text) + 16;
    }
}

}  // namespace vantic
