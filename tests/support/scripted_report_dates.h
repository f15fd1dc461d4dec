#pragma once

// The report's date range form for tests: each queued answer edits the
// pickers and tells whether OK (true) or Cancel (false) closed it.

#include <vector>

#include "platform/window.h"
#include "reports/report_dates.h"
#include "tests/support/scripted_form.h"

namespace vantic::testing {

class ScriptedReportDates final : public DateRangeFormView {
  public:
    bool RunDateRangeForm(WindowId owner, DateRangeForm& form) override {
        owners.push_back(owner);
        return script.Run(form);
    }
    ScriptedForm<DateRangeForm> script{"date range form"};
    std::vector<WindowId> owners;
};

}  // namespace vantic::testing
