#pragma once

// The whole program on Qt for a test: the application object with the Qt
// platform and views, in a program directory of its own whose config.ini
// logs in to a reference server. Only the single-instance guard is the
// test's own, so a controller the developer has open does not take over.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMainWindow>
#include <QTimer>
#include <functional>
#include <memory>
#include <string>

#include "app/app.h"
#include "core/cpstring.h"
#include "framework/program_path.h"
#include "qt/qt_app_views.h"
#include "qt/qt_platform.h"
#include "tests/support/server_runner.h"
#include "tests/support/temp_dir.h"

namespace vantic::testing {

class AnyInstance final : public InstanceGuard {
  public:
    bool ActivateRunning(const std::string& /*name*/) override { return false; }
    bool Claim(const std::string& /*name*/, std::function<void()> /*onActivate*/) override {
        return true;
    }
};

class QtTestViews final : public AppViews {
  public:
    explicit QtTestViews(FileDialogs& dialogs) : qt(dialogs) {}
    MainWindowView& MainWindow() override { return qt.MainWindow(); }
    SplashView& Splash() override { return qt.Splash(); }
    PictureSource& Pictures() override { return qt.Pictures(); }
    AboutView& About() override { return qt.About(); }
    InstanceGuard& Instances() override { return instances; }
    LoginFormView& LoginForm() override { return qt.LoginForm(); }
    ClipFormView& ClipEditor() override { return qt.ClipEditor(); }
    ConfirmFormView& Confirmation() override { return qt.Confirmation(); }
    AdminFormsView& AdminForms() override { return qt.AdminForms(); }
    AutoUpdateFormView& AutoUpdates() override { return qt.AutoUpdates(); }
    UnitFormView& UnitEditor() override { return qt.UnitEditor(); }
    ReportWindowView& ReportWindows() override { return qt.ReportWindows(); }
    DateRangeFormView& ReportDates() override { return qt.ReportDates(); }
    DayPlanView& DayPlan() override { return qt.DayPlan(); }

    QtAppViews qt;
    AnyInstance instances;
};

class QtAppRig : public ::testing::Test {
  protected:
    QtAppRig() {
        EXPECT_TRUE(server.Ok()) << server.Error();
        SetProgramDirectoryForTesting(dir.Path());
        EXPECT_TRUE(CopyFileOver(server.KeyFile(), dir.File("p.key")));
        auto platform = std::make_unique<QtPlatform>();
        auto views = std::make_unique<QtTestViews>(platform->Files());
        view = &views->qt.QtMainWindow();
        app = std::make_unique<App>(std::move(platform), std::move(views));
        app->SetSettingsLocation(SettingsLocation{dir.Path(), ""});
        app->Init();
        app->SetString("Distribution_Server", server.Address());
        app->SetString("Distribution_Username", server.Operator().login);
        app->SetString("Distribution_Userpass", server.Operator().password);
        app->SetInt("Distribution_Userpass_Remember", 1);
    }
    ~QtAppRig() override {
        app.reset();
        SetProgramDirectoryForTesting("");
    }

    // Runs the program; body runs once the window shows the units (timers
    // also fire inside the splash's and the first fetch's waits), and the
    // program ends after it.
    void RunWith(std::function<void()> body) {
        QTimer start;
        QObject::connect(&start, &QTimer::timeout, [&] {
            if (Window() == nullptr || !Window()->isVisible() || app->Venue().ItemCount() == 0 ||
                OperationRuns()) {
                return;
            }
            start.stop();
            body();
            WaitForOperation();
            view->PostQuit();
        });
        start.start(10);
        app->Run();
    }
    [[nodiscard]] QMainWindow* Window() const { return view->Window(); }
    [[nodiscard]] bool OperationRuns() const { return app->GetPlatform().Operations().Running(); }
    // The window's loop runs until the operation has ended.
    void WaitForOperation() {
        while (OperationRuns()) {  // its end comes as an event
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        }
    }
    // Runs a command's operation to its end, as the operator's menu does.
    void RunCommand(int commandId) {
        view->Action(commandId)->trigger();
        WaitForOperation();
    }

    ServerRunner server;
    TempDir dir;
    QtMainWindowView* view = nullptr;
    std::unique_ptr<App> app;
};

}  // namespace vantic::testing
