#include "reports/status_report.h"

#include "platform/operation_progress.h"
#include "reports/report_document.h"

namespace vantic {

namespace {

// Builds every covered unit's page, then the summary; false when the
// operator cancelled.
bool BuildPages(StatusReportRun& run, const std::vector<std::uint32_t>& units,
                cpStringArray& document) {
    OperationProgress& progress = run.context.progress;
    cpStringArray unitDocument;
    int covered = 0;
    for (std::uint32_t unit : units) {
        (void)BuildUnitReport(run, unit, unitDocument);
        document.Append(unitDocument.Join(""));
        unitDocument.Clear();
        ++covered;
        document.AppendCopy("\\par \\page\r\n");
        if (progress.StepOverall()) {
            return false;
        }
    }
    if (covered > 1) {
        AppendSummary(run.summary, run.context.range, unitDocument);
        document.Append(unitDocument.Join(""));
    }
    return true;
}

}  // namespace

std::vector<std::uint32_t> CoveredUnits(DeployTargets& units) {
    TargetsHold hold(units);
    const bool selectedOnly = units.SelectedCount() > 0;
    std::vector<std::uint32_t> covered;
    for (int row = 0; row < units.ItemCount(); ++row) {
        if (!selectedOnly || units.IsSelected(row)) {
            covered.push_back(units.UnitNumberAt(row));
        }
    }
    return covered;
}

StatusReportResult BuildStatusReport(StatusReportContext& context, WindowId reportWindow) {
    if (!context.login.EnsureLogin(reportWindow)) {
        return {};
    }
    StatusReportRun run{context, context.login.Access(), {}, false, {}};
    cpStringArray document;
    AppendRtfHeader(document);
    const std::vector<std::uint32_t> units = CoveredUnits(context.units);
    OperationProgress& progress = context.progress;
    (void)progress.Open(reportWindow, ProgressLayout::Operation,
                        static_cast<std::uint32_t>(units.size()));
    const bool finished = BuildPages(run, units, document);
    progress.Close();
    if (!finished) {
        return {ReportBuildEnd::Cancelled, std::nullopt, {}};
    }
    document.AppendCopy(" }\r\n");
    return {ReportBuildEnd::Done, document.Join(""), std::move(run.plays)};
}

}  // namespace vantic
