#include "units/deploy.h"

#include "core/cpstring.h"
#include "net/login_settings.h"
#include "platform/progress_window.h"

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

bool DeployChannel(DeployContext& context, bool selectedOnly, std::uint32_t targets) {
    std::optional<ChannelClips> shown = context.clips ? context.clips() : std::nullopt;
    if (!shown || shown->channel < 0 || shown->channel >= kChannelCount) {
        return false;
    }
    (void)OpenProgress(context, targets + static_cast<std::uint32_t>(shown->clips.size()));
    if (!UploadClipMedia(context, shown->clips)) {
        return false;
    }
    return ApplyToUnits(context, selectedOnly, shown->channel, std::move(shown->clips));
}

}  // namespace

DeployResult Deploy(DeployContext& context, bool selectedOnly, std::optional<EntryList> changeList,
                    bool channelConfirmation, bool quiet) {
    const int count = selectedOnly ? context.units.SelectedCount() : context.units.ItemCount();
    if (!PassesChecks(context, selectedOnly)) {
        return DeployResult::Refused;
    }
    if (!quiet &&
        !ConfirmByTyping(context.confirm, context.mainWindow, "yes", channelConfirmation)) {
        return DeployResult::NotConfirmed;
    }
    const auto targets = static_cast<std::uint32_t>(count);
    const bool done = changeList
                          ? DeploySettings(context, selectedOnly, targets, std::move(*changeList))
                          : DeployChannel(context, selectedOnly, targets);
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
