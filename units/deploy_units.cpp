// The per-unit pass of a deployment: each target unit's instruction file is
// downloaded, changed and uploaded whole, under the unit list's lock so
// that a background refresh cannot add or reorder rows meanwhile.

#include "core/cpstring.h"
#include "net/payload_exchange.h"
#include "platform/operation_progress.h"
#include "platform/request_pause.h"
#include "units/deploy.h"
#include "units/instruction_change.h"

namespace vantic {
namespace {

constexpr std::uint32_t kStepsPerUnit = 3;

constexpr const char* kDecryptFailed =
    "Unable to decrypt server's instruction file\r\n"
    "Contact your system administrator if this persists.";
constexpr const char* kDownloadFailed = "Error downloading server's instruction file";
constexpr const char* kParseFailed =
    "Unable to parse server's instruction file\r\n"
    "Contact your system administrator if this persists.";
constexpr const char* kUploadFailed = "Unable to upload instruction file";

void ShowError(DeployContext& context, const char* text, std::string cause = {}) {
    Message message{context.progress.Dialog(), text, "Error Deploying", MessageIcon::Error};
    message.details = std::move(cause);
    context.platform.Messages().Show(message);
}

void ShowStatus(DeployContext& context, std::uint32_t unit, const char* step) {
    context.progress.SetLine(ProgressLine::Status, FormatNew("Media Player #%u - %s", unit, step));
}

// The unit's new instruction text from its downloaded file; none, with the
// failure shown where there is one to show, when it cannot be made.
std::optional<std::string> RewrittenText(DeployContext& context, const FetchResult& file,
                                         int listIndex, EntryList& entries) {
    switch (file.outcome) {
        case FetchOutcome::Undecryptable:
            ShowError(context, kDecryptFailed, file.cause);
            return std::nullopt;
        case FetchOutcome::Failed:
            ShowError(context, kDownloadFailed, file.cause);
            return std::nullopt;
        case FetchOutcome::Absent:  // a unit without a file starts from empty lists
        case FetchOutcome::Ok:
            break;
    }
    EntrySet set;
    if (!TextToEntrySet(file.Text(), set)) {
        ShowError(context, kParseFailed);
        return std::nullopt;
    }
    return ChangedInstructionText(set, listIndex, entries);
}

// One unit, start to finish; false when the pass must stop.
bool ApplyToUnit(DeployContext& context, std::uint32_t unit, int listIndex, EntryList& entries) {
    OperationProgress& progress = context.progress;
    ShowStatus(context, unit, "Downloading Configuration");
    (void)progress.StartItem(kStepsPerUnit);
    if (!context.login.EnsureLogin(progress.Dialog())) {
        return false;
    }
    const ServerAccess access = context.login.Access();
    const auto unitArgument = static_cast<std::int32_t>(unit);
    const FetchResult file = FetchPayload(access, ServerCommand::GetInstructionFile, unitArgument);

    ShowStatus(context, unit, "Modifying Configuration");
    if (progress.StepItem()) {
        return false;
    }
    std::optional<std::string> text = RewrittenText(context, file, listIndex, entries);
    if (!text) {
        return false;
    }

    ShowStatus(context, unit, "Uploading New Configuration");
    if (progress.StepItem()) {
        return false;
    }
    std::string cause;
    if (!StorePayload(access, ServerCommand::PutInstructionFile, unitArgument,
                      std::string_view(*text), cause)) {
        ShowError(context, kUploadFailed, std::move(cause));
        return false;
    }
    if (progress.StepItem()) {
        return false;
    }
    (void)progress.FinishItem();
    // Spaces the requests to the server; the window paints meanwhile.
    PauseAsRequest(context.platform.Time(), kUnitSpacingMs);
    return !progress.StepOverall();
}

}  // namespace

bool DeployTo::Includes(DeployTargets& units, int row) const {
    switch (kind_) {
        case Kind::Selected:
            return units.IsSelected(row);
        case Kind::All:
            return true;
        case Kind::Unit:
            return units.UnitNumberAt(row) == unit_;
    }
    return false;
}

bool ApplyToUnits(DeployContext& context, const DeployTo& targets, int listIndex,
                  EntryList entries) {
    TargetsHold hold(context.units);
    const int rows = context.units.ItemCount();
    for (int row = 0; row < rows; ++row) {
        if (!targets.Includes(context.units, row)) {
            // Keeps the interface alive across long stretches of other rows.
            if (context.progress.PumpMessages()) {
                return false;
            }
            continue;
        }
        const std::uint32_t unit = context.units.UnitNumberAt(row);
        if (!ApplyToUnit(context, unit, listIndex, entries)) {
            return false;
        }
    }
    return true;
}

}  // namespace vantic
