#pragma once

// "Day Plan" on Qt: a date picker with a calendar pop-up, the channel
// choice, the plan's text as the logic writes it, and Close. Each change
// of the date or the channel shows the plan for the new choice.

#include <QComboBox>
#include <QDateEdit>
#include <QDialog>
#include <QPlainTextEdit>
#include <functional>
#include <string>

#include "reports/day_plan.h"

namespace vantic {

// The dialog bound to a form value; exposed so tests can reach it.
class QtDayPlanDialog final : public QDialog {
  public:
    using PlanText = std::function<std::string(const DayPlanForm&)>;
    QtDayPlanDialog(QWidget* owner, DayPlanForm& form, PlanText planText);

    [[nodiscard]] QDateEdit& DatePicker() { return *date_; }
    [[nodiscard]] QComboBox& ChannelChoice() { return *channel_; }
    [[nodiscard]] QString ShownText() const { return plan_->toPlainText(); }

  private:
    // Copies the choice into the form and shows its plan.
    void ShowChoice();

    DayPlanForm& form_;
    PlanText planText_;
    QDateEdit* date_ = nullptr;
    QComboBox* channel_ = nullptr;
    QPlainTextEdit* plan_ = nullptr;
};

class QtDayPlanView final : public DayPlanView {
  public:
    void RunDayPlan(WindowId owner, DayPlanForm& form,
                    const std::function<std::string(const DayPlanForm&)>& planText) override;
};

}  // namespace vantic
