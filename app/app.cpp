#include "app/app.h"

#include "app/update/software_update.h"
#include "core/cpstring.h"
#include "framework/program_path.h"
#include "framework/worker.h"
#include "net/request_faults.h"
#include "net/update_key/update_signing_key.h"
#include "platform/connection_watch.h"
#include "playlist/play_entry.h"

namespace vantic {

namespace {

constexpr int kSplashSeconds = 2;
constexpr int kCloseWaitMs = 2000;
constexpr std::size_t kPlaylistPathRoom = 260;

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

App::App(std::unique_ptr<Platform> platform, std::unique_ptr<AppViews> views)
    : WApp(std::move(platform)),
      views_(std::move(views)),
      keyFilePath_(
          FindInstalledFile("p.key").value_or(ProgramFilePath("p.key", false).value_or("p.key"))),
      loginStore_(*this),
      login_(loginStore_, keyFilePath_),
      playlist_(*this, GetPlatform(), views_->ClipEditor()),
      venue_(GetPlatform(), login_),
      // The status line follows when the login's operation ends.
      serverLogin_(login_, views_->LoginForm(), [this] { venue_.ReloadAfterLogin(mainWindow_); }),
      deployment_(GetPlatform(), venue_, serverLogin_, playlist_, views_->Confirmation(), this),
      finding_(venue_, *this, views_->MainWindow(), GetPlatform().Messages()),
      adminSettings_(*this),
      admin_{deployment_.Context(), views_->AdminForms(), GetPlatform().Files(), adminSettings_,
             [this] { (void)venue_.RefreshInBackground(); }},
      statusReports_(GetPlatform(), venue_, serverLogin_),
      unitEvents_(NewUnitListEvents()),
      playlistEvents_(NewPlaylistEvents()),
      workerLock_(std::make_unique<WMutex>()) {
    SetRequestCalls(&GetPlatform().Blocking());
    GetPlatform().Operations().SetOnEnded([this] { OnOperationEnded(); });
    // A request of any kind that finds the server away shows the list stale
    // at once, and the status bar follows every change of the list's record.
    SetRequestFaultListener(venue_.FaultListener());
    venue_.SetOnRefreshChanged([this] { ShowRefreshStatus(); });
}

App::~App() {
    SetRequestFaultListener({});
    venue_.SetOnRefreshChanged(nullptr);
    GetPlatform().Operations().SetOnEnded(nullptr);
    GetPlatform().Operations().Finish();
    SetRequestCalls(nullptr);
    refreshTimer_.reset();
    DetachLists();
}

void App::Run() {
    InstanceGuard& instances = views_->Instances();
    if (instances.ActivateRunning(std::string(identity::kProductName))) {
        return;
    }
    instances.Claim(std::string(identity::kProductName), [this] {
        if (mainWindow_ != kNoWindow) {
            views_->MainWindow().BringToFront();
        }
    });
    if (!RequireKeyFile() || !CreateMainWindow()) {
        return;
    }
    MainWindowView& view = views_->MainWindow();
    view.CreateStatusBar("Ready...");
    statusBarShown_ = true;
    statusText_ = "Ready...";
    if (auto placement = GetPlatform().Windows().Placement(mainWindow_)) {
        RestoreWindowPlacement(kMainWindowPlacementName, *placement, GetPlatform().Screens(), true);
    }
    CreateMainDialog();
    view.ShowMainWindow();
    LoadUnitsOrAskForLogin();
    // Its first run reopens the last playlist without asking.
    view.PostCommand(command::kOpenPlaylist);
    view.RunMessageLoop();

    GetPlatform().Operations().Finish();
    refreshTimer_.reset();
    DetachLists();
    {
        VenueHold hold(venue_);  // no worker is telling the status bar meanwhile
        statusBarShown_ = false;
    }
    view.DestroyMainWindow();
    mainWindow_ = kNoWindow;
    mainDialogShown_ = false;
    deployment_.SetMainWindow(kNoWindow);
}

bool App::RequireKeyFile() {
    // Only whether it can be read matters here.
    if (ReadWholeFile(keyFilePath_)) {
        return true;
    }
    // The text is the path beside the program; the details say where else
    // a system install may keep the key.
    std::string looked = "Looked for the key file in:";
    for (const std::string& place : InstalledFileCandidates("p.key")) {
        looked += "\r\n" + place;
    }
    GetPlatform().Messages().ShowWithDetails(
        Message{kNoWindow, keyFilePath_, "ERROR - COULD NOT READ REQUIRED FILE", MessageIcon::Error,
                MessageButtons::Ok},
        looked);
    return false;
}

bool App::CreateMainWindow() {
    mainWindow_ =
        views_->MainWindow().CreateMainWindow(std::string(identity::kTitle), CommandTable(), *this);
    if (mainWindow_ == kNoWindow) {
        ShowStartupError(GetPlatform(), "Could not initialize application", "ERROR");
        return false;
    }
    deployment_.SetMainWindow(mainWindow_);
    finding_.SetMainWindow(mainWindow_);
    OnMainWindowCreated();
    return true;
}

// What the window does while it is being made: the administrator rule and
// the splash. The automatic update check waits for the end of the start-up
// (see OnCommand), so an update installed then stores the placement and
// the playlist the operator had.
void App::OnMainWindowCreated() {
    // Decided once: a login changed later takes effect at the next start.
    for (int id : CommandsHiddenFrom(GetString(kLoginNameKey, kLoginNameRoom))) {
        views_->MainWindow().RemoveCommand(id);
    }
    ShowSplash(picture::kSplash, kSplashSeconds, views_->Splash(), views_->Pictures(),
               GetPlatform());
}

void App::CreateMainDialog() {
    MainWindowView& view = views_->MainWindow();
    mainDialogShown_ = view.CreateMainDialog(ButtonTable());
    if (!mainDialogShown_) {
        return;
    }
    OnMainDialogCreated();
    AttachLists();
    finding_.ShowGroups();
    for (int channel = 0; channel < kChannelCount; ++channel) {
        view.InsertTab(channel, std::string(ChannelNames[channel]));
    }
}

void App::OnMainDialogCreated() {
    ApplyStatusAlertsSetting();
    refreshTimer_ = GetPlatform().Timers().Start(kRefreshPeriodMs, [this] {
        if (GetPlatform().Operations().Running()) {
            return;  // the operation has the lists and the settings; the next tick comes soon
        }
        ApplyStatusAlertsSetting();  // the settings store may have been changed since
        venue_.PeriodicTick();
    });
    UpdateCommandStates();
}

void App::ApplyStatusAlertsSetting() {
    venue_.SetStatusAlerts(GetBool(kStatusAlertsKey, true) ? &GetPlatform().Notices() : nullptr);
}

void App::AttachLists() {
    MainWindowView& view = views_->MainWindow();
    playlist_.SetWindows(mainWindow_,
                         [&view](const std::string& title) { view.SetPlaylistTitle(title); });
    if (ListControl* list = view.PlaylistList()) {
        playlist_.AttachList(list);
        list->SetEvents(playlistEvents_.get());
    }
    if (ListControl* list = view.UnitList()) {
        venue_.SetupColumns(list, *this);
        list->SetEvents(unitEvents_.get());
    }
}

// Both lists stop notifying and give up their rows and controls; the
// controls go with the window.
void App::DetachLists() {
    if (ListControl* list = playlist_.Control()) {
        list->SetEvents(nullptr);
        playlist_.Clear();
    }
    if (ListControl* list = venue_.Control()) {
        list->SetEvents(nullptr);
        venue_.Clear();
    }
}

void App::LoadUnitsOrAskForLogin() {
    if (serverLogin_.EnsureLogin(kNoWindow)) {
        // The window runs while the list arrives; a failure is reported to it.
        GetPlatform().Operations().Queue([this] { (void)venue_.Refresh(mainWindow_); });
        return;
    }
    // The login form opens as soon as the loop runs; confirming it fetches.
    views_->MainWindow().PostCommand(command::kLoginInfo);
}

// Called on whichever thread changed the list's record; the list's lock
// keeps the text and the line in step.
void App::ShowRefreshStatus() {
    VenueHold hold(venue_);
    if (!statusBarShown_) {
        return;
    }
    std::string text = RefreshStatusText(venue_.LastRefresh(), GetPlatform().Time());
    if (text != statusText_) {
        views_->MainWindow().SetStatusLine(text);
        statusText_ = std::move(text);
    }
    if (mainDialogShown_) {
        finding_.ShowCounts();
    }
}

ReportContext App::Reports() {
    return ReportContext{GetPlatform(), *this, views_->ReportWindows(), mainWindow_,
                         views_->PlayCharts()};
}

bool App::PrepareToClose() {
    // Stored before anything is asked, so a cancelled close keeps it too.
    SetString(kLastPlaylistFileKey, playlist_.FilePath());
    if (!playlist_.Close()) {
        return false;
    }
    StopAndJoinWorkers();
    playlist_.SaveColumnWidths(kPlayWidthsName, *this);
    venue_.SaveColumnWidths(kVenueWidthsName, *this);
    if (auto placement = GetPlatform().Windows().Placement(mainWindow_)) {
        SaveWindowPlacement(kMainWindowPlacementName, *placement, true);
    }
    DetachLists();
    return true;
}

// A close that went no further (the update's installer did not start):
// the lists come back, the units are fetched again and the playlist stored
// as the last one reopens, so the next exit stores what the operator had.
void App::ResumeAfterClose() {
    if (!mainDialogShown_) {
        return;
    }
    AttachLists();
    const std::string last = GetString(kLastPlaylistFileKey, kPlaylistPathRoom);
    if (!last.empty()) {
        (void)playlist_.OpenFile(last);
    }
    if (serverLogin_.EnsureLogin(kNoWindow)) {
        (void)venue_.Refresh(mainWindow_);
    }
}

// The workers get the close wait to end on their own; a request one still
// waits for is then cancelled, and each is joined once it has returned
// (the window's thread dispatches meanwhile: they hand it their list
// changes). None may outlive the lock it counts itself under.
void App::StopAndJoinWorkers() {
    WindowSystem& windows = GetPlatform().Windows();
    const auto dispatch = [&windows](std::chrono::milliseconds slice) {
        windows.WaitForMessages(slice);
    };
    if (WaitForWorkers(std::chrono::milliseconds(kCloseWaitMs), dispatch)) {
        return;
    }
    StopWorkers();
    CancelAllRequests();
    (void)WaitForWorkers(std::chrono::milliseconds(kCloseWaitMs), dispatch);
    JoinWorkers();
    ResumeAllRequests();
}

// While an operation runs, every command that would start another is off;
// Exit stays on (it cancels the operation and closes).
void App::UpdateCommandStates() {
    CommandStates states = ComputeCommandStates(StateOf(venue_), StateOf(playlist_));
    if (GetPlatform().Operations().Running()) {
        states.menuItems.clear();
        for (const CommandItem& item : CommandTable()) {
            states.menuItems.push_back({item.id, item.id == command::kExit});
        }
        for (ItemState& button : states.buttons) {
            button.enabled = false;
        }
    }
    MainWindowView& view = views_->MainWindow();
    for (const ItemState& item : states.menuItems) {
        view.SetCommandEnabled(item.id, item.enabled);
    }
    if (!mainDialogShown_) {
        return;
    }
    for (const ItemState& button : states.buttons) {
        view.SetCommandEnabled(button.id, button.enabled);
    }
}

void App::RunUpdateCheck(bool requested, WindowId owner, int series) {
    std::string serverProblem;
    CurlUpdateFetcher fetcher(UpdateServerFromSettings(*this, serverProblem), GetPlatform().Time());
    const RsaPublicKey key = UpdateSigningKey();
    UpdateCheckContext context{GetPlatform(),
                               *this,
                               fetcher,
                               views_->AutoUpdates(),
                               key,
                               [this] { return PrepareToClose(); },
                               [this] { ResumeAfterClose(); },
                               [this] { quitForUpdate_ = true; },
                               serverProblem,
                               RunsFromSystemFolder()};
    vantic::RunUpdateCheck(context, requested, owner, series);
}

}  // namespace vantic
