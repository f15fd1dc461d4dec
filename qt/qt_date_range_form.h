#pragma once

// "Date Range for Report" on Qt: the prompt, the pickers "First Day:" and
// "Last Day:" with calendar pop-ups, OK and Cancel. Either button hands
// the picked dates back.

#include <QDateEdit>
#include <QDialog>

#include "reports/report_dates.h"

namespace vantic {

// The dialog bound to a form value; exposed so tests can reach it.
class QtDateRangeDialog final : public QDialog {
  public:
    QtDateRangeDialog(QWidget* owner, DateRangeForm& form);
    // Copies the pickers into the form.
    void TakeDates();

  private:
    DateRangeForm& form_;
    QDateEdit* first_ = nullptr;
    QDateEdit* last_ = nullptr;
};

class QtDateRangeFormView final : public DateRangeFormView {
  public:
    bool RunDateRangeForm(WindowId owner, DateRangeForm& form) override;
};

}  // namespace vantic
