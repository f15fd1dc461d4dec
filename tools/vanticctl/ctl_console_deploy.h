#pragma once

// The program's deployment parts on a console, shared by every command that
// changes units: the unit list as the server shows it to the login with the
// targets of --units or --all, the console platform (messages and progress
// on standard error), the typed confirmation and the fixed login.

#include <iostream>
#include <string>

#include "platform/console_platform.h"
#include "tools/vanticctl/ctl_commands.h"
#include "tools/vanticctl/ctl_console_confirm.h"
#include "units/deploy.h"
#include "units/deploy_interfaces.h"
#include "units/unit_rows.h"
#include "units/upload_progress.h"

namespace vantic::ctl {

class ConsoleDeployer {
  public:
    // With allSelects, --all selects every unit of the list (for commands
    // that only ever deploy to the selected units); without it, --all
    // deploys to all units.
    ConsoleDeployer(const Invocation& call, ClipSource clips, bool allSelects);
    ConsoleDeployer(const ConsoleDeployer&) = delete;
    ConsoleDeployer& operator=(const ConsoleDeployer&) = delete;

    // Why the targets could not be had; empty when they could.
    [[nodiscard]] const std::string& Error() const { return error_; }
    [[nodiscard]] DeployContext& Context() { return context_; }
    [[nodiscard]] Platform& GetPlatform() { return platform_; }
    // False only for --all where it means every unit rather than a selection.
    [[nodiscard]] bool SelectedOnly() const { return selectedOnly_; }

  private:
    void SelectTargets(const Invocation& call, bool allSelects);

    UnitRows units_;
    ConsolePlatform platform_;
    UploadProgress progress_;
    FixedLogin login_;
    ConsoleConfirmForm confirm_;
    DeployContext context_;
    bool selectedOnly_ = true;
    std::string error_;
};

// The exit status and error line for how a deployment ended.
[[nodiscard]] CommandOutcome ReportDeploy(DeployResult result);

}  // namespace vantic::ctl
