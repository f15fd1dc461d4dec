// deploy and settings: the program's own deployment on a console.

#include "core/cpstring.h"
#include "tools/vanticctl/ctl_console_deploy.h"
#include "tools/vanticctl/ctl_handlers.h"

namespace vantic::ctl {
namespace {

CommandOutcome Fail(std::string error) {
    return {ExitStatus::Failure, std::move(error)};
}

// Channel 0-3, by number or by name.
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
CommandOutcome DeployOnConsole(const Invocation& call, std::optional<EntryList> changeList,
                               ClipSource clips) {
    ConsoleDeployer deployer(call, std::move(clips), false);
    if (!deployer.Error().empty()) {
        return Fail(deployer.Error());
    }
    const bool channel = !changeList;
    return ReportDeploy(
        Deploy(deployer.Context(), deployer.SelectedOnly(), std::move(changeList), channel, false));
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
