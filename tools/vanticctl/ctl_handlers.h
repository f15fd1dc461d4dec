#pragma once

// The handlers behind the subcommand table.

#include "tools/vanticctl/ctl_commands.h"

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
CommandOutcome RunActivityReport(const Invocation& call);
CommandOutcome RunReportStatus(const Invocation& call);

}  // namespace vantic::ctl
