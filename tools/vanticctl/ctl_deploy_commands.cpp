// deploy and settings: the program's own deployment on a console.

#include <charconv>
#include <iostream>

#include "core/cpstring.h"
#include "core/cpstringarray.h"
#include "framework/wreg.h"
#include "net/payload_exchange.h"
#include "platform/console_platform.h"
#include "tools/vanticctl/ctl_console_confirm.h"
#include "tools/vanticctl/ctl_handlers.h"
#include "tools/vanticctl/ctl_unit_choice.h"
#include "units/channel_media.h"
#include "units/deploy.h"
#include "units/deploy_interfaces.h"
#include "units/unit_rows.h"
#include "units/upload_progress.h"

namespace vantic::ctl {
namespace {

CommandOutcome Fail(std::string error) {
    return {ExitStatus::Failure, std::move(error)};
}

// The targets: unit numbers to select, or every unit.
struct Targets {
    bool all = false;
    std::vector<std::uint32_t> units;
    std::string error;
};

// --match and --group are resolved against the unit list here; DeployOnConsole
// fetches it again for the deployment itself.
Targets ReadTargets(const Invocation& call) {
    const CtlOptions& options = call.options;
    if (UnitChoiceCount(options) != 1) {
        return {false, {}, std::string(kOneUnitChoice)};
    }
    Targets targets{options.all, {}, {}};
    if (options.all) {
        return targets;
    }
    const FilterChoice chosen = ChosenFilter(options);
    if (!chosen.error.empty()) {
        return {false, {}, chosen.error};
    }
    if (chosen.filter) {
        const FetchResult list = FetchPayload(*call.access, ServerCommand::GetUnitList, kNoUnit);
        if (!list.Ok()) {
            return {
                false, {}, "could not get the unit list from the server at " + call.access->host};
        }
        targets.units = MatchedUnitNumbers(list.Text(), *chosen.filter, targets.error);
        return targets;
    }
    for (const std::string& field : cpStringArray::SplitNew(*options.units, ",")) {
        std::optional<std::uint32_t> unit = ParseUnitNumber(field);
        if (!unit) {
            return {false, {}, "--units takes unit numbers separated by commas"};
        }
        targets.units.push_back(*unit);
    }
    return targets;
}

CommandOutcome Report(DeployResult result) {
    switch (result) {
        case DeployResult::Succeeded:
            return {};
        case DeployResult::Refused:
            return Fail("the deployment was refused");
        case DeployResult::NotConfirmed:
            return Fail("the deployment was not confirmed");
        case DeployResult::Failed:
            break;
    }
    return Fail("the deployment did not complete");
}

}  // namespace

std::optional<int> ReadChannel(std::string_view text) {
    for (int channel = 0; channel < kChannelCount; ++channel) {
        if (text == std::to_string(channel) ||
            EqualsNoCase(text, ChannelNames[static_cast<std::size_t>(channel)])) {
            return channel;
        }
    }
    return std::nullopt;
}

// The unit list as the server shows it to this login, with the targets
// selected, and then the deployment itself.
CommandOutcome DeployOnConsole(const Invocation& call,
                               const std::vector<std::uint32_t>& unitNumbers, DeployRequest request,
                               ClipSource clips) {
    const Targets targets{unitNumbers.empty(), unitNumbers, {}};
    const ServerAccess& access = *call.access;
    const FetchResult list = FetchPayload(access, ServerCommand::GetUnitList, kNoUnit);
    if (!list.Ok()) {
        return Fail("could not get the unit list from the server at " + access.host);
    }
    UnitRows units = UnitRows::FromUnitListReply(list.Text());
    for (std::uint32_t unit : targets.units) {
        if (!units.Select(unit)) {
            return Fail("unit " + std::to_string(unit) + " is not in the unit list");
        }
    }
    ConsolePlatform platform(std::cerr, std::cin, call.options.yes);
    UploadProgress progress(platform);
    FixedLogin login(access);
    ConsoleConfirmForm confirm(std::cerr, std::cin, call.options.yes);
    // The controller's settings store keeps the measured upload rate, and
    // the user's cache folder the media digests, for the controller too.
    WReg settings;
    ChannelMedia media(login, platform.Messages(), platform.Time(), PosixFileService(),
                       DefaultDigestCachePath(), &settings);
    DeployContext context{platform,         kNoWindow,        units, login, progress, confirm,
                          std::move(clips), media.Uploader(), &media};
    if (call.options.dryRun) {
        const std::optional<DeployPreview> preview = PreviewChannelDeploy(context, request.targets);
        if (!preview) {
            return Fail("nothing to preview: the deployment would be refused");
        }
        call.output += DeployPreviewText(*preview);
        return {};
    }
    return Report(Deploy(context, std::move(request)));
}

namespace {

CommandOutcome DeployOnConsole(const Invocation& call, std::optional<EntryList> changeList,
                               ClipSource clips) {
    const Targets targets = ReadTargets(call);
    if (!targets.error.empty()) {
        return Fail(targets.error);
    }
    const DeployTo to = targets.all ? DeployTo::AllUnits() : DeployTo::Selected();
    DeployRequest request = changeList ? DeployRequest::Settings(to, std::move(*changeList))
                                       : DeployRequest::Channel(to);
    return DeployOnConsole(call, targets.units, std::move(request), std::move(clips));
}

}  // namespace

CommandOutcome RunDeploy(const Invocation& call) {
    const CtlOptions& options = call.options;
    if (!options.playlist || !options.channel) {
        return Fail("deploy needs --playlist FILE.PLY and --channel C");
    }
    const std::optional<int> channel = ReadChannel(*options.channel);
    if (!channel) {
        return Fail("--channel takes 0-3 or Video, \"Video - Alt\", \"Audio A\", \"Audio B\"");
    }
    const std::optional<std::string> text = ReadWholeFile(*options.playlist);
    if (!text) {
        return Fail("cannot read " + *options.playlist);
    }
    EntrySet playlist;
    if (!TextToEntrySet(*text, playlist)) {
        return Fail(*options.playlist + " is not a playlist file");
    }
    ChannelClips shown{*channel, std::move(playlist.List(*channel))};
    return DeployOnConsole(call, std::nullopt, [&shown] { return std::optional(shown); });
}

CommandOutcome RunSettings(const Invocation& call) {
    if (call.options.playlist || call.options.channel) {
        return Fail("settings takes no --playlist or --channel");
    }
    EntryList changes;
    for (const std::string& argument : call.arguments) {
        const std::size_t equals = argument.find('=');
        if (equals == std::string::npos || TrimmedView(argument.substr(0, equals)).empty()) {
            return Fail("settings are given as KEY=VALUE, not " + argument);
        }
        changes.push_back(NewSettingEntry(argument.substr(0, equals), argument.substr(equals + 1)));
    }
    return DeployOnConsole(call, std::move(changes), {});
}

}  // namespace vantic::ctl
