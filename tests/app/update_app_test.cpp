// The software update inside the program: the check when the main window
// is made, and "Check for Updates...".

#include "core/cpstring.h"
#include "net/update_key/update_signing_key.h"
#include "net/update_signature.h"
#include "tests/app/app_fixture.h"
#include "tests/support/server_runner.h"
#include "tests/support/update_server_runner.h"

namespace vantic::testing {
namespace {

class UpdateInApp : public AppFixture {
  protected:
    // The test programs are built with the test key's public half, so the
    // program itself verifies what the tests sign.
    UpdateInApp() {
        std::optional<RsaPrivateKey> key = LoadPrivateKeyFile(TestUpdateKeyFile());
        EXPECT_TRUE(key.has_value());
        signingKey = key.value_or(RsaPrivateKey{});
        EXPECT_EQ(UpdateSigningKey().modulus, signingKey.modulus);
        EXPECT_EQ(UpdateSigningKey().exponent, signingKey.publicExponent);
    }

    RsaPrivateKey signingKey;
};

// A due check at start-up runs once the window is placed, the units are
// listed and the last playlist is open: an installer that starts ends the
// program with both stored as they were; one that cannot start leaves the
// program as it was, lists filled and the playlist open, and says why.
class UpdateAtStart : public UpdateInApp, public ::testing::WithParamInterface<bool> {};

TEST_P(UpdateAtStart, RunsAfterTheStartUpAndKeepsItsState) {
    const bool installerStarts = GetParam();
    ServerRunner units;
    ASSERT_TRUE(units.Ok() && CopyFileOver(units.KeyFile(), dir.File("p.key")));
    StoreLogin(units.Address(), units.Operator().login, units.Operator().password);
    UpdateServerRunner server;
    const std::string program = "#!/bin/sh\nexit 0\n";
    const Bytes signature = SignUpdateProgram(AsBytes(program), signingKey).value_or(Bytes{});
    ASSERT_TRUE(server.Publish("update1.exe", program) &&
                server.Publish("update1.sig", std::string(signature.begin(), signature.end())));
    app->SetString("Update_Server", server.Address());
    app->SetInt("Update_Check_Option", 1);
    app->SetInt("Last_Update_Check_Time", static_cast<int>(platform->clock.Now()) - 604'800);
    const std::string night = dir.File("night.ply");
    ASSERT_TRUE(
        WriteFileBytes(night, "0\t/media/n.mpg\tAuto\t\t12 KB\tAll\tloop\tNone\tNone\tA\tx"));
    app->SetString(kLastPlaylistFileKey, night);
    const std::pair<const char*, int> placement[] = {{"Main_Window_Dim_x", 40},
                                                     {"Main_Window_Dim_y", 30},
                                                     {"Main_Window_Dim_dx", 900},
                                                     {"Main_Window_Dim_dy", 650}};
    for (const auto& [key, value] : placement) {
        app->SetInt(key, value);
    }
    platform->shell.result = installerStarts;
    platform->QueueAnswer(MessageAnswer::Yes, "Install New Update?");
    if (!installerStarts) {
        platform->QueueAnswer(MessageAnswer::Ok, "Update Error");
    }
    Window().whileRunning = [&] {
        if (!installerStarts) {
            EXPECT_EQ(platform->ShownMessages().back().text, "The update could not be started");
            EXPECT_EQ(platform->messageBoxes.LastDetails(), platform->shell.failureCause);
            EXPECT_EQ(app->Venue().ItemCount(), 8) << "the units are listed again";
            EXPECT_EQ(app->Playlist().FilePath(), night);
            EXPECT_EQ(app->Playlist().ItemCount(), 1);
            EXPECT_EQ(app->Venue().Control()->ColumnCount(), 5) << "columns not added again";
            EXPECT_EQ(app->Playlist().Control()->ColumnCount(), app->Playlist().ColumnCount());
            Window().Events().OnCommand(command::kExit);
        }
    };
    app->Run();
    ASSERT_EQ(platform->shell.opened.size(), 1u);
    EXPECT_EQ(platform->shell.opened[0].target, dir.File("newupdate.exe"));
    EXPECT_EQ(platform->shell.opened[0].parameters, "/silent");
    EXPECT_LT(LogIndex("main dialog"), LogIndex("quit"));
    EXPECT_EQ(app->GetString(kLastPlaylistFileKey, 260), night);
    for (const auto& [key, value] : placement) {
        EXPECT_EQ(app->GetInt(key, 0), value) << key;
    }
}

INSTANTIATE_TEST_SUITE_P(InstallerStarts, UpdateAtStart, ::testing::Bool());

TEST_F(UpdateInApp, MenuCommandAsksAndReportsAnUnreachableServerAsCurrent) {
    StoreLoginNameOnly("operator");
    app->SetString("Update_Server", kNoServer);
    Window().whileRunning = [&] {
        views->autoUpdates.script.QueueOk();
        platform->QueueAnswer(MessageAnswer::Ok, "Software is Current");
        Window().Events().OnCommand(command::kCheckForUpdates);
    };
    app->Run();
    EXPECT_EQ(views->autoUpdates.owners, std::vector<WindowId>{Window().window});
    EXPECT_EQ(app->GetInt("Last_Update_Check_Time", 0), static_cast<int>(platform->clock.Now()));
    EXPECT_TRUE(platform->shell.opened.empty());
}

}  // namespace
}  // namespace vantic::testing
