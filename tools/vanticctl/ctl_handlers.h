#pragma once

// The handlers behind the subcommand table.

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "reports/report_dates.h"
#include "tools/vanticctl/ctl_commands.h"
#include "units/deploy.h"

namespace vantic::ctl {

CommandOutcome RunUnits(const Invocation& call);
CommandOutcome RunInstructionsGet(const Invocation& call);
CommandOutcome RunInstructionsPut(const Invocation& call);
CommandOutcome RunMediaQuery(const Invocation& call);
CommandOutcome RunMediaPut(const Invocation& call);
CommandOutcome RunOwnersGet(const Invocation& call);
CommandOutcome RunOwnersPut(const Invocation& call);
CommandOutcome RunInfo(const Invocation& call);
CommandOutcome RunTiming(const Invocation& call);
CommandOutcome RunPlaylist(const Invocation& call);
CommandOutcome RunRuntime(const Invocation& call);
CommandOutcome RunDeploy(const Invocation& call);
CommandOutcome RunSettings(const Invocation& call);
CommandOutcome RunCrawl(const Invocation& call);
CommandOutcome RunAdminConfig(const Invocation& call);
CommandOutcome RunFirmware(const Invocation& call);
CommandOutcome RunTimezone(const Invocation& call);
CommandOutcome RunOwner(const Invocation& call);
CommandOutcome RunActivityReport(const Invocation& call);
CommandOutcome RunReportStatus(const Invocation& call);
CommandOutcome RunReportPlays(const Invocation& call);
CommandOutcome RunUnitShow(const Invocation& call);
CommandOutcome RunUnitSet(const Invocation& call);
CommandOutcome RunPlan(const Invocation& call);

// Channel 0-3, by number or by name.
[[nodiscard]] std::optional<int> ReadChannel(std::string_view text);
// "YYYY-MM-DD", a date of the calendar.
[[nodiscard]] std::optional<ReportDate> ReadDate(std::string_view text);

// The controller's deployment on the console, over the unit list as the
// server shows it to this login, with the given units (none: every unit)
// selected there; every one of them must be in the list.
CommandOutcome DeployOnConsole(const Invocation& call, const std::vector<std::uint32_t>& units,
                               DeployRequest request, ClipSource clips);

}  // namespace vantic::ctl
