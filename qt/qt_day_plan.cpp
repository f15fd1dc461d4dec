#include "qt/qt_day_plan.h"

#include "qt/qt_blocking_calls.h"

#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <utility>

#include "qt/qt_dialogs.h"
#include "qt/qt_text.h"
#include "qt/qt_window.h"

namespace vantic {

namespace {

constexpr int kPlanWidth = 720;
constexpr int kPlanHeight = 560;

}  // namespace

QtDayPlanDialog::QtDayPlanDialog(QWidget* owner, DayPlanForm& form, PlanText planText)
    : QDialog(owner), form_(form), planText_(std::move(planText)) {
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

    plan_ = new QPlainTextEdit(this);
    plan_->setReadOnly(true);
    plan_->setLineWrapMode(QPlainTextEdit::NoWrap);
    plan_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    plan_->setMinimumSize(kPlanWidth, kPlanHeight);
    layout->addWidget(plan_);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    connect(date_, &QDateEdit::dateChanged, this, [this] { ShowChoice(); });
    connect(channel_, &QComboBox::currentIndexChanged, this, [this] { ShowChoice(); });
    ShowChoice();
}

void QtDayPlanDialog::ShowChoice() {
    const QDate date = date_->date();
    form_.date = ReportDate{date.year(), date.month(), date.day()};
    form_.channel = channel_->currentIndex();
    plan_->setPlainText(FromText(planText_(form_)));
}

void QtDayPlanView::RunDayPlan(WindowId owner, DayPlanForm& form,
                               const std::function<std::string(const DayPlanForm&)>& planText) {
    OnUiThread([&] {
        QtDayPlanDialog dialog(WidgetOf(owner), form, planText);
        PlaceDialog(dialog, WidgetOf(owner));
        dialog.exec();
    });
}

}  // namespace vantic
