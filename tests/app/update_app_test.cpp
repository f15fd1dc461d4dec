// The software update inside the program: the check when the main window
// is made, and "Check for Updates...".

#include "core/cpstring.h"
#include "net/update_key/update_signing_key.h"
#include "net/update_signature.h"
#include "tests/app/app_fixture.h"
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

TEST_F(UpdateInApp, DueCheckAtStartInstallsAndEndsBeforeTheMainDialog) {
    UpdateServerRunner server;
    ASSERT_TRUE(server.Ok()) << server.Error();
    const std::string program = "#!/bin/sh\nexit 0\n";
    std::optional<Bytes> signature = SignUpdateProgram(AsBytes(program), signingKey);
    ASSERT_TRUE(signature);
    ASSERT_TRUE(server.Publish("update1.exe", program));
    ASSERT_TRUE(server.Publish("update1.sig", std::string(signature->begin(), signature->end())));
    app->SetString("Update_Server", server.Address());
    app->SetInt("Update_Check_Option", 1);
    app->SetInt("Last_Update_Check_Time", static_cast<int>(platform->clock.Now()) - 604'800);
    platform->QueueAnswer(MessageAnswer::Yes, "Install New Update?");

    app->Run();

    ASSERT_EQ(platform->shell.opened.size(), 1u);
    EXPECT_EQ(platform->shell.opened[0].target, dir.File("newupdate.exe"));
    EXPECT_EQ(platform->shell.opened[0].parameters, "/silent");
    EXPECT_TRUE(Window().quit);
    EXPECT_EQ(platform->ShownMessages()[0].owner, Window().window);
    EXPECT_FALSE(LogHas("main dialog"));
    EXPECT_TRUE(LogHas("destroy window"));
}

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
