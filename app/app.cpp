#include "app/app.h"

#include "app/dropped_files.h"
#include "app/programpath.h"
#include "app/worker.h"
#include "core/cpstring.h"
#include "playlist/playentry.h"

namespace vantic {

namespace {

// The literal the single-instance search uses (equal to ProductName()).
constexpr const char* kWindowClass = "Vantic Controller";
constexpr const char* kMainWindowTitle = "Vantic Controller 4.1";
constexpr int kSplashSeconds = 2;
constexpr int kCloseWaitMs = 2000;

void ShowStartupError(Platform& platform, std::string text, std::string caption) {
    platform.Messages().Show(Message{kNoWindow, std::move(text), std::move(caption),
                                     MessageIcon::Error, MessageButtons::Ok});
}

ListState StateOf(const WListView& list) {
    ListState state;
    state.rows = list.ItemCount();
    state.anySelected = list.SelectedCount() > 0;
    state.firstSelected = state.rows > 0 && list.IsSelected(0);
    state.lastSelected = state.rows > 0 && list.IsSelected(state.rows - 1);
    return state;
}

}  // namespace

// Notifications from the unit list: double-click edits the unit, a header
// click sorts; every one ends with the command states.
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
    // Files dropped outside the playlist list are ignored.

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

App::App(std::unique_ptr<Platform> platform, std::unique_ptr<AppViews> views)
    : WApp(std::move(platform)),
      views_(std::move(views)),
      sizer_(GetPlatform().Geometry()),
      playlist_(GetPlatform().Messages()),
      venue_(GetPlatform().Messages()),
      unitEvents_(std::make_unique<UnitListEvents>(*this)),
      playlistEvents_(std::make_unique<PlaylistEvents>(*this)),
      workerLock_(std::make_unique<WMutex>()) {}

App::~App() {
    refreshTimer_.reset();
    for (ListControl* list : {venue_.Control(), playlist_.Control()}) {
        if (list != nullptr) {
            list->SetEvents(nullptr);
        }
    }
}

void App::Run() {
    InstanceGuard& instances = views_->Instances();
    if (instances.ActivateRunning(kWindowClass)) {
        return;
    }
    instances.Claim(kWindowClass, [this] {
        if (mainWindow_ != kNoWindow) {
            views_->MainWindow().BringToFront();
        }
    });
    if (!RequireKeyFile() || !CreateMainWindow()) {
        return;
    }
    MainWindowView& view = views_->MainWindow();
    statusBar_ = view.CreateStatusBar("Ready...");
    if (auto placement = GetPlatform().Windows().Placement(mainWindow_)) {
        RestoreWindowPlacement("Main_Window_Dim", *placement, GetPlatform().Screens(), true);
    }
    CreateMainDialog();
    view.ShowMainWindow();
    LoadUnitsOrAskForLogin();
    view.PostCommand(command::kOpenPlaylist);
    view.RunMessageLoop();

    refreshTimer_.reset();
    for (WListView* list :
         {static_cast<WListView*>(&playlist_), static_cast<WListView*>(&venue_)}) {
        if (list->Control() != nullptr) {
            list->Control()->SetEvents(nullptr);
            list->Clear();
        }
    }
    view.DestroyMainWindow();
    mainWindow_ = mainDialog_ = statusBar_ = kNoWindow;
}

bool App::RequireKeyFile() {
    keyFilePath_ = ProgramFilePath("p.key", false).value_or("p.key");
    if (ReadWholeFile(keyFilePath_)) {
        return true;
    }
    ShowStartupError(GetPlatform(), keyFilePath_, "ERROR - COULD NOT READ REQUIRED FILE");
    return false;
}

bool App::CreateMainWindow() {
    mainWindow_ = views_->MainWindow().CreateMainWindow(kMainWindowTitle, CommandTable(), *this);
    if (mainWindow_ == kNoWindow) {
        ShowStartupError(GetPlatform(), "Could not initialize application", "ERROR");
        return false;
    }
    OnMainWindowCreated();
    return true;
}

// What the window does while it is being made: the administrator rule,
// the splash, the automatic update check.
void App::OnMainWindowCreated() {
    // Decided once: a login changed later takes effect at the next start.
    for (int id : CommandsHiddenFrom(GetString("Distribution_Username", 24))) {
        views_->MainWindow().RemoveCommand(id);
    }
    ShowSplash(picture::kSplash, kSplashSeconds, views_->Splash(), views_->Pictures(),
               GetPlatform());
    RunUpdateCheck(false, mainWindow_, 1);
}

void App::CreateMainDialog() {
    MainWindowView& view = views_->MainWindow();
    mainDialog_ = view.CreateMainDialog(ButtonTable());
    if (mainDialog_ == kNoWindow) {
        return;
    }
    OnMainDialogCreated();
    AnchorMainDialog();
    AttachLists();
    for (int channel = 0; channel < kChannelCount; ++channel) {
        view.InsertTab(channel, std::string(ChannelNames[channel]));
    }
    LayOut();
}

void App::OnMainDialogCreated() {
    refreshTimer_ = GetPlatform().Timers().Start(main_dialog::kRefreshPeriodMs,
                                                 [this] { venue_.PeriodicTick(); });
    UpdateCommandStates();
}

void App::AnchorMainDialog() {
    namespace d = main_dialog;
    sizer_.Attach(mainDialog_, true);
    // The unit list takes the upper half of any growth in height, the tabs
    // and the playlist the lower half; the label and buttons between them
    // move down with the tabs and keep their size.
    sizer_.AnchorItem(d::kUnitList, 0, 0, 1, 0.5);
    sizer_.AnchorItem(d::kChannelTabs, 0, 0.5, 1, 0.5);
    sizer_.AnchorItem(d::kPlaylistList, 0, 0.5, 1, 0.5);
    sizer_.AnchorItem(d::kPlaylistLabel, 0, 0.5, 0, 0);
    for (const ButtonSpec& button : ButtonTable()) {
        sizer_.AnchorItemLike(button.id);
    }
}

void App::AttachLists() {
    WindowSystem& windows = GetPlatform().Windows();
    if (ListControl* list = windows.FindList(mainDialog_, main_dialog::kPlaylistList)) {
        playlist_.AttachList(list);
        list->SetEvents(playlistEvents_.get());
    }
    if (ListControl* list = windows.FindList(mainDialog_, main_dialog::kUnitList)) {
        venue_.SetupColumns(list);
        list->SetEvents(unitEvents_.get());
    }
}

void App::LayOut() {
    views_->MainWindow().PlaceStatusBar();
    sizer_.FitToParent(statusBar_);
}

void App::LoadUnitsOrAskForLogin() {
    if (EnsureLogin(kNoWindow)) {
        venue_.Refresh(mainWindow_);
        return;
    }
    // The login form opens as soon as the loop runs.
    views_->MainWindow().PostCommand(command::kLoginInfo);
}

bool App::PrepareToClose() {
    // Stored before anything is asked, so a cancelled close keeps it too.
    SetString("Last_PlayList_File", playlist_.FilePath());
    if (!playlist_.Close()) {
        return false;
    }
    if (LiveWorkers() > 0) {
        GetPlatform().Time().Sleep(kCloseWaitMs);
    }
    playlist_.SaveColumnWidths("Play_Widths", *this);
    venue_.SaveColumnWidths("Venue_Widths", *this);
    if (auto placement = GetPlatform().Windows().Placement(mainWindow_)) {
        SaveWindowPlacement("Main_Window_Dim", *placement, true);
    }
    playlist_.Clear();
    venue_.Clear();
    return true;
}

void App::UpdateCommandStates() {
    const CommandStates states = ComputeCommandStates(StateOf(venue_), StateOf(playlist_));
    MainWindowView& view = views_->MainWindow();
    for (const ItemState& item : states.menuItems) {
        view.EnableCommand(item.id, item.enabled);
    }
    if (mainDialog_ == kNoWindow) {
        return;
    }
    Platform& platform = GetPlatform();
    for (const ItemState& button : states.buttons) {
        platform.Windows().SetEnabled(platform.Geometry().Item(mainDialog_, button.id),
                                      button.enabled);
    }
}

void App::OnCommand(int commandId) {
    RunCommand(commandId);
    UpdateCommandStates();
}

void App::OnButton(int buttonId) {
    namespace d = main_dialog;
    switch (buttonId) {
        case d::kAddButton:
            playlist_.AddClip();
            break;
        case d::kDeleteButton:
            playlist_.DeleteSelectedClips(mainWindow_);
            break;
        case d::kDeployButton:
        case d::kDeployAllButton:
            break;  // deployment is not built yet
        case d::kPreviewButton:
            Preview();
            break;
        default:
            return;
    }
    views_->MainWindow().ClearFocus();
    // A list changed by the button notifies on its own on some systems;
    // updating here keeps the states right everywhere.
    UpdateCommandStates();
}

void App::OnCloseRequest() {
    if (PrepareToClose()) {
        views_->MainWindow().PostQuit();
    }
}

void App::OnSize() {
    LayOut();
}

void App::OnTabSelected(int index) {
    if (index >= 0) {
        playlist_.SelectChannel(index);
        UpdateCommandStates();
    }
}

void App::OnUnitDoubleClicked(int row) {
    if (row >= 0) {
        RunCommand(command::kEditUnit);
    }
}

void App::OnPlaylistDoubleClicked(int row) {
    if (row < 0) {
        playlist_.AddClip();
    } else {
        playlist_.EditClip();
    }
}

void App::OnFilesDropped(const std::vector<std::string>& paths) {
    for (const DropAction& action : RouteDroppedFiles(paths)) {
        if (action.kind == DropAction::Kind::OpenPlaylist) {
            (void)playlist_.OpenFile(action.path);
        } else {
            playlist_.AddFile(action.path);
        }
    }
}

void App::Preview() {
    if (std::optional<std::string> path = playlist_.FirstSelectedPath()) {
        // The media plays in whatever program the desktop gives it; a file
        // nothing can open is not reported.
        (void)GetPlatform().Shell().Open(*path, "");
        return;
    }
    GetPlatform().Messages().Show(Message{mainWindow_,
                                          "Please select a media file in the list...\r\n and "
                                          "press 'Preview'",
                                          "None Selected", MessageIcon::Warning,
                                          MessageButtons::Ok});
}

void App::ShowUserManual() {
    if (std::optional<std::string> manual = ProgramFilePath("UserManual.pdf", true)) {
        (void)GetPlatform().Shell().Open(*manual, "");
    }
}

void App::ShowAbout() {
    const AboutForm form = OpenAboutForm(*this);
    AboutLinks links(*this, GetPlatform().Shell(), GetPlatform().Mail());
    views_->About().RunAboutBox(mainWindow_, form, links);
}

// The software update is not built yet: neither the automatic check nor
// the menu command does anything.
void App::RunUpdateCheck(bool /*requested*/, WindowId /*owner*/, int /*series*/) {}

bool App::EnsureLogin(WindowId /*owner*/) {
    return PendingLoginComplete(*this);
}

void App::ShowLoginForm(WindowId /*owner*/) {}

}  // namespace vantic
