#pragma once

// "Generate Status Report...": the date range form, then the report window
// in status mode, which builds the report while it opens.

#include "reports/report_dates.h"
#include "reports/report_window.h"
#include "reports/status_report.h"

namespace vantic {

// What the command works with. The references must outlive the call.
struct StatusReportCommand {
    ReportContext reports;  // platform, settings, report window view, main window
    DateRangeFormView& dates;
    ReportDateRange& range;  // the process's date range
    DeployTargets& units;
    RequestLogin& login;
    OperationProgress& progress;
};

inline constexpr std::string_view kNoUnitsText = "Please check your user name and password.";
inline constexpr std::string_view kNoUnitsCaption = "No player units in list!";

// Asks for the days (a cancelled form stops here, keeping what was
// picked), puts them in order, refuses an empty unit list, and runs the
// report window.
void GenerateStatusReport(StatusReportCommand& command);

}  // namespace vantic
