#pragma once

// The application's status reports: the process's report date range, the
// report's progress dialog, and the unit list and login behind the
// report's interfaces.

#include "net/server_login.h"
#include "reports/status_command.h"
#include "units/upload_progress.h"
#include "units/venue_list.h"

namespace vantic {

class StatusReports {
  public:
    StatusReports(Platform& platform, VenueList& venue, ServerLogin& login)
        : progress_(platform), venue_(venue), login_(login) {}
    StatusReports(const StatusReports&) = delete;
    StatusReports& operator=(const StatusReports&) = delete;

    // "Generate Status Report...".
    void Generate(const ReportContext& reports, DateRangeFormView& dates) {
        StatusReportCommand command{reports, dates, range_, venue_, login_, progress_};
        GenerateStatusReport(command);
    }
    [[nodiscard]] const ReportDateRange& Range() const { return range_; }

  private:
    WProgress progress_;
    VenueList& venue_;
    ServerLogin& login_;
    ReportDateRange range_;  // all zeros until the form first closes
};

}  // namespace vantic
