#pragma once

// An application object on the scripted platform and views, in a program
// directory of its own that holds "p.key" and "config.ini".

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/app.h"
#include "framework/program_path.h"
#include "tests/app/scripted_views.h"
#include "tests/support/scripted_platform.h"
#include "tests/support/temp_dir.h"

namespace vantic::testing {

class AppFixture : public ::testing::Test {
  protected:
    AppFixture() {
        SetProgramDirectoryForTesting(dir.Path());
        EXPECT_TRUE(WriteFileBytes(dir.File("p.key"), "key"));
        auto ownPlatform = std::make_unique<ScriptedPlatform>();
        platform = ownPlatform.get();
        platform->displays.monitors = std::vector<Rect>{Rect{0, 0, 1024, 768}};
        auto ownViews = std::make_unique<ScriptedViews>(*platform);
        views = ownViews.get();
        app = std::make_unique<App>(std::move(ownPlatform), std::move(ownViews));
        app->SetSettingsLocation(SettingsLocation{dir.Path(), ""});
        app->Init();
    }
    ~AppFixture() override {
        app.reset();
        SetProgramDirectoryForTesting("");
    }

    // A server nothing listens on: a fetch from it fails at once.
    static constexpr const char* kNoServer = "127.0.0.1:1";

    // The server, the login name and a remembered password: the start-up
    // fetches the units at once.
    void StoreLogin(const std::string& host, const std::string& name, const std::string& password) {
        app->SetString("Distribution_Server", host);
        app->SetString("Distribution_Username", name);
        app->SetString("Distribution_Userpass", password);
        app->SetInt("Distribution_Userpass_Remember", 1);
    }
    // The server and the login name, no password: the start-up opens the
    // login form, which the test's operator cancels.
    void StoreLoginNameOnly(const std::string& name, bool cancelLoginForm = true) {
        app->SetString("Distribution_Server", kNoServer);
        app->SetString("Distribution_Username", name);
        if (cancelLoginForm) {
            views->login.script.QueueCancel();
        }
    }

    [[nodiscard]] ScriptedMainWindow& Window() { return views->mainWindow; }
    [[nodiscard]] bool LogHas(const std::string& line) const {
        return std::find(views->log.begin(), views->log.end(), line) != views->log.end();
    }
    // Position of a line in the log; -1 when absent.
    [[nodiscard]] int LogIndex(const std::string& line) const {
        const auto found = std::find(views->log.begin(), views->log.end(), line);
        return found == views->log.end() ? -1 : static_cast<int>(found - views->log.begin());
    }

    TempDir dir;
    ScriptedPlatform* platform = nullptr;
    ScriptedViews* views = nullptr;
    std::unique_ptr<App> app;
};

}  // namespace vantic::testing
