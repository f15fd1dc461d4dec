#pragma once

// App: this product's application object. It names the product, owns the
// playlist document and the unit list, tells the main window what to show, runs the
// start-up sequence and the message loop, turns every command of the main
// window into its operation, and closes in order.

#include <memory>
#include <optional>
#include <string>

#include "app/about_box.h"
#include "app/command_table.h"
#include "app/deployment.h"
#include "app/main_window_view.h"
#include "app/single_instance.h"
#include "app/splash.h"
#include "app/status_reports.h"
#include "app/unit_finding.h"
#include "app/update/update_form.h"
#include "app/wapp.h"
#include "core/product_identity.h"
#include "framework/wmutex.h"
#include "net/login_settings.h"
#include "net/server_login.h"
#include "platform/timer.h"
#include "playlist/playlist.h"
#include "reports/day_plan.h"
#include "reports/report_window.h"
#include "units/admin_commands.h"
#include "units/unit_editor_form.h"
#include "units/venue_list.h"
#include "units/wreg_login_store.h"

namespace vantic {

// Where the main window's placement is kept between runs.
inline constexpr std::string_view kMainWindowPlacementName = "Main_Window_Dim";
// How often the main dialog's timer asks the unit list to refresh.
inline constexpr int kRefreshPeriodMs = 20000;

// The views and desktop services only the application object uses. The
// program supplies the Qt ones; tests supply scripted ones.
class AppViews {
  public:
    virtual ~AppViews() = default;
    virtual MainWindowView& MainWindow() = 0;
    virtual SplashView& Splash() = 0;
    virtual PictureSource& Pictures() = 0;
    virtual AboutView& About() = 0;
    virtual InstanceGuard& Instances() = 0;
    virtual LoginFormView& LoginForm() = 0;
    virtual ClipFormView& ClipEditor() = 0;
    // "Confirm this Action", the word typed before a deployment.
    virtual ConfirmFormView& Confirmation() = 0;
    // The administration commands' forms: crawl text, free settings, time
    // zone and owner.
    virtual AdminFormsView& AdminForms() = 0;
    // "Automatic Updates", how the operator wants updates checked.
    virtual AutoUpdateFormView& AutoUpdates() = 0;
    // "Editing Unit".
    virtual UnitFormView& UnitEditor() = 0;
    // "Vantic Media Player Report", the window of both reports.
    virtual ReportWindowView& ReportWindows() = 0;
    // "Date Range for Report", asked before a status report.
    virtual DateRangeFormView& ReportDates() = 0;
    // "Day Plan", which clips of the playlist may play in each hour of a day.
    virtual DayPlanView& DayPlan() = 0;
    // The proof-of-play chart and clip statement; none where nothing can
    // draw them (the status report then offers neither).
    virtual PlayChartView* PlayCharts() { return nullptr; }
};

class App final : public WApp, private MainWindowEvents {
  public:
    App(std::unique_ptr<Platform> platform, std::unique_ptr<AppViews> views);
    ~App() override;

    [[nodiscard]] static App* Instance() { return static_cast<App*>(WApp::Instance()); }

    [[nodiscard]] std::string_view ProductName() const override { return identity::kProductName; }
    [[nodiscard]] std::string_view VersionText() const override { return identity::kVersion; }
    [[nodiscard]] std::string_view MajorVersion() const override { return identity::kMajorVersion; }
    [[nodiscard]] std::string_view TitleText() const override { return identity::kTitle; }
    [[nodiscard]] std::string_view BuildCode() const override { return identity::kBuildCode; }

    // Starts up, runs the message loop until the program quits, and
    // destroys the main window. Returns early, having shown what it must,
    // when another instance runs or the window cannot be made.
    void Run();
    // Stores what outlives the run and empties both lists; false when the
    // user kept the program open.
    [[nodiscard]] bool PrepareToClose();
    // Enables the menu items and buttons the two lists allow.
    void UpdateCommandStates();

    [[nodiscard]] WindowId MainWindow() const { return mainWindow_; }
    [[nodiscard]] PlayList& Playlist() { return playlist_; }
    [[nodiscard]] VenueList& Venue() { return venue_; }
    [[nodiscard]] ServerLogin& Login() { return serverLogin_; }
    // Every deployment: the channel commands here, the unit editor's and
    // the administration commands' settings.
    [[nodiscard]] Deployment& Deployer() { return deployment_; }
    // What the report window and the report builders work with.
    [[nodiscard]] ReportContext Reports();
    // The server's public key file beside the program, found once.
    [[nodiscard]] const std::string& KeyFilePath() const { return keyFilePath_; }

  private:
    class UnitListEvents;
    class PlaylistEvents;
    [[nodiscard]] std::unique_ptr<ListEvents> NewUnitListEvents();
    [[nodiscard]] std::unique_ptr<ListEvents> NewPlaylistEvents();

    // Start-up steps.
    [[nodiscard]] bool RequireKeyFile();
    [[nodiscard]] bool CreateMainWindow();
    void OnMainWindowCreated();
    void CreateMainDialog();
    void OnMainDialogCreated();
    // Background refreshes alert on status changes unless "Status_Alerts" is 0.
    void ApplyStatusAlertsSetting();
    void AttachLists();
    void LoadUnitsOrAskForLogin();
    // The unit list's last refresh, in the status bar; any thread.
    void ShowRefreshStatus();

    // MainWindowEvents
    void OnCommand(int commandId) override;
    void OnButton(int buttonId) override;
    void OnCloseRequest() override;
    void OnTabSelected(int index) override;
    void OnUnitFilterChanged(const std::string& text) override;
    void OnGroupChosen(const std::string& name) override;
    void OnGroupDeleteChosen(const std::string& name) override;
    // "Channel to All Units", whose confirmation names the units the filter hides.
    [[nodiscard]] DeployRequest DeployToAllRequest();

    void RunCommand(int commandId);
    // Starts an operation of the operator's unless one runs (then the
    // command is ignored); the command states follow.
    void StartOperation(Operation operation);
    // After every operation: a close asked for meanwhile, the command
    // states and the status line.
    void OnOperationEnded();
    // Waits for the workers as closing does, asks them to stop and joins them.
    void StopAndJoinWorkers();
    // Undoes PrepareToClose when the program goes on after all.
    void ResumeAfterClose();
    void OnUnitDoubleClicked(int row);
    void OnPlaylistDoubleClicked(int row);
    void OnFilesDropped(const std::vector<std::string>& paths);
    void Preview();
    void ShowUserManual();
    void ShowAbout();
    void RunUpdateCheck(bool requested, WindowId owner, int series);
    void DetachLists();

    std::unique_ptr<AppViews> views_;
    WindowId mainWindow_ = kNoWindow;
    bool mainDialogShown_ = false;
    bool statusBarShown_ = false;  // guarded by the unit list's lock once the bar is made
    std::string statusText_;       // guarded by the unit list's lock
    const std::string keyFilePath_;
    WRegLoginStore loginStore_;
    LoginSettings login_;
    PlayList playlist_;
    VenueList venue_;
    ServerLogin serverLogin_;
    Deployment deployment_;
    UnitFinding finding_;
    IntSettingsOf<WReg> adminSettings_;
    AdminContext admin_;
    StatusReports statusReports_;
    std::unique_ptr<ListEvents> unitEvents_;
    std::unique_ptr<ListEvents> playlistEvents_;
    std::unique_ptr<Timer> refreshTimer_;
    std::unique_ptr<WMutex> workerLock_;
    // An update's installer was started: the program ends.
    bool quitForUpdate_ = false;
    // The window was closed while an operation ran: it closes when that ends.
    bool closeRequested_ = false;
    // Until the start-up's posted reopening of the last playlist has come.
    bool startingUp_ = true;
};

}  // namespace vantic
