#include <gtest/gtest.h>

#include "app/app.h"
#include "core/cpstring.h"
#include "tests/app/app_fixture.h"

namespace vantic {
namespace {

using testing::AppFixture;
namespace c = command;

using AppStartup = AppFixture;

TEST_F(AppStartup, AMissingKeyFileShowsItsFullPathAndStopsBeforeTheWindow) {
    ASSERT_TRUE(RemoveFile(dir.File("p.key")));
    platform->QueueAnswer(MessageAnswer::Ok, "ERROR - COULD NOT READ REQUIRED FILE");
    app->Run();

    ASSERT_EQ(platform->ShownMessages().size(), 1u);
    const Message& shown = platform->ShownMessages()[0];
    EXPECT_EQ(shown.text, dir.File("p.key"));
    // The details name every place looked in, the system folder last.
    const std::string& details = platform->messageBoxes.LastDetails();
    EXPECT_NE(details.find(dir.File("p.key") + "\r\n"), std::string::npos);
    EXPECT_TRUE(details.ends_with("\r\n/etc/vantic-controller/p.key"));
    EXPECT_EQ(shown.owner, kNoWindow);
    EXPECT_EQ(shown.icon, MessageIcon::Error);
    EXPECT_FALSE(LogHas("create window Vantic Controller 4.1"));
    EXPECT_EQ(app->KeyFilePath(), dir.File("p.key"));
    EXPECT_EQ(app->Login().Settings().KeyFilePath(), dir.File("p.key"));
}

TEST_F(AppStartup, ASecondStartHandsOverAndShowsNothingNotEvenTheKeyCheck) {
    ASSERT_TRUE(RemoveFile(dir.File("p.key")));
    views->instances.otherRunning = true;
    app->Run();
    EXPECT_TRUE(platform->ShownMessages().empty());
    EXPECT_EQ(views->log, std::vector<std::string>{"look for Vantic Controller"});
}

TEST_F(AppStartup, TheFirstInstanceComesToTheFrontWhenAnotherStarts) {
    StoreLoginNameOnly("operator");
    Window().whileRunning = [&] { views->instances.activate(); };
    app->Run();
    EXPECT_TRUE(LogHas("bring to front"));
}

TEST_F(AppStartup, AWindowThatCannotBeMadeIsReported) {
    Window().refuseWindow = true;
    platform->QueueAnswer(MessageAnswer::Ok, "ERROR");
    app->Run();
    ASSERT_EQ(platform->ShownMessages().size(), 1u);
    EXPECT_EQ(platform->ShownMessages()[0].text, "Could not initialize application");
    EXPECT_FALSE(LogHas("status bar Ready..."));
}

TEST_F(AppStartup, TheWindowIsBuiltInOrderAndTheSplashShowsWhileItIsMade) {
    StoreLoginNameOnly("operator");
    app->Run();
    const std::vector<std::string> order = {"claim Vantic Controller",
                                            "create window Vantic Controller 4.1",
                                            "splash show",
                                            "splash close",
                                            "status bar Ready...",
                                            "main dialog",
                                            "tab 0 Video",
                                            "tab 1 Video - Alt",
                                            "tab 2 Audio A",
                                            "tab 3 Audio B",
                                            "show window",
                                            "post 40003",
                                            "post 40011",
                                            "loop",
                                            "destroy window"};
    int last = -1;
    for (const std::string& step : order) {
        const int at = LogIndex(step);
        EXPECT_GT(at, last) << step;
        last = at;
    }
    // The splash waited its two seconds, dispatching messages meanwhile.
    int slept = 0;
    for (int ms : platform->clock.Sleeps()) {
        slept += ms;
    }
    EXPECT_GE(slept, 2000);
    EXPECT_LE(slept, 2100);
    EXPECT_GT(platform->windows.PumpCount(), 0);
    // Both lists got their columns.
    EXPECT_EQ(Window().units.Columns().size(), 5u);
    EXPECT_EQ(Window().playlist.Columns().size(), 10u);
}

TEST_F(AppStartup, WithoutAStoredPasswordTheLoginFormOpensBeforeAnyFetch) {
    StoreLoginNameOnly("operator", false);
    views->login.script.Queue([&](LoginForm& form) {
        // Nothing was fetched: a fetch from this server would have failed
        // with a message.
        EXPECT_TRUE(platform->ShownMessages().empty());
        EXPECT_TRUE(LogHas("loop"));
        EXPECT_EQ(form.host, kNoServer);
        EXPECT_EQ(form.loginName, "operator");
        EXPECT_EQ(form.focus, LoginFormFocus::Password);
        return false;
    });
    app->Run();
    ASSERT_EQ(views->login.owners.size(), 1u);
    EXPECT_EQ(views->login.owners[0], Window().window);
    EXPECT_EQ(app->Venue().ItemCount(), 0);
}

TEST_F(AppStartup, WithStoredCredentialsTheUnitsAreFetchedBeforeTheLoopRuns) {
    StoreLogin(kNoServer, "operator", "secret");
    platform->QueueAnswer(MessageAnswer::Ok, "Error Contacting Server");
    Window().whileRunning = [&] {
        ASSERT_EQ(platform->ShownMessages().size(), 1u);
        EXPECT_EQ(platform->ShownMessages()[0].text, "Unable to get information from server.");
        EXPECT_EQ(platform->ShownMessages()[0].owner, Window().window);
    };
    app->Run();
    EXPECT_FALSE(LogHas("post 40003"));
    EXPECT_LT(LogIndex("show window"), LogIndex("post 40011"));
}

TEST_F(AppStartup, AdministratorItemsStayOnlyForTheAdministratorInAnyCase) {
    StoreLoginNameOnly("SOVRA");
    app->Run();
    for (int id : {c::kNewFirmware, c::kNewOwner, c::kAdminConfig, c::kActivityReport}) {
        EXPECT_TRUE(Window().InMenu(id)) << id;
    }
}

TEST_F(AppStartup, OtherLoginsLoseTheAdministratorItemsUntilTheNextStart) {
    StoreLoginNameOnly("operator");
    views->login.script.Queue([](LoginForm& form) {
        form.loginName = "sovra";
        EditPasswordField(form, "secret");
        return true;
    });
    // The confirmed form fetches the units again, from a server that is not there.
    platform->QueueAnswer(MessageAnswer::Ok, "Error Contacting Server");
    Window().whileRunning = [&] { Window().Events().OnCommand(c::kLoginInfo); };
    app->Run();
    EXPECT_EQ(app->GetString("Distribution_Username", 24), "sovra");
    for (int id : {c::kNewFirmware, c::kNewOwner, c::kAdminConfig, c::kActivityReport}) {
        EXPECT_FALSE(Window().InMenu(id)) << id;
    }
    EXPECT_TRUE(Window().InMenu(c::kNewTimezone));
}

TEST_F(AppStartup, TheSavedPlacementIsRestoredAndStoredAgainByExit) {
    StoreLoginNameOnly("operator");
    app->SetInt("Main_Window_Dim_x", 40);
    app->SetInt("Main_Window_Dim_y", 30);
    app->SetInt("Main_Window_Dim_dx", 900);
    app->SetInt("Main_Window_Dim_dy", 650);
    Window().whileRunning = [&] {
        EXPECT_EQ(platform->windows.ScreenRect(Window().window), (Rect{40, 30, 940, 680}));
        platform->windows.SetStoredRect(Window().window, Rect{60, 70, 1000, 770});
        Window().Events().OnCommand(c::kExit);
    };
    app->Run();
    EXPECT_TRUE(Window().quit);
    EXPECT_EQ(app->GetInt("Main_Window_Dim_x", 0), 60);
    EXPECT_EQ(app->GetInt("Main_Window_Dim_dy", 0), 700);
}

}  // namespace
}  // namespace vantic
