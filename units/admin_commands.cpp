#include "units/admin_commands.h"

#include <vector>

#include "core/cpstring.h"
#include "framework/program_path.h"
#include "net/owner_map.h"
#include "net/upload_media.h"

namespace vantic {
namespace {

// Every administration command deploys to the selected units with the
// generic confirmation, and says so when done.
AdminResult DeployToSelected(AdminContext& context, EntryList changes) {
    return Deploy(context.deploy,
                  DeployRequest::Settings(DeployTo::Selected(), std::move(changes)));
}

// Uploads a local file as media; its content name, or none on failure.
// The only message is UploadMedia's own about a file too large.
std::optional<std::string> UploadFile(AdminContext& context, const std::string& path) {
    std::optional<PlayEntry> carrier = MediaCarrier(path);
    if (!carrier) {
        return std::nullopt;
    }
    DeployContext& deploy = context.deploy;
    if (!UploadMedia(deploy.login.Access(), deploy.platform.Messages(), carrier->path,
                     carrier->contentName, nullptr)) {
        return std::nullopt;
    }
    return carrier->contentName;
}

// OK in the crawl form: the text is kept and sent before the interval is
// looked at, so a refused interval leaves the file on the server. The
// login form and the range message open over the crawl form.
std::optional<EntryList> AcceptCrawlForm(AdminContext& context, const CrawlForm& form,
                                         WindowId formWindow) {
    DeployContext& deploy = context.deploy;
    (void)deploy.login.EnsureLogin(formWindow);
    const std::string path = CrawlFilePath();
    // An unwritten file would send the previous text under the new interval.
    if (!ReplaceWholeFile(path, form.text)) {
        return std::nullopt;
    }
    const std::optional<std::string> contentName = UploadFile(context, path);
    if (!contentName) {
        return std::nullopt;
    }
    const long long minutes = RefreshMinutes(form.refresh);
    if (!RefreshInRange(minutes)) {
        deploy.platform.Messages().Show(Message{formWindow, std::string(kRefreshRangeText),
                                                std::string(kRefreshRangeCaption),
                                                MessageIcon::Warning});
        return std::nullopt;
    }
    context.settings.SetInt(kLastCrawlRefreshKey, static_cast<int>(minutes));
    return CrawlChanges(*contentName, minutes);
}

// The unit numbers of the selected rows, read under the unit list's lock.
std::vector<std::uint32_t> SelectedUnits(DeployTargets& units) {
    TargetsHold hold(units);
    std::vector<std::uint32_t> selected;
    for (int row = 0; row < units.ItemCount(); ++row) {
        if (!units.IsSelected(row)) {
            continue;
        }
        if (const std::uint32_t unit = units.UnitNumberAt(row); unit != 0) {
            selected.push_back(unit);
        }
    }
    return selected;
}

}  // namespace

std::string CrawlFilePath() {
    return WritableFilePath(kCrawlFileName);
}

AdminResult SetCrawlText(AdminContext& context) {
    CrawlForm form;
    form.refresh =
        std::to_string(context.settings.GetInt(kLastCrawlRefreshKey, kDefaultCrawlRefresh));
    form.text = ReadWholeFile(CrawlFilePath()).value_or("");
    std::optional<EntryList> changes;
    auto onOk = [&](const CrawlForm& typed, WindowId formWindow) {
        changes = AcceptCrawlForm(context, typed, formWindow);
        return changes.has_value();
    };
    if (!context.forms.RunCrawlForm(context.deploy.mainWindow, form, onOk) || !changes) {
        return std::nullopt;
    }
    return DeployToSelected(context, std::move(*changes));
}

AdminResult EditAdminConfig(AdminContext& context) {
    AdminConfigForm form;
    auto onOk = [](const AdminConfigForm& typed, WindowId) { return !typed.text.empty(); };
    if (!context.forms.RunAdminConfigForm(context.deploy.mainWindow, form, onOk)) {
        return std::nullopt;
    }
    // Even a list of nothing is deployed: each unit's file is rewritten as it was.
    return DeployToSelected(context, AdminConfigChanges(form.text));
}

AdminResult SendNewFirmware(AdminContext& context) {
    FileDialogRequest request;
    request.owner = context.deploy.mainWindow;
    request.title = kFirmwareChooserTitle;
    request.filters = {{std::string(kFirmwareFilterName), std::string(kFirmwareFilterPattern)}};
    request.mustExist = true;
    request.kind = FileKind::Firmware;
    const std::optional<std::string> chosen = context.files.ChooseOpenFile(request);
    if (!chosen) {
        return std::nullopt;
    }
    const std::optional<std::string> contentName = UploadFile(context, *chosen);
    if (!contentName) {
        return std::nullopt;
    }
    return DeployToSelected(context, FirmwareChanges(*contentName));
}

AdminResult SendNewTimezone(AdminContext& context) {
    TimezoneForm form;
    DeployContext& deploy = context.deploy;
    auto onOk = [&deploy](const TimezoneForm&, WindowId formWindow) {
        (void)deploy.login.EnsureLogin(formWindow);
        return true;
    };
    if (!context.forms.RunTimezoneForm(deploy.mainWindow, form, onOk)) {
        return std::nullopt;
    }
    return DeployToSelected(context, TimezoneChanges(form.zone));
}

OwnerResult SetNewOwner(AdminContext& context) {
    DeployContext& deploy = context.deploy;
    const FetchResult table = GetOwnerMap(deploy.login.Access());
    if (!table.Ok()) {
        return OwnerResult::Ended;
    }
    OwnerForm form;
    std::string owner;
    auto onOk = [&owner](const OwnerForm& typed, WindowId) {
        owner = OwnerNameFrom(typed.text);
        return !owner.empty();
    };
    if (!context.forms.RunOwnerForm(deploy.mainWindow, form, onOk) || owner.empty()) {
        return OwnerResult::Ended;
    }
    const std::string text = OwnerTableWith(table.Text(), SelectedUnits(deploy.units), owner);
    if (!ConfirmByTyping(deploy.confirm, deploy.mainWindow, "yes", false)) {
        return OwnerResult::NotConfirmed;
    }
    const bool stored = PutOwnerMap(deploy.login.Access(), text);
    if (context.refreshUnits) {
        context.refreshUnits();
    }
    return stored ? OwnerResult::Stored : OwnerResult::NotStored;
}

}  // namespace vantic
