#include "units/deploy.h"

#include "core/cpstring.h"
#include "net/login_settings.h"
#include "platform/operation_progress.h"
#include "units/channel_media.h"

namespace vantic {
namespace {

void Warn(DeployContext& context, std::string_view text, std::string_view caption) {
    context.platform.Messages().Show(
        Message{context.mainWindow, std::string(text), std::string(caption), MessageIcon::Warning});
}

// The number of target rows; a named unit's are counted under the list's lock.
int CountTargets(DeployContext& context, const DeployTo& targets) {
    if (targets.IsAll()) {
        return context.units.ItemCount();
    }
    if (targets.IsSelected()) {
        return context.units.SelectedCount();
    }
    TargetsHold hold(context.units);
    const int rows = context.units.ItemCount();
    int count = 0;
    for (int row = 0; row < rows; ++row) {
        count += targets.Includes(context.units, row) ? 1 : 0;
    }
    return count;
}

// The checks that come before anything is asked, in their order; false
// (with the reason shown) when the deployment may not go on. A named unit
// no longer in the list counts as nothing selected.
bool PassesChecks(DeployContext& context, const DeployTo& targets) {
    if (targets.IsAll() && IsAdministratorLogin(context.login.Access().loginName)) {
        Warn(context, "Deploy-To-All not allowed as Admin user!!", "Not Allowed");
        return false;
    }
    if (context.units.ItemCount() == 0) {
        Warn(context, "Please check your user name and password.", "No player units in list!");
        return false;
    }
    if (!targets.IsAll() && CountTargets(context, targets) == 0) {
        Warn(context, "No player units selected!", "No Units Selected For Deployment");
        return false;
    }
    return true;
}

bool OpenProgress(DeployContext& context, std::uint32_t overallMax) {
    return context.progress.Open(context.mainWindow, ProgressLayout::Operation, overallMax);
}

bool DeploySettings(DeployContext& context, const DeployTo& targets, std::uint32_t count,
                    EntryList changeList) {
    (void)OpenProgress(context, count);
    return ApplyToUnits(context, targets, kSettingKind, std::move(changeList));
}

// Copies of the shown channel's clips; none when they cannot be had.
std::optional<ChannelClips> ShownClips(DeployContext& context) {
    std::optional<ChannelClips> shown = context.clips ? context.clips() : std::nullopt;
    if (!shown || shown->channel < 0 || shown->channel >= kChannelCount) {
        return std::nullopt;
    }
    return shown;
}

// The targets' unit numbers in list order, read under the list's lock.
std::vector<std::uint32_t> TargetUnits(DeployContext& context, const DeployTo& targets) {
    TargetsHold hold(context.units);
    std::vector<std::uint32_t> units;
    const int count = context.units.ItemCount();
    for (int row = 0; row < count; ++row) {
        if (targets.Includes(context.units, row)) {
            units.push_back(context.units.UnitNumberAt(row));
        }
    }
    return units;
}

// The preview, with the files it reads shown on the progress dialog, which
// closes again before the confirmation; none when the operator cancels there.
std::optional<DeployPreview> PreviewOf(DeployContext& context, const DeployTo& targets,
                                       const ChannelClips& shown) {
    const bool onDialog = context.media->PreviewReadsFiles(shown.clips);
    if (onDialog) {  // (Open's answer is the cancel flag, false on a fresh dialog)
        (void)OpenProgress(context, static_cast<std::uint32_t>(shown.clips.size()));
    }
    std::optional<DeployPreview> preview =
        context.media->Preview(shown.channel, TargetUnits(context, targets), shown.clips,
                               onDialog ? &context.progress : nullptr);
    if (onDialog) {
        context.progress.Close();
    }
    return preview;
}

bool DeployChannel(DeployContext& context, const DeployTo& targets, std::uint32_t count,
                   std::optional<ChannelClips> shown) {
    if (!shown) {
        shown = ShownClips(context);
    }
    if (!shown) {
        return false;
    }
    (void)OpenProgress(context, count + static_cast<std::uint32_t>(shown->clips.size()));
    if (!UploadClipMedia(context, shown->clips)) {
        return false;
    }
    return ApplyToUnits(context, targets, shown->channel, std::move(shown->clips));
}

}  // namespace

std::optional<DeployPreview> PreviewChannelDeploy(DeployContext& context, const DeployTo& targets) {
    if (context.media == nullptr || !PassesChecks(context, targets)) {
        return std::nullopt;
    }
    const std::optional<ChannelClips> shown = ShownClips(context);
    if (!shown) {
        return std::nullopt;
    }
    return PreviewOf(context, targets, *shown);
}

DeployResult Deploy(DeployContext& context, DeployRequest request) {
    const DeployTo& targets = request.targets;
    const int count = CountTargets(context, targets);
    if (!PassesChecks(context, targets)) {
        return DeployResult::Refused;
    }
    const bool quiet = request.quiet;
    // With a preview, the clips are copied before the confirmation, and
    // those copies are deployed.
    std::optional<ChannelClips> shown;
    std::string preview;
    if (!request.changes && !quiet && context.media != nullptr) {
        shown = ShownClips(context);
        if (shown) {
            const std::optional<DeployPreview> seen = PreviewOf(context, targets, *shown);
            if (!seen) {
                return DeployResult::NotConfirmed;  // cancelled while the files were read
            }
            preview = DeployPreviewText(*seen);
        }
    }
    if (!request.targetsNote.empty()) {
        preview = request.targetsNote + (preview.empty() ? "\n" : "\n\n" + preview);
    }
    const bool channelWording = request.confirmation == ConfirmWording::Channel;
    if (!quiet && !ConfirmByTyping(context.confirm, context.mainWindow, "yes", channelWording,
                                   std::move(preview))) {
        return DeployResult::NotConfirmed;
    }
    const auto counted = static_cast<std::uint32_t>(count);
    const bool done = request.changes
                          ? DeploySettings(context, targets, counted, std::move(*request.changes))
                          : DeployChannel(context, targets, counted, std::move(shown));
    context.progress.Close();
    if (!done) {
        return DeployResult::Failed;
    }
    if (!quiet) {
        context.platform.Messages().Show(Message{context.mainWindow,
                                                 "The deployment completed successfully", "SUCCESS",
                                                 MessageIcon::None});
    }
    return DeployResult::Succeeded;
}

}  // namespace vantic
