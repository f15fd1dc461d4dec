#include "units/deploy.h"

#include "core/cpstring.h"
#include "net/login_settings.h"
#include "platform/progress_window.h"
#include "units/channel_media.h"

namespace vantic {
namespace {

namespace layout = progress_layout;

void Warn(DeployContext& context, std::string_view text, std::string_view caption) {
    context.platform.Messages().Show(
        Message{context.mainWindow, std::string(text), std::string(caption), MessageIcon::Warning});
}

// The checks that come before anything is asked, in their order; false
// (with the reason shown) when the deployment may not go on.
bool PassesChecks(DeployContext& context, bool selectedOnly) {
    if (!selectedOnly && IsAdministratorLogin(context.login.Access().loginName)) {
        Warn(context, "Deploy-To-All not allowed as Admin user!!", "Not Allowed");
        return false;
    }
    if (context.units.ItemCount() == 0) {
        Warn(context, "Please check your user name and password.", "No player units in list!");
        return false;
    }
    if (selectedOnly && context.units.SelectedCount() == 0) {
        Warn(context, "No player units selected!", "No Units Selected For Deployment");
        return false;
    }
    return true;
}

bool OpenProgress(DeployContext& context, std::uint32_t overallMax) {
    return context.progress.Open(context.mainWindow, layout::kOperation, layout::kOverallBar,
                                 layout::kOverallLabel, overallMax);
}

bool DeploySettings(DeployContext& context, bool selectedOnly, std::uint32_t targets,
                    EntryList changeList) {
    (void)OpenProgress(context, targets);
    return ApplyToUnits(context, selectedOnly, kSettingKind, std::move(changeList));
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
std::vector<std::uint32_t> TargetUnits(DeployContext& context, bool selectedOnly) {
    TargetsHold hold(context.units);
    std::vector<std::uint32_t> units;
    const int count = context.units.ItemCount();
    for (int row = 0; row < count; ++row) {
        if (!selectedOnly || context.units.IsSelected(row)) {
            units.push_back(context.units.UnitNumberAt(row));
        }
    }
    return units;
}

// The preview, with the files it reads shown on the progress dialog, which
// closes again before the confirmation; none when the operator cancels there.
std::optional<DeployPreview> PreviewOf(DeployContext& context, bool selectedOnly,
                                       const ChannelClips& shown) {
    const bool onDialog = context.media->PreviewReadsFiles(shown.clips);
    if (onDialog) {  // (Open's answer is the cancel flag, false on a fresh dialog)
        (void)OpenProgress(context, static_cast<std::uint32_t>(shown.clips.size()));
    }
    std::optional<DeployPreview> preview =
        context.media->Preview(shown.channel, TargetUnits(context, selectedOnly), shown.clips,
                               onDialog ? &context.progress : nullptr);
    if (onDialog) {
        context.progress.Close();
    }
    return preview;
}

bool DeployChannel(DeployContext& context, bool selectedOnly, std::uint32_t targets,
                   std::optional<ChannelClips> shown) {
    if (!shown) {
        shown = ShownClips(context);
    }
    if (!shown) {
        return false;
    }
    (void)OpenProgress(context, targets + static_cast<std::uint32_t>(shown->clips.size()));
    if (!UploadClipMedia(context, shown->clips)) {
        return false;
    }
    return ApplyToUnits(context, selectedOnly, shown->channel, std::move(shown->clips));
}

}  // namespace

std::optional<DeployPreview> PreviewChannelDeploy(DeployContext& context, bool selectedOnly) {
    if (context.media == nullptr || !PassesChecks(context, selectedOnly)) {
        return std::nullopt;
    }
    const std::optional<ChannelClips> shown = ShownClips(context);
    if (!shown) {
        return std::nullopt;
    }
    return PreviewOf(context, selectedOnly, *shown);
}

DeployResult Deploy(DeployContext& context, bool selectedOnly, std::optional<EntryList> changeList,
                    bool channelConfirmation, bool quiet) {
    const int count = selectedOnly ? context.units.SelectedCount() : context.units.ItemCount();
    if (!PassesChecks(context, selectedOnly)) {
        return DeployResult::Refused;
    }
    // With a preview, the clips are copied before the confirmation, and
    // those copies are deployed.
    std::optional<ChannelClips> shown;
    std::string preview;
    if (!changeList && !quiet && context.media != nullptr) {
        shown = ShownClips(context);
        if (shown) {
            const std::optional<DeployPreview> seen = PreviewOf(context, selectedOnly, *shown);
            if (!seen) {
                return DeployResult::NotConfirmed;  // cancelled while the files were read
            }
            preview = DeployPreviewText(*seen);
        }
    }
    if (!quiet && !ConfirmByTyping(context.confirm, context.mainWindow, "yes", channelConfirmation,
                                   std::move(preview))) {
        return DeployResult::NotConfirmed;
    }
    const auto targets = static_cast<std::uint32_t>(count);
    const bool done = changeList
                          ? DeploySettings(context, selectedOnly, targets, std::move(*changeList))
                          : DeployChannel(context, selectedOnly, targets, std::move(shown));
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
