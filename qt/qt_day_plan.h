#pragma once

// "Day Plan" on Qt: a date picker with a calendar pop-up, the channel
// choice, the plan drawn as a timeline and, on a tab of its own, its text
// as the logic writes it (to read and copy), and Close. Each change of the
// date or the channel shows the plan for the new choice.

#include <QComboBox>
#include <QDateEdit>
#include <QDialog>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <functional>
#include <string>

#include "qt/qt_plan_timeline.h"
#include "reports/day_plan.h"

namespace vantic {

// The dialog bound to a form value; exposed so tests can reach it.
class QtDayPlanDialog final : public QDialog {
  public:
    QtDayPlanDialog(QWidget* owner, DayPlanForm& form, DayPlanView::PlanPage planPage);

    [[nodiscard]] QDateEdit& DatePicker() { return *date_; }
    [[nodiscard]] QComboBox& ChannelChoice() { return *channel_; }
    [[nodiscard]] QString ShownText() const { return plan_->toPlainText(); }
    [[nodiscard]] const QtPlanTimeline& Timeline() const { return *timeline_; }
    [[nodiscard]] QTabWidget& Pages() { return *pages_; }

  private:
    // Copies the choice into the form and shows its plan.
    void ShowChoice();

    DayPlanForm& form_;
    DayPlanView::PlanPage planPage_;
    QDateEdit* date_ = nullptr;
    QComboBox* channel_ = nullptr;
    QTabWidget* pages_ = nullptr;
    QtPlanTimeline* timeline_ = nullptr;
    QPlainTextEdit* plan_ = nullptr;
};

class QtDayPlanView final : public DayPlanView {
  public:
    void RunDayPlan(WindowId owner, DayPlanForm& form, const PlanPage& planPage) override;
};

}  // namespace vantic
