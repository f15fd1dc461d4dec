// The reports from the command line: the same builders as the program's
// report window, written to a file as the window's Save writes it.

#include "net/payload_exchange.h"
#include "platform/system_clock.h"
#include "reports/activity_report.h"
#include "tools/vanticctl/ctl_handlers.h"

namespace vantic::ctl {

CommandOutcome RunActivityReport(const Invocation& call) {
    if (!call.options.out) {
        return {ExitStatus::Failure, "report activity needs --out FILE.rtf"};
    }
    const FetchResult list = FetchPayload(*call.access, ServerCommand::GetUnitList, kNoUnit);
    if (!list.Ok()) {
        return {ExitStatus::Failure,
                "could not get the unit list from the server at " + call.access->host};
    }
    const std::vector<UnitCells> rows = UnitCellsOfReply(list.Text());
    if (rows.empty()) {
        return {ExitStatus::Failure, "No player units in list!"};
    }
    SystemClock clock;
    std::string text = ActivityReportText(rows, clock.LocalNow());
    text.push_back('\0');  // a saved report ends with its terminating zero
    if (!WriteReportFile(*call.options.out, text)) {
        return {ExitStatus::Failure, "Error saving file " + *call.options.out};
    }
    return {};
}

}  // namespace vantic::ctl
