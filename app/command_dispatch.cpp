// The main window's commands in action: every menu item, accelerator,
// button, double-click and drop runs one operation of the part of the
// program that owns it.

#include <utility>

#include "app/app.h"
#include "app/dropped_files.h"
#include "app/unit_editing.h"
#include "framework/missing_helper.h"
#include "framework/program_path.h"
#include "reports/activity_report.h"
#include "reports/day_plan.h"

namespace vantic {

// Notifications from the unit list: a double-click edits the unit, a header
// click sorts, each as an operation (ignored while one runs); every one
// ends with the command states. Files dropped here are ignored.
class App::UnitListEvents final : public ListEvents {
  public:
    explicit UnitListEvents(App& app) : app_(app) {}
    void OnHeaderClicked(int column) override {
        app_.StartOperation([this, column] { app_.venue_.SortByColumn(column); });
    }
    void OnDoubleClicked(int row) override {
        app_.StartOperation([this, row] { app_.OnUnitDoubleClicked(row); });
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
        app_.StartOperation([this, row] { app_.OnPlaylistDoubleClicked(row); });
    }
    void OnSelectionChanged() override { app_.UpdateCommandStates(); }
    void OnRowsChanged() override { app_.UpdateCommandStates(); }
    void OnFilesDropped(const std::vector<std::string>& paths) override {
        app_.StartOperation([this, paths] { app_.OnFilesDropped(paths); });
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

// Closing stays on the window's thread: it cancels a running operation and
// waits for its end (see OnCloseRequest).
void App::OnCommand(int commandId) {
    const CommandItem* item = FindCommand(commandId);
    if (item != nullptr && item->id == command::kExit) {
        OnCloseRequest();
        UpdateCommandStates();
        return;
    }
    if (startingUp_) {
        // Posted by the start-up (the login form, the last playlist): they
        // run after the start-up's own operations rather than being refused.
        startingUp_ = item == nullptr || item->id != command::kOpenPlaylist;
        GetPlatform().Operations().Queue([this, commandId] { RunCommand(commandId); });
        if (!startingUp_) {
            // The window is placed and the last playlist open: an update
            // installed now stores both as the operator had them.
            GetPlatform().Operations().Queue([this] { RunUpdateCheck(false, mainWindow_, 1); });
        }
        UpdateCommandStates();
        return;
    }
    StartOperation([this, commandId] { RunCommand(commandId); });
}

void App::StartOperation(Operation operation) {
    if (GetPlatform().Operations().Start(std::move(operation))) {
        UpdateCommandStates();  // disabled while it runs
    }
}

void App::OnOperationEnded() {
    if (quitForUpdate_) {
        views_->MainWindow().PostQuit();
        return;
    }
    if (std::exchange(closeRequested_, false)) {
        OnCloseRequest();
    }
    finding_.ApplyWaitingFilter();
    UpdateCommandStates();
    ShowRefreshStatus();
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
            (void)deployment_.Deploy(DeployToAllRequest());
            break;
        case c::kSelectShownUnits:
            finding_.SelectShownUnits();
            break;
        case c::kSaveGroup:
            finding_.SaveFilterAsGroup();
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
    Operation pressed;
    switch (commandId) {
        case c::kAddMedia:
            pressed = [this] { (void)playlist_.AddClip(); };
            break;
        case c::kDeleteMedia:
            pressed = [this] { playlist_.DeleteSelectedClips(mainWindow_); };
            break;
        case c::kDeployToSelected:
            pressed = [this] {
                (void)deployment_.Deploy(DeployRequest::Channel(DeployTo::Selected()));
            };
            break;
        case c::kDeployToAll:
            pressed = [this] { (void)deployment_.Deploy(DeployToAllRequest()); };
            break;
        case c::kPreviewMedia:
            pressed = [this] { Preview(); };
            break;
        default:
            return;
    }
    views_->MainWindow().ClearFocus();
    // Some list controls report the rows a button changed, some do not; the
    // states are updated when the operation ends, which keeps them right on
    // all of them.
    StartOperation(std::move(pressed));
}

// Closing while an operation runs would empty the lists under it. One that
// shows its progress keeps the window (the operator cancels it there);
// another, waiting for the server, is cancelled as the operator's Cancel
// does, and the window closes once it has ended.
void App::OnCloseRequest() {
    OperationRunner& operations = GetPlatform().Operations();
    if (operations.Running()) {
        if (GetPlatform().Windows().IsEnabled(mainWindow_)) {
            closeRequested_ = true;
            operations.CancelRunning();
        }
        return;
    }
    if (PrepareToClose()) {
        views_->MainWindow().PostQuit();
    }
}

void App::OnTabSelected(int index) {
    if (index < 0) {
        return;
    }
    playlist_.SelectChannel(index);
    UpdateCommandStates();  // the rows shown changed
}

DeployRequest App::DeployToAllRequest() {
    DeployRequest request = DeployRequest::Channel(DeployTo::AllUnits());
    request.targetsNote = finding_.HiddenUnitsNote();
    return request;
}

// The list is filtered at once unless an operation has it; then when it ends.
void App::OnUnitFilterChanged(const std::string& text) {
    finding_.FilterTyped(text, GetPlatform().Operations().Running());
    UpdateCommandStates();  // hidden rows leave the selection
}

// The settings store belongs to a running operation; the menu waits for it.
void App::OnGroupChosen(const std::string& name) {
    if (!GetPlatform().Operations().Running()) {
        finding_.ShowGroup(name);
    }
}

void App::OnGroupDeleteChosen(const std::string& name) {
    StartOperation([this, name] { finding_.DeleteGroup(name); });
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
        // nothing can open is not reported, a missing desktop helper is.
        ShellLauncher& shell = GetPlatform().Shell();
        if (!shell.Open(clip->path, "")) {
            (void)ReportMissingHelper(GetPlatform().Messages(), mainWindow_,
                                      "The media file could not be opened", shell.Missing());
        }
        return;
    }
    GetPlatform().Messages().Show(
        Message{mainWindow_, "Please select a media file in the list...\r\n and press 'Preview'",
                "None Selected", MessageIcon::Warning, MessageButtons::Ok});
}

void App::ShowUserManual() {
    if (std::optional<std::string> manual = FindDocument("UserManual.pdf")) {
        ShellLauncher& shell = GetPlatform().Shell();
        if (!shell.Open(*manual, "")) {
            (void)ReportMissingHelper(GetPlatform().Messages(), mainWindow_,
                                      "The user manual could not be opened", shell.Missing());
        }
    }
}

void App::ShowAbout() {
    const AboutForm form = OpenAboutForm(*this);
    AboutLinks links(*this, GetPlatform().Shell(), GetPlatform().Mail(), GetPlatform().Messages());
    views_->About().RunAboutBox(mainWindow_, form, links);
}

}  // namespace vantic
