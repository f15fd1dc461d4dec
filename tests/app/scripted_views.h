#pragma once

// The application object's views for tests: windows in memory on the
// scripted platform, a message loop that runs the posted commands, and a
// log of what the application asked of them, in order.

#include <deque>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "app/app.h"
#include "tests/support/scripted_form.h"
#include "tests/support/scripted_form_views.h"
#include "tests/support/scripted_list.h"
#include "tests/support/scripted_platform.h"
#include "tests/support/scripted_report_dates.h"
#include "tests/support/scripted_report_window.h"

namespace vantic::testing {

class ScriptedMainWindow final : public MainWindowView {
  public:
    ScriptedMainWindow(ScriptedWindows& windows, std::vector<std::string>& log)
        : windows_(windows), log_(log) {}

    WindowId CreateMainWindow(const std::string& title, std::span<const CommandItem> commands,
                              MainWindowEvents& events) override {
        log_.push_back("create window " + title);
        if (refuseWindow) {
            return kNoWindow;
        }
        events_ = &events;
        for (const CommandItem& item : commands) {
            menu.push_back(item.id);
        }
        window = windows_.NewWindow(kNoWindow, Rect{100, 100, 700, 500}, WindowFrame{4, 48, 4, 4});
        return window;
    }
    void RemoveCommand(int commandId) override {
        log_.push_back("remove " + std::to_string(commandId));
        std::erase(menu, commandId);
        enabled.erase(commandId);
    }
    void SetCommandEnabled(int commandId, bool on) override {
        if (InMenu(commandId)) {
            enabled[commandId] = on;
        }
        if (buttons.contains(commandId)) {
            buttons[commandId] = on;
        }
    }
    void CreateStatusBar(const std::string& text) override {
        log_.push_back("status bar " + text);
        statusText = text;
    }
    void SetStatusLine(const std::string& text) override { statusText = text; }
    bool CreateMainDialog(std::span<const ButtonItem> buttonItems) override {
        log_.push_back("main dialog");
        dialogMade = true;
        for (const ButtonItem& button : buttonItems) {
            buttons[button.command] = true;
        }
        return true;
    }
    ListControl* UnitList() override { return dialogMade ? &units : nullptr; }
    ListControl* PlaylistList() override { return dialogMade ? &playlist : nullptr; }
    void SetPlaylistTitle(const std::string& text) override { playlistTitle = text; }
    void InsertTab(int index, const std::string& text) override {
        log_.push_back("tab " + std::to_string(index) + " " + text);
    }
    void ShowMainWindow() override { log_.emplace_back("show window"); }
    void BringToFront() override { log_.emplace_back("bring to front"); }
    void ClearFocus() override { log_.emplace_back("clear focus"); }
    void PostCommand(int commandId) override {
        log_.push_back("post " + std::to_string(commandId));
        posted.push_back(commandId);
    }
    // Runs the posted commands, then ends as if the user had quit.
    void RunMessageLoop() override {
        log_.emplace_back("loop");
        while (!quit && !posted.empty()) {
            const int id = posted.front();
            posted.pop_front();
            events_->OnCommand(id);
        }
        if (whileRunning) {
            whileRunning();
        }
    }
    void PostQuit() override {
        log_.emplace_back("quit");
        quit = true;
    }
    void DestroyMainWindow() override { log_.emplace_back("destroy window"); }

    [[nodiscard]] bool IsEnabled(int commandId) const {
        const auto found = enabled.find(commandId);
        return found != enabled.end() && found->second;
    }
    // Whether the button that runs commandId is enabled.
    [[nodiscard]] bool ButtonEnabled(int commandId) const {
        const auto found = buttons.find(commandId);
        return found != buttons.end() && found->second;
    }
    [[nodiscard]] bool InMenu(int commandId) const {
        return std::find(menu.begin(), menu.end(), commandId) != menu.end();
    }
    [[nodiscard]] MainWindowEvents& Events() { return *events_; }

    bool refuseWindow = false;
    // Runs inside the message loop once the posted commands are done.
    std::function<void()> whileRunning;
    WindowId window = kNoWindow;
    bool dialogMade = false;
    std::string statusText;
    std::string playlistTitle;
    std::vector<int> menu;
    std::map<int, bool> enabled;
    std::map<int, bool> buttons;  // by the command each runs
    std::deque<int> posted;
    bool quit = false;
    ScriptedListControl units;
    ScriptedListControl playlist;

  private:
    ScriptedWindows& windows_;
    std::vector<std::string>& log_;
    MainWindowEvents* events_ = nullptr;
};

class ScriptedSplash final : public SplashView {
  public:
    explicit ScriptedSplash(std::vector<std::string>& log) : log_(log) {}
    bool Open() override {
        log_.emplace_back("splash open");
        return openable;
    }
    void Show(const BitmapSurface& picture, const Rect& rect) override {
        log_.emplace_back("splash show");
        shown = picture;
        at = rect;
    }
    void Close() override { log_.emplace_back("splash close"); }

    bool openable = true;
    BitmapSurface shown;
    Rect at;

  private:
    std::vector<std::string>& log_;
};

// Picture 125 is a horizontal ramp of its real size; others are unknown.
class ScriptedPictures final : public PictureSource {
  public:
    bool Load(int pictureId, BitmapSurface& into) override {
        if (pictureId != picture::kSplash) {
            return false;
        }
        into.Resize(1342, 250);
        for (int y = 0; y < 250; ++y) {
            for (int x = 0; x < 1342; ++x) {
                into.SetPixel(x, y, PackRgb(x * 255 / 1341, 40, 200));
            }
        }
        return true;
    }
};

class ScriptedAbout final : public AboutView {
  public:
    void RunAboutBox(WindowId owner, const AboutForm& form, AboutLinks& links) override {
        owners.push_back(owner);
        forms.push_back(form);
        if (onOpen) {
            onOpen(links);
        }
    }
    std::vector<WindowId> owners;
    std::vector<AboutForm> forms;
    std::function<void(AboutLinks&)> onOpen;
};

class ScriptedInstances final : public InstanceGuard {
  public:
    explicit ScriptedInstances(std::vector<std::string>& log) : log_(log) {}
    bool ActivateRunning(const std::string& name) override {
        log_.push_back("look for " + name);
        return otherRunning;
    }
    bool Claim(const std::string& name, std::function<void()> onActivate) override {
        log_.push_back("claim " + name);
        activate = std::move(onActivate);
        return true;
    }
    bool otherRunning = false;
    std::function<void()> activate;

  private:
    std::vector<std::string>& log_;
};

// The day plan window: records each opening's choice and the text shown for
// it, and for every queued choice the text shown after that change.
class ScriptedDayPlan final : public DayPlanView {
  public:
    void RunDayPlan(WindowId owner, DayPlanForm& form, const PlanPage& planPage) override {
        owners.push_back(owner);
        opened.push_back(form);
        shown.push_back(planPage(form).text);
        for (const DayPlanForm& choice : choices) {
            form = choice;
            shown.push_back(planPage(form).text);
        }
        choices.clear();
    }
    std::vector<DayPlanForm> choices;
    std::vector<WindowId> owners;
    std::vector<DayPlanForm> opened;
    std::vector<std::string> shown;
};

class ScriptedAutoUpdates final : public AutoUpdateFormView {
  public:
    bool RunAutoUpdateForm(WindowId owner, AutoUpdateForm& form) override {
        owners.push_back(owner);
        return script.Run(form);
    }
    ScriptedForm<AutoUpdateForm> script{"automatic updates form"};
    std::vector<WindowId> owners;
};

class ScriptedViews final : public AppViews {
  public:
    explicit ScriptedViews(ScriptedPlatform& platform)
        : mainWindow(platform.windows, log),
          splash(log),
          instances(log),
          reportWindow(platform.windows) {}
    MainWindowView& MainWindow() override { return mainWindow; }
    SplashView& Splash() override { return splash; }
    PictureSource& Pictures() override { return pictures; }
    AboutView& About() override { return about; }
    InstanceGuard& Instances() override { return instances; }
    LoginFormView& LoginForm() override { return login; }
    ClipFormView& ClipEditor() override { return clipEditor; }
    ConfirmFormView& Confirmation() override { return confirmation; }
    AdminFormsView& AdminForms() override { return adminForms; }
    AutoUpdateFormView& AutoUpdates() override { return autoUpdates; }
    UnitFormView& UnitEditor() override { return unitEditor; }
    ReportWindowView& ReportWindows() override { return reportWindow; }
    DateRangeFormView& ReportDates() override { return reportDates; }
    DayPlanView& DayPlan() override { return dayPlan; }

    std::vector<std::string> log;
    ScriptedMainWindow mainWindow;
    ScriptedSplash splash;
    ScriptedPictures pictures;
    ScriptedAbout about;
    ScriptedInstances instances;
    ScriptedLoginView login;
    ScriptedClipEditor clipEditor;
    ScriptedConfirmView confirmation;
    ScriptedAdminForms adminForms;
    ScriptedAutoUpdates autoUpdates;
    ScriptedUnitEditor unitEditor;
    ScriptedReportWindow reportWindow;
    ScriptedReportDates reportDates;
    ScriptedDayPlan dayPlan;
};

}  // namespace vantic::testing
