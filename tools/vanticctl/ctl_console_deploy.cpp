#include "tools/vanticctl/ctl_console_deploy.h"

#include <charconv>

#include "core/cpstring.h"
#include "core/cpstringarray.h"
#include "net/payload_exchange.h"
#include "tools/vanticctl/ctl_unit_choice.h"

namespace vantic::ctl {
ConsoleDeployer::ConsoleDeployer(const Invocation& call, ClipSource clips, bool allSelects)
    : platform_(std::cerr, std::cin, call.options.yes),
      progress_(platform_),
      login_(*call.access),
      confirm_(std::cerr, std::cin, call.options.yes),
      context_{platform_,        kNoWindow,
               units_,           login_,
               progress_,        confirm_,
               std::move(clips), ServerMediaUploader(login_, platform_.Messages())} {
    SelectTargets(call, allSelects);
}

void ConsoleDeployer::SelectTargets(const Invocation& call, bool allSelects) {
    const CtlOptions& options = call.options;
    if (UnitChoiceCount(options) != 1) {
        error_ = kOneUnitChoice;
        return;
    }
    const FilterChoice chosen = ChosenFilter(options);
    if (!chosen.error.empty()) {
        error_ = chosen.error;
        return;
    }
    std::vector<std::uint32_t> wanted;
    if (options.units) {
        for (const std::string& field : cpStringArray::SplitNew(*options.units, ",")) {
            std::optional<std::uint32_t> unit = ParseUnitNumber(field);
            if (!unit) {
                error_ = "--units takes unit numbers separated by commas";
                return;
            }
            wanted.push_back(*unit);
        }
    }
    const FetchResult list = FetchPayload(*call.access, ServerCommand::GetUnitList, kNoUnit);
    if (!list.Ok()) {
        error_ = "could not get the unit list from the server at " + call.access->host;
        return;
    }
    units_ = UnitRows::FromUnitListReply(list.Text());
    if (chosen.filter) {
        wanted = MatchedUnitNumbers(list.Text(), *chosen.filter, error_);
        if (!error_.empty()) {
            return;
        }
    }
    if (options.all) {
        selectedOnly_ = allSelects;
        wanted = allSelects ? units_.Units() : std::vector<std::uint32_t>{};
    }
    for (std::uint32_t unit : wanted) {
        if (!units_.Select(unit)) {
            error_ = "unit " + std::to_string(unit) + " is not in the unit list";
            return;
        }
    }
}

CommandOutcome ReportDeploy(DeployResult result) {
    switch (result) {
        case DeployResult::Succeeded:
            return {};
        case DeployResult::Refused:
            return {ExitStatus::Failure, "the deployment was refused"};
        case DeployResult::NotConfirmed:
            return {ExitStatus::Failure, "the deployment was not confirmed"};
        case DeployResult::Failed:
            break;
    }
    return {ExitStatus::Failure, "the deployment did not complete"};
}

}  // namespace vantic::ctl
