#include "qt/qt_play_chart_window.h"

#include <QBarSet>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineSeries>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedBarSeries>
#include <QToolTip>
#include <QVBoxLayout>
#include <cmath>
#include <utility>

#include "qt/qt_blocking_calls.h"
#include "qt/qt_clip_statement.h"
#include "qt/qt_dialogs.h"
#include "qt/qt_play_chart.h"
#include "qt/qt_text.h"
#include "qt/qt_window.h"

namespace vantic {

namespace {

// The chart's smallest size: a month's bars stay readable.
constexpr int kChartWidth = 860;
constexpr int kChartHeight = 480;

QDate QtDateOf(const ReportDate& date) {
    return QDate(date.year, date.month, date.day);
}

ReportDate DateOf(const QDate& date) {
    return ReportDate{date.year(), date.month(), date.day()};
}

}  // namespace

QtPlayChartDialog::QtPlayChartDialog(QWidget* owner, const std::vector<std::uint32_t>& units,
                                     PlayChartForm& form, PlayChartView::ChartOf chartOf,
                                     PlayChartView::SaveChart save)
    : QDialog(owner),
      units_(units),
      form_(form),
      chartOf_(std::move(chartOf)),
      save_(std::move(save)) {
    setWindowTitle(FromText(kChartWindowTitle));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setWindowFlag(Qt::WindowMaximizeButtonHint, true);
    auto* layout = new QVBoxLayout(this);

    auto* choice = new QHBoxLayout();
    channel_ = new QComboBox(this);
    for (std::string_view name : ChannelNames) {
        channel_->addItem(FromText(name));
    }
    channel_->setCurrentIndex(form_.channel);
    unit_ = new QComboBox(this);
    unit_->addItem(FromText(kAllUnitsText));
    for (std::size_t i = 0; i < units_.size(); ++i) {
        unit_->addItem(FromText(ChartUnitText(units_[i])));
        if (form_.unit == units_[i]) {
            unit_->setCurrentIndex(static_cast<int>(i) + 1);
        }
    }
    style_ = new QButtonGroup(this);
    auto* bars = new QRadioButton(FromText("Stacked Bars"), this);
    auto* lines = new QRadioButton(FromText("Lines"), this);
    style_->addButton(bars, static_cast<int>(ChartStyle::StackedBars));
    style_->addButton(lines, static_cast<int>(ChartStyle::Lines));
    (form_.style == ChartStyle::Lines ? lines : bars)->setChecked(true);
    choice->addWidget(new QLabel(FromText("Channel:"), this));
    choice->addWidget(channel_);
    choice->addSpacing(16);
    choice->addWidget(new QLabel(FromText("Unit:"), this));
    choice->addWidget(unit_);
    choice->addSpacing(16);
    choice->addWidget(bars);
    choice->addWidget(lines);
    choice->addStretch();
    layout->addLayout(choice);

    view_ = new QChartView(this);
    view_->setRenderHint(QPainter::Antialiasing);
    view_->setMinimumSize(kChartWidth, kChartHeight);
    view_->setMouseTracking(true);
    layout->addWidget(view_, 1);

    auto* bottom = new QHBoxLayout();
    total_ = new QLabel(this);
    hover_ = new QLabel(this);
    bottom->addWidget(total_);
    bottom->addSpacing(16);
    bottom->addWidget(hover_, 1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    QPushButton* image =
        buttons->addButton(FromText("Save Image..."), QDialogButtonBox::ActionRole);
    QPushButton* pdf = buttons->addButton(FromText("Save PDF..."), QDialogButtonBox::ActionRole);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(image, &QPushButton::clicked, this,
            [this] { save_(IdOf(this), ChartFile::Image, shown_, form_.style); });
    connect(pdf, &QPushButton::clicked, this,
            [this] { save_(IdOf(this), ChartFile::Pdf, shown_, form_.style); });
    bottom->addWidget(buttons);
    layout->addLayout(bottom);

    connect(channel_, &QComboBox::currentIndexChanged, this, [this] { ShowChoice(); });
    connect(unit_, &QComboBox::currentIndexChanged, this, [this] { ShowChoice(); });
    connect(style_, &QButtonGroup::idClicked, this, [this] { ShowChoice(); });
    ShowChoice();
}

void QtPlayChartDialog::ShowChoice() {
    form_.channel = channel_->currentIndex();
    const int unit = unit_->currentIndex();
    form_.unit =
        unit > 0 ? std::optional(units_[static_cast<std::size_t>(unit - 1)]) : std::nullopt;
    form_.style = static_cast<ChartStyle>(style_->checkedId());
    shown_ = chartOf_(form_);
    QChart* previous = view_->chart();
    view_->setChart(NewPlayChart(shown_, form_.style));
    delete previous;
    hover_->clear();
    ConnectHover();
    total_->setText(QString("Total: %1 plays of %2 clips")
                        .arg(shown_.total)
                        .arg(static_cast<qulonglong>(shown_.series.size())));
}

// Hovering over a bar or near a line's point shows the clip, the day and
// its plays.
void QtPlayChartDialog::ConnectHover() {
    const QList<QAbstractSeries*> all = view_->chart()->series();
    for (int s = 0; s < all.size(); ++s) {
        if (auto* bars = qobject_cast<QStackedBarSeries*>(all[s])) {
            const QList<QBarSet*> sets = bars->barSets();
            for (int set = 0; set < sets.size(); ++set) {
                connect(sets[set], &QBarSet::hovered, this, [this, set](bool on, int day) {
                    ShowHover(on, static_cast<std::size_t>(set), static_cast<std::size_t>(day));
                });
            }
        } else if (auto* line = qobject_cast<QLineSeries*>(all[s])) {
            line->setPointsVisible(shown_.days.size() <= 62);
            connect(line, &QLineSeries::hovered, this, [this, s](const QPointF& point, bool on) {
                const long day = std::lround(point.x());
                ShowHover(on && day >= 0, static_cast<std::size_t>(s),
                          static_cast<std::size_t>(day));
            });
        }
    }
}

// The value under the mouse, beside the total and as a tooltip.
void QtPlayChartDialog::ShowHover(bool on, std::size_t series, std::size_t day) {
    const QString text = on ? HoverText(shown_, series, day) : QString();
    hover_->setText(text);
    if (text.isEmpty()) {
        QToolTip::hideText();
    } else {
        QToolTip::showText(QCursor::pos(), text, view_);
    }
}

QtStatementDialog::QtStatementDialog(QWidget* owner, const std::vector<StatementClip>& clips,
                                     const StatementForm& form)
    : QDialog(owner) {
    setWindowTitle(FromText(kStatementFormTitle));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    auto* layout = new QFormLayout(this);
    clip_ = new QComboBox(this);
    for (const StatementClip& clip : clips) {
        clip_->addItem(FromText(clip.clipFile + "  (" + clip.contentName + ")"));
    }
    clip_->setCurrentIndex(static_cast<int>(form.clip));
    first_ = new QDateEdit(QtDateOf(form.range.first), this);
    last_ = new QDateEdit(QtDateOf(form.range.last), this);
    for (QDateEdit* date : {first_, last_}) {
        date->setCalendarPopup(true);
        date->setDisplayFormat("MM/dd/yyyy");
    }
    layout->addRow(FromText("Clip:"), clip_);
    layout->addRow(FromText("First Day:"), first_);
    layout->addRow(FromText("Last Day:"), last_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addRow(buttons);
}

StatementForm QtStatementDialog::Form() const {
    return StatementForm{static_cast<std::size_t>(std::max(0, clip_->currentIndex())),
                         ReportDateRange{DateOf(first_->date()), DateOf(last_->date())}};
}

void QtPlayChartView::RunPlayChart(WindowId owner, const std::vector<std::uint32_t>& units,
                                   PlayChartForm& form, const ChartOf& chartOf,
                                   const SaveChart& save) {
    OnUiThread([&] {
        QtPlayChartDialog dialog(WidgetOf(owner), units, form, chartOf, save);
        dialog.adjustSize();
        PlaceDialog(dialog, WidgetOf(owner));
        dialog.exec();
    });
}

bool QtPlayChartView::WriteChart(const PlayChart& chart, ChartStyle style,
                                 const std::string& path) {
    return OnUiThread([&] { return WritePlayChartFile(chart, style, FromPath(path)); });
}

bool QtPlayChartView::ChooseStatement(WindowId owner, const std::vector<StatementClip>& clips,
                                      StatementForm& form) {
    return AskOnUiThread(false, [&] {
        QtStatementDialog dialog(WidgetOf(owner), clips, form);
        PlaceDialog(dialog, WidgetOf(owner));
        if (dialog.exec() != QDialog::Accepted) {
            return false;
        }
        form = dialog.Form();
        return true;
    });
}

bool QtPlayChartView::WriteStatement(const ClipStatement& statement, const std::string& path) {
    return OnUiThread([&] { return WriteStatementPdf(statement, FromPath(path)); });
}

}  // namespace vantic
