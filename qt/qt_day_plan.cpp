#include "qt/qt_day_plan.h"

#include "qt/qt_blocking_calls.h"

#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>
#include <utility>

#include "qt/qt_dialogs.h"
#include "qt/qt_text.h"
#include "qt/qt_window.h"

namespace vantic {

namespace {

// The size it opens at; the plan takes any change of it.
constexpr int kWidth = 820;
constexpr int kHeight = 560;
// The least room for a few clips' lines of the plan.
constexpr int kPlanMinimumWidth = 460;
constexpr int kPlanMinimumHeight = 200;

}  // namespace

QtDayPlanDialog::QtDayPlanDialog(QWidget* owner, DayPlanForm& form, DayPlanView::PlanPage planPage)
    : QDialog(owner), form_(form), planPage_(std::move(planPage)) {
    setWindowTitle(FromText("Day Plan"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    auto* layout = new QVBoxLayout(this);

    auto* choice = new QHBoxLayout();
    date_ = new QDateEdit(QDate(form_.date.year, form_.date.month, form_.date.day), this);
    date_->setCalendarPopup(true);
    date_->setDisplayFormat("dddd MM/dd/yyyy");
    channel_ = new QComboBox(this);
    for (std::string_view name : ChannelNames) {
        channel_->addItem(FromText(name));
    }
    channel_->setCurrentIndex(form_.channel);
    choice->addWidget(new QLabel(FromText("Day:"), this));
    choice->addWidget(date_);
    choice->addSpacing(16);
    choice->addWidget(new QLabel(FromText("Channel:"), this));
    choice->addWidget(channel_);
    choice->addStretch();
    layout->addLayout(choice);

    timeline_ = new QtPlanTimeline;
    auto* timelineView = new QScrollArea;
    timelineView->setWidget(timeline_);
    timelineView->setWidgetResizable(true);
    plan_ = new QPlainTextEdit;
    plan_->setReadOnly(true);
    plan_->setLineWrapMode(QPlainTextEdit::NoWrap);
    plan_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    pages_ = new QTabWidget(this);
    pages_->addTab(timelineView, FromText("Timeline"));
    pages_->addTab(plan_, FromText("Text"));
    pages_->setMinimumSize(kPlanMinimumWidth, kPlanMinimumHeight);
    layout->addWidget(pages_, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    connect(date_, &QDateEdit::dateChanged, this, [this] { ShowChoice(); });
    connect(channel_, &QComboBox::currentIndexChanged, this, [this] { ShowChoice(); });
    ShowChoice();
    resize(kWidth, kHeight);
}

void QtDayPlanDialog::ShowChoice() {
    const QDate date = date_->date();
    form_.date = ReportDate{date.year(), date.month(), date.day()};
    form_.channel = channel_->currentIndex();
    DayPlanPage page = planPage_(form_);
    plan_->setPlainText(FromText(page.text));
    timeline_->SetRows(page.text.empty() ? std::vector<TimelineRow>{} : PlanTimeline(page.plan));
}

void QtDayPlanView::RunDayPlan(WindowId owner, DayPlanForm& form, const PlanPage& planPage) {
    OnUiThread([&] {
        QtDayPlanDialog dialog(WidgetOf(owner), form, planPage);
        PlaceDialog(dialog, WidgetOf(owner));
        dialog.exec();
    });
}

}  // namespace vantic
