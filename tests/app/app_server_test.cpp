// The start-up against the reference server: a new operator's first run,
// a run with stored credentials, and the periodic refresh.

#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <utility>
#include <vector>

#include "app/app.h"
#include "core/cpstring.h"
#include "framework/worker.h"
#include "tests/app/app_fixture.h"
#include "tests/support/server_runner.h"
#include "tests/support/wait_until.h"

namespace vantic {
namespace {

using testing::AppFixture;
using testing::ServerRunner;
namespace c = command;

class AppWithServer : public AppFixture {
  protected:
    AppWithServer() {
        EXPECT_TRUE(server.Ok()) << server.Error();
        EXPECT_TRUE(CopyFileOver(server.KeyFile(), dir.File("p.key")));
    }
    // Waits, pumping messages, for the refresh workers to finish.
    void AwaitWorkers() {
        EXPECT_TRUE(testing::WaitUntil([] { return LiveWorkers() == 0; },
                                       [this] { platform->windows.PumpMessages(); }));
    }

    ServerRunner server;
};

TEST_F(AppWithServer, ANewOperatorLogsInAndSeesTheUnits) {
    views->login.script.Queue([&](LoginForm& form) {
        EXPECT_EQ(form.focus, LoginFormFocus::Host);
        form.host = server.Address();
        form.loginName = server.Operator().login;
        FocusPasswordField(form);
        EditPasswordField(form, server.Operator().password);
        form.rememberPassword = true;
        return true;
    });
    Window().whileRunning = [&] {
        EXPECT_EQ(app->Venue().ItemCount(), 8);
        // The rows' arrival enabled the commands that need units.
        EXPECT_TRUE(Window().IsEnabled(c::kDeployToAll));
    };
    app->Run();
    EXPECT_EQ(app->GetString("Distribution_Server", 260), server.Address());
    EXPECT_EQ(app->GetString("Distribution_Userpass", 24), server.Operator().password);
    // Not the administrator: the menu was decided before the login.
    EXPECT_FALSE(Window().InMenu(c::kNewFirmware));
}

TEST_F(AppWithServer, StoredCredentialsListTheUnitsBeforeTheLoopRuns) {
    StoreLogin(server.Address(), server.Administrator().login, server.Administrator().password);
    int unitsWhenLoopRan = -1;
    Window().whileRunning = [&] { unitsWhenLoopRan = app->Venue().ItemCount(); };
    app->Run();
    EXPECT_EQ(unitsWhenLoopRan, 12);
    EXPECT_TRUE(Window().InMenu(c::kNewFirmware));
    EXPECT_FALSE(LogHas("post 40003"));
}

// The Deploy menu's administration commands run through the main window
// with the application's own forms, deployment and settings store.
TEST_F(AppWithServer, TheTimeZoneCommandDeploysToTheSelectedUnit) {
    StoreLogin(server.Address(), server.Administrator().login, server.Administrator().password);
    std::uint32_t unit = 0;
    Window().whileRunning = [&] {
        app->Venue().SelectRow(1, true);
        unit = app->Venue().UnitNumberAt(1);
        views->adminForms.timezone.Queue([](TimezoneForm& form) {
            EXPECT_EQ(form.zone, TimeZone::Central);
            form.zone = TimeZone::Pacific;
            return true;
        });
        views->confirmation.script.Queue([](ConfirmForm& form) {
            form.typed = "yes";
            return true;
        });
        platform->QueueAnswer(MessageAnswer::Ok, "SUCCESS");
        Window().Events().OnCommand(c::kNewTimezone);
    };
    app->Run();
    const std::string file = testing::ReadFileBytes(server.DataDir() + "/units/" +
                                                    std::to_string(unit) + "/instructions.txt");
    // The settings follow the clips; the new one comes first among them.
    EXPECT_NE(file.find("\n4\tTimezonePending\t/usr/share/zoneinfo/PST8PDT\n4\tnotes\t"),
              std::string::npos)
        << file;
}

TEST_F(AppWithServer, TheTwentySecondTimerRefreshesTheUnitsInTheBackground) {
    StoreLogin(server.Address(), server.Administrator().login, server.Administrator().password);
    Window().whileRunning = [&] {
        ASSERT_EQ(platform->timers.RunningPeriods(), std::vector<int>{20000});
        std::string units = testing::ReadFileBytes(server.DataDir() + "/units.txt");
        units += "99\tNew lobby\tOK\tMon 09:00\tMon 11:00\n";
        ASSERT_TRUE(testing::WriteFileBytes(server.DataDir() + "/units.txt", units));

        platform->timers.FireAll();
        AwaitWorkers();
        int row = -1;
        EXPECT_TRUE(app->Venue().FindUnit(99, row));
        EXPECT_EQ(Window().units.CellText(row, 1), "New lobby");
    };
    app->Run();
}

// The status bar says when the list was brought up to date, and as soon as
// any request meets the server away, what keeps it away since when and how
// old the list is, whose dots then go grey. A new login's list is not known
// until it arrives.
TEST_F(AppWithServer, TheStatusBarTellsHowCurrentTheUnitsAreAndWhatKeepsTheServerAway) {
    StoreLogin(server.Address(), server.Administrator().login, server.Administrator().password);
    platform->clock.SetNow(1'700'000'000);  // 22:13 UTC, which the scripted clock shows
    const std::string at = server.Address();
    std::vector<std::pair<std::string, bool>> seen;  // the line, and whether the dots are grey
    std::string editDetails;
    Window().whileRunning = [&] {
        seen.emplace_back(Window().statusText, Window().units.Stale());
        platform->clock.SetNow(1'700'000'000 + 180);
        ASSERT_TRUE(server.SetFaults({"status-1"}));
        platform->timers.FireAll();  // the background refresh is refused
        AwaitWorkers();
        seen.emplace_back(Window().statusText, Window().units.Stale());

        platform->clock.SetNow(1'700'000'000 + 360);
        ASSERT_TRUE(server.SetFaults({}));
        platform->timers.FireAll();
        AwaitWorkers();
        seen.emplace_back(Window().statusText, Window().units.Stale());

        EXPECT_TRUE(server.Stop());  // a unit's settings, from nobody
        Window().units.ClickRow(0);
        platform->QueueAnswer(MessageAnswer::Ok, "Communication Error");
        Window().Events().OnCommand(c::kEditUnit);
        ASSERT_FALSE(platform->ShownMessages().empty());
        editDetails = platform->ShownMessages().back().details;
        seen.emplace_back(Window().statusText, Window().units.Stale());

        ASSERT_TRUE(server.Restart());
        views->login.script.Queue([&](LoginForm& form) {
            form.host = server.Address();
            FocusPasswordField(form);
            EditPasswordField(form, "wrong");
            return true;
        });
        platform->QueueAnswer(MessageAnswer::Ok, "Error Contacting Server");
        Window().Events().OnCommand(c::kLoginInfo);
        seen.emplace_back(Window().statusText, Window().units.Stale());
    };
    app->Run();
    EXPECT_EQ(editDetails, "Connection refused by " + at);
    EXPECT_EQ(
        seen,
        (std::vector<std::pair<std::string, bool>>{
            {"Units updated at 22:13 (12 units)", false},
            {"Request refused by " + at + " since 22:16 \x97 showing the list of 22:13", true},
            {"Units updated at 22:19 (12 units)", false},
            {"Connection refused by " + at + " since 22:19 \x97 showing the list of 22:19", true},
            {"Login refused since 22:19", true},  // over an emptied list
        }));
}

TEST_F(AppWithServer, TheSelectedUnitsPlaylistOpensAsAnUnnamedDocument) {
    StoreLogin(server.Address(), server.Operator().login, server.Operator().password);
    Window().whileRunning = [&] {
        int row = -1;
        ASSERT_TRUE(app->Venue().FindUnit(1, row));
        Window().units.ClickRow(row);
        Window().Events().OnCommand(c::kOpenUnitPlaylist);
        ASSERT_EQ(app->Playlist().ItemCount(), 1);
        EXPECT_EQ(app->Playlist().ClipAt(0)->path, "C:\\Media\\Office\\test_pattern.mpg");
        EXPECT_EQ(app->Playlist().FilePath(), "");
        EXPECT_EQ(Window().playlistTitle, "Current Playlist: < not named >");
        EXPECT_TRUE(Window().IsEnabled(c::kSavePlaylist));
    };
    app->Run();
}

// The progress dialog disables the main window; a close request then must
// not empty the unit list under the running pass, which would read unit
// number 0 for the remaining rows and rewrite unit 0's instruction file.
TEST_F(AppWithServer, ClosingDuringADeploymentToAllUnitsIsRefused) {
    StoreLogin(server.Address(), server.Operator().login, server.Operator().password);
    views->confirmation.script.Queue([](ConfirmForm& form) {
        form.typed = form.word;
        return true;
    });
    int closesWhileBusy = 0;
    platform->windows.OnPump([&] {
        if (closesWhileBusy == 0 && !platform->windows.IsEnabled(Window().window)) {
            ++closesWhileBusy;
            Window().Events().OnCloseRequest();
        }
    });
    int unitsAfter = -1;
    Window().whileRunning = [&] {
        const std::string clip = dir.File("intro.mpg");
        ASSERT_TRUE(testing::WriteFileBytes(clip, "a clip"));
        Window().playlist.DropFiles({clip});
        platform->QueueAnswer(MessageAnswer::Ok, "SUCCESS");
        Window().Events().OnCommand(c::kDeployToAll);
        EXPECT_FALSE(Window().quit);
        unitsAfter = app->Venue().ItemCount();
        platform->QueueAnswer(MessageAnswer::No, "Play-List file has un-saved changes");
        Window().Events().OnCloseRequest();  // once it has ended the window closes
        EXPECT_TRUE(Window().quit);
    };
    app->Run();
    EXPECT_EQ(closesWhileBusy, 1);
    EXPECT_EQ(unitsAfter, 8);
    EXPECT_FALSE(FileExists(server.DataDir() + "/units/0"));
    EXPECT_EQ(platform->ShownMessages().size(), 2u);  // the success and the save question
}

}  // namespace
}  // namespace vantic
