#pragma once

// Deployment: the one way anything reaches the units. The controller never
// talks to a unit; it rewrites each target unit's instruction file on the
// distribution server, and the unit picks the change up at its next
// call-in. A channel deployment puts the shown channel's clips (their media
// first made present on the server) in place of that channel's list; a
// settings deployment merges a change list into the units' settings.
//
// Targets are the selected units or all units of the unit list. The
// operator confirms by typing a word, watches an overall bar and a per-unit
// bar, can cancel at any step, and hears of success once at the end. The
// first failure stops the deployment: units done keep their new files,
// the others their old ones, and nothing is rolled back.

#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/platform.h"
#include "units/confirm_form.h"
#include "units/deploy_interfaces.h"
#include "units/deploy_preview.h"

namespace vantic {

class ChannelMedia;

// What a deployment works with. The references must outlive the call.
struct DeployContext {
    Platform& platform;               // messages and the clock (the spacing between units)
    WindowId mainWindow = kNoWindow;  // owns the checks' messages and the progress dialog
    DeployTargets& units;
    RequestLogin& login;
    OperationProgress& progress;
    ConfirmFormView& confirm;
    ClipSource clips;           // channel deployments only
    MediaUploader uploadMedia;  // channel deployments only
    // Channel deployments: when set, the typed confirmation shows the
    // deployment preview above its prompt.
    ChannelMedia* media = nullptr;
};

// How a deployment ended. The operator has been told (or, after a cancel,
// deliberately not); the result is for callers that report further, such
// as a command line's exit status.
enum class DeployResult {
    Succeeded,
    Refused,       // a check failed before anything was asked
    NotConfirmed,  // the typed confirmation was cancelled
    Failed,        // a step failed or the operator cancelled the progress
};

// The pause after each unit, which spaces the requests to the server.
inline constexpr int kUnitSpacingMs = 50;

// The units a deployment reaches: the rows selected in the unit list, every
// row, or the row of one unit named by its number.
class DeployTo {
  public:
    [[nodiscard]] static DeployTo Selected() { return DeployTo(Kind::Selected, 0); }
    [[nodiscard]] static DeployTo AllUnits() { return DeployTo(Kind::All, 0); }
    [[nodiscard]] static DeployTo Unit(std::uint32_t unit) { return DeployTo(Kind::Unit, unit); }

    [[nodiscard]] bool IsAll() const { return kind_ == Kind::All; }
    [[nodiscard]] bool IsSelected() const { return kind_ == Kind::Selected; }
    // Whether row is a target; call it under the unit list's lock.
    [[nodiscard]] bool Includes(DeployTargets& units, int row) const;

  private:
    enum class Kind { Selected, All, Unit };
    DeployTo(Kind kind, std::uint32_t unit) : kind_(kind), unit_(unit) {}
    Kind kind_;
    std::uint32_t unit_;  // Kind::Unit: its number
};

// How the typed confirmation reads: the channel wording says that only the
// shown channel's playlist changes.
enum class ConfirmWording { Channel, Plain };

// One deployment, as its caller asks for it.
struct DeployRequest {
    DeployTo targets = DeployTo::Selected();
    // The settings change list to merge (the deployment's own, going with
    // it); none deploys the shown channel's clips.
    std::optional<EntryList> changes;
    ConfirmWording confirmation = ConfirmWording::Channel;
    // No typed confirmation and no success message; failures are still shown.
    bool quiet = false;
    // A line about the targets the confirmation shows first (empty: none),
    // such as the units a filter hides from the list.
    std::string targetsNote = {};

    // The shown channel's clips, confirmed in the channel wording.
    [[nodiscard]] static DeployRequest Channel(DeployTo targets) {
        return {targets, std::nullopt, ConfirmWording::Channel, false};
    }
    // A settings change list, confirmed in the plain wording.
    [[nodiscard]] static DeployRequest Settings(DeployTo targets, EntryList changes) {
        return {targets, std::move(changes), ConfirmWording::Plain, false};
    }
    // The same request, made quiet.
    [[nodiscard]] DeployRequest Quiet() && {
        quiet = true;
        return std::move(*this);
    }
};

// The single entry point. Without a change list, deploys the shown
// channel's clips; with one, merges it into the units' settings.
DeployResult Deploy(DeployContext& context, DeployRequest request);

// What a channel deployment would do, without doing it: the same checks
// as Deploy (a refusal shown as Deploy shows it), then the preview that
// Deploy would show. None when a check fails, the clips cannot be had, the
// context has no media or the operator cancels while the files were read.
[[nodiscard]] std::optional<DeployPreview> PreviewChannelDeploy(DeployContext& context,
                                                                const DeployTo& targets);

// The media phase of a channel deployment on the open progress dialog:
// asks before deploying an empty list, makes sure of the login, then has
// each clip's media made present on the server (setting its content name),
// one overall step per clip.
[[nodiscard]] bool UploadClipMedia(DeployContext& context, EntryList& clips);

// The per-unit pass on the open progress dialog, under the unit list's
// lock: for each target unit, download its instruction file, change list
// listIndex with entries (4: merge settings; 0-3: replace the channel),
// and upload it; three item steps and one overall step per unit.
[[nodiscard]] bool ApplyToUnits(DeployContext& context, const DeployTo& targets, int listIndex,
                                EntryList entries);

}  // namespace vantic
