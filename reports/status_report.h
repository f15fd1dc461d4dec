#pragma once

// The status report: for each covered unit a "Media Player Report" page
// (call-in times, the playlists it runs, its proof of runtime over the
// report's date range, its configuration), and when more than one unit is
// covered a summary page adding up the play counts of all of them. Every
// fact comes from the distribution server, four requests per unit, one
// connection each and strictly in turn, while a progress dialog runs.
//
// After the first request that fails for any reason but "nothing stored"
// or "did not decrypt", the server is taken as gone: no further connection
// is made in the run, and every later section prints its error line.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "core/cpstringarray.h"
#include "net/payload_exchange.h"
#include "net/server_access.h"
#include "platform/clock.h"
#include "reports/play_export.h"
#include "reports/report_dates.h"
#include "reports/report_window.h"
#include "reports/status_sections.h"
#include "units/deploy_interfaces.h"

namespace vantic {

// The pause that closes each unit's page, so the item bar is seen full.
inline constexpr int kUnitPagePauseMs = 150;

// How a run makes its requests; FetchPayload unless a caller watches them.
using PayloadFetcher =
    std::function<FetchResult(const ServerAccess&, ServerCommand, std::int32_t unit)>;

// What a run works with. The references must outlive the run.
struct StatusReportContext {
    Clock& clock;
    DeployTargets& units;  // covered: the selected rows, else every row
    RequestLogin& login;
    OperationProgress& progress;  // "Operation Progress...", owned by the report window
    ReportDateRange range;        // first day not after the last
    PayloadFetcher fetch = FetchPayload;
};

// One run's state, shared by its unit pages.
struct StatusReportRun {
    StatusReportContext& context;
    ServerAccess access;
    RuntimeSummary summary;
    bool serverFailed = false;
    std::vector<UnitPlays> plays;  // what each covered unit's requests brought
};

enum class UnitReportEnd { Finished, Cancelled };

// Appends unit's page to document: the unit's four requests and their
// sections, four item steps on the progress dialog, then the pause.
UnitReportEnd BuildUnitReport(StatusReportRun& run, std::uint32_t unit, cpStringArray& document);

struct StatusReportResult {
    ReportBuildEnd end = ReportBuildEnd::Done;
    // The finished document; none when the login was not completed or the
    // run was cancelled.
    std::optional<std::string> text;
    // The covered units' notes and runtime replies, for the proof-of-play
    // export; complete only with a text.
    std::vector<UnitPlays> plays;
};

// The whole document, the progress dialog owned by reportWindow.
[[nodiscard]] StatusReportResult BuildStatusReport(StatusReportContext& context,
                                                   WindowId reportWindow);

// Only what the proof-of-play export needs of each unit: its information
// record and its runtime report, two requests per unit strictly in turn,
// under the same rule for a server taken as gone. The progress dialog's
// overall bar counts units; none when it was cancelled.
[[nodiscard]] std::optional<std::vector<UnitPlays>> FetchUnitPlays(StatusReportContext& context,
                                                                   WindowId owner);

// The unit numbers a run covers, in row order.
[[nodiscard]] std::vector<std::uint32_t> CoveredUnits(DeployTargets& units);

}  // namespace vantic
