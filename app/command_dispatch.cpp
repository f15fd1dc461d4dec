// The main window's commands in action: every menu item, accelerator,
// button, double-click and drop runs one operation of the part of the
// program that owns it.

#include "app/app.h"
#include "app/dropped_files.h"
#include "app/unit_editing.h"
#include "framework/program_path.h"
#include "reports/activity_report.h"
#include "reports/day_plan.h"

namespace vantic {

// Notifications from the unit list: a double-click edits the unit, a header
// click sorts; every one ends with the command states. Files dropped here
// are ignored.
class App::UnitListEvents final : public ListEvents {
  public:
    explicit UnitListEvents(App& app) : app_(app) {}
    void OnHeaderClicked(int column) override {
        app_.venue_.SortByColumn(column);
        app_.UpdateCommandStates();
    }
    void OnDoubleClicked(int row) override {
        app_.OnUnitDoubleClicked(row);
        app_.UpdateCommandStates();
    }
    void OnSelectionChanged() override { app_.UpdateCommandStates(); }
    void OnRowsChanged() override { app_.UpdateCommandStates(); }

  private:
    App& app_;
};

class App::PlaylistEvents final : public ListEvents {
  public:
    explicit PlaylistEvents(App& app) : app_(app) {}
    void OnHeaderClicked(int /*column*/) override { app_.UpdateCommandStates(); }
    void OnDoubleClicked(int row) override {
        app_.OnPlaylistDoubleClicked(row);
        app_.UpdateCommandStates();
    }
    void OnSelectionChanged() override { app_.UpdateCommandStates(); }
    void OnRowsChanged() override { app_.UpdateCommandStates(); }
    void OnFilesDropped(const std::vector<std::string>& paths) override {
        app_.OnFilesDropped(paths);
        app_.UpdateCommandStates();
    }

  private:
    App& app_;
};

std::unique_ptr<ListEvents> App::NewUnitListEvents() {
    return std::make_unique<UnitListEvents>(*this);
}

std::unique_ptr<ListEvents> App::NewPlaylistEvents() {
    return std::make_unique<PlaylistEvents>(*this);
}

void App::OnCommand(int commandId) {
    if (InsideWait()) {
        return;
    }
    RunCommand(commandId);
    UpdateCommandStates();
}

void App::RunCommand(int commandId) {
    namespace c = command;
    const CommandItem* item = FindCommand(commandId);
    if (item == nullptr) {
        return;
    }
    switch (item->id) {
        case c::kNewPlaylist:
        case c::kClosePlaylist:
            (void)playlist_.Close();
            break;
        case c::kOpenPlaylist:
            (void)playlist_.Open();
            break;
        case c::kOpenUnitPlaylist:
            if (playlist_.Close()) {
                venue_.OpenSelectedUnitPlaylist(mainWindow_, playlist_);
            }
            break;
        case c::kSavePlaylist:
            (void)playlist_.Save();
            break;
        case c::kSavePlaylistAs:
            (void)playlist_.SaveAs();
            break;
        case c::kExit:
            OnCloseRequest();
            break;
        case c::kAddMedia:
            (void)playlist_.AddClip();
            break;
        case c::kEditUnit:
            (void)EditSelectedUnit(
                UnitEditing{GetPlatform(), venue_, views_->UnitEditor(), deployment_, mainWindow_});
            break;
        case c::kDeleteMedia:
            playlist_.DeleteSelectedClips(mainWindow_);
            break;
        case c::kEditMedia:
            if (playlist_.SelectedCount() > 0) {
                (void)playlist_.EditClip();
            }
            break;
        case c::kMoveMediaUp:
            playlist_.MoveClipsUp();
            break;
        case c::kMoveMediaDown:
            playlist_.MoveClipsDown();
            break;
        case c::kDeployToAll:
            (void)deployment_.Deploy(DeployRequest::Channel(DeployTo::AllUnits()));
            break;
        case c::kDeployToSelected:
            (void)deployment_.Deploy(DeployRequest::Channel(DeployTo::Selected()));
            break;
        case c::kLoginInfo:
            (void)serverLogin_.ShowLoginForm(mainWindow_);
            break;
        case c::kCrawlText:
            (void)SetCrawlText(admin_);
            break;
        case c::kAdminConfig:
            (void)EditAdminConfig(admin_);
            break;
        case c::kNewFirmware:
            if (serverLogin_.EnsureLogin(mainWindow_)) {
                (void)SendNewFirmware(admin_);
            }
            break;
        case c::kNewTimezone:
            (void)SendNewTimezone(admin_);
            break;
        case c::kNewOwner:
            if (serverLogin_.EnsureLogin(mainWindow_)) {
                (void)SetNewOwner(admin_);
            }
            break;
        case c::kStatusReport:
            statusReports_.Generate(Reports(), views_->ReportDates());
            break;
        case c::kAbout:
            ShowAbout();
            break;
        case c::kUserManual:
            ShowUserManual();
            break;
        case c::kCheckForUpdates:
            RunUpdateCheck(true, mainWindow_, 1);
            break;
        case c::kActivityReport:
            if (const ListControl* units = venue_.Control()) {
                GenerateActivityReport(Reports(), *units);
            }
            break;
        case c::kDayPlan:
            ShowDayPlan(views_->DayPlan(), mainWindow_, playlist_.DocumentEntries(),
                        playlist_.FilePath(), playlist_.Channel(),
                        DateOf(GetPlatform().Time().LocalNow()));
            break;
        default:
            break;
    }
}

void App::OnButton(int commandId) {
    namespace c = command;
    if (InsideWait()) {
        return;
    }
    switch (commandId) {
        case c::kAddMedia:
            (void)playlist_.AddClip();
            break;
        case c::kDeleteMedia:
            playlist_.DeleteSelectedClips(mainWindow_);
            break;
        case c::kDeployToSelected:
            (void)deployment_.Deploy(DeployRequest::Channel(DeployTo::Selected()));
            break;
        case c::kDeployToAll:
            (void)deployment_.Deploy(DeployRequest::Channel(DeployTo::AllUnits()));
            break;
        case c::kPreviewMedia:
            Preview();
            break;
        default:
            return;
    }
    views_->MainWindow().ClearFocus();
    // Some list controls report the rows a button changed, some do not;
    // updating here keeps the states right on all of them.
    UpdateCommandStates();
}

void App::OnCloseRequest() {
    if (Busy()) {
        return;  // the operator closes once the operation has ended or was cancelled
    }
    if (PrepareToClose()) {
        views_->MainWindow().PostQuit();
    }
}

// A progress dialog disables the main window while its operation runs, and
// a wait for the unit list runs nested in the message loop. Closing then
// would empty the lists under the running pass, or ask the save question
// inside that nested loop.
bool App::Busy() {
    return InsideWait() || !GetPlatform().Windows().IsEnabled(mainWindow_);
}

// Dispatched inside a wait for the unit list or for the server's answer, a
// command would run nested in it, in the middle of the operation waiting.
bool App::InsideWait() {
    return venue_.Waiting() || GetPlatform().Blocking().Waiting();
}

void App::OnTabSelected(int index) {
    if (index < 0) {
        return;
    }
    playlist_.SelectChannel(index);
    UpdateCommandStates();  // the rows shown changed
}

void App::OnUnitDoubleClicked(int row) {
    if (row >= 0) {
        RunCommand(command::kEditUnit);
    }
}

void App::OnPlaylistDoubleClicked(int row) {
    if (row < 0) {
        (void)playlist_.AddClip();
    } else {
        (void)playlist_.EditClip();
    }
}

void App::OnFilesDropped(const std::vector<std::string>& paths) {
    for (const DropAction& action : RouteDroppedFiles(paths)) {
        if (action.kind == DropAction::Kind::OpenPlaylist) {
            (void)playlist_.OpenFile(action.path);
        } else {
            (void)playlist_.AddFile(action.path);  // other than media: ignored
        }
    }
}

void App::Preview() {
    if (const PlayEntry* clip = playlist_.ClipAt(playlist_.FirstSelected())) {
        // The media plays in whatever program the desktop gives it; a file
        // nothing can open is not reported.
        (void)GetPlatform().Shell().Open(clip->path, "");
        return;
    }
    GetPlatform().Messages().Show(
        Message{mainWindow_, "Please select a media file in the list...\r\n and press 'Preview'",
                "None Selected", MessageIcon::Warning, MessageButtons::Ok});
}

void App::ShowUserManual() {
    if (std::optional<std::string> manual = FindDocument("UserManual.pdf")) {
        (void)GetPlatform().Shell().Open(*manual, "");
    }
}

void App::ShowAbout() {
    const AboutForm form = OpenAboutForm(*this);
    AboutLinks links(*this, GetPlatform().Shell(), GetPlatform().Mail());
    views_->About().RunAboutBox(mainWindow_, form, links);
}

}  // namespace vantic
