// Deploy's checks and the paths that end before any unit is touched, on the
// scripted platform. No server answers here: the login names a port nothing
// listens on, so a request that should not be made fails the test.

#include "units/deploy.h"

#include <gtest/gtest.h>

#include "tests/app/deploy_rig.h"

namespace vantic {
namespace {

namespace layout = progress_layout;

constexpr const char* kNowhere = "127.0.0.1:1";
const std::string kUnits = "4\tLobby\tOK\t\t\n9\tBar\tOK\t\t\n17\tDoor\tOK\t\t\n";

std::string ClipLine(int channel, const std::string& path) {
    return std::to_string(channel) + "\t" + path + "\tAuto\t\t12 KB\tAll\tloop\tNone\tNone\tA\t";
}

class DeployTest : public ::testing::Test {
  protected:
    DeployTest() { rig.LogIn(kNowhere, "operator", "secret"); }

    [[nodiscard]] const Message& LastMessage() const { return rig.platform.ShownMessages().back(); }
    [[nodiscard]] bool MainWindowEnabled() const {
        return rig.platform.windows.IsEnabled(rig.mainWindow);
    }

    testing::DeployRig rig;
};

TEST_F(DeployTest, DeployToAllAsAdministratorIsRefusedFirstEvenWithNoUnits) {
    rig.LogIn(kNowhere, "SoVrA", "secret");
    rig.platform.QueueAnswer(MessageAnswer::Ok, "Not Allowed");
    EXPECT_EQ(rig.Deploy(DeployRequest::Channel(DeployTo::AllUnits())), DeployResult::Refused);
    EXPECT_EQ(rig.Messages(),
              (std::vector<std::string>{"Not Allowed: Deploy-To-All not allowed as Admin user!!"}));
    EXPECT_EQ(LastMessage().owner, rig.mainWindow);
    EXPECT_EQ(LastMessage().icon, MessageIcon::Warning);
    EXPECT_TRUE(rig.platform.progress.Records().empty());

    // The administrator may deploy to selected units; the list check comes next.
    rig.platform.QueueAnswer(MessageAnswer::Ok, "No player units in list!");
    EXPECT_EQ(rig.Deploy(DeployRequest::Channel(DeployTo::Selected())), DeployResult::Refused);
    EXPECT_EQ(rig.Messages().back(),
              "No player units in list!: Please check your user name and password.");
}

TEST_F(DeployTest, SelectedUnitsOnlyNeedsASelection) {
    rig.ShowUnits(kUnits);
    rig.platform.QueueAnswer(MessageAnswer::Ok, "No Units Selected For Deployment");
    EXPECT_EQ(rig.Deploy(DeployRequest::Settings(DeployTo::Selected(),
                                                 EntryList{NewSettingEntry("crawl", "1")})
                             .Quiet()),
              DeployResult::Refused);
    EXPECT_EQ(
        rig.Messages(),
        (std::vector<std::string>{"No Units Selected For Deployment: No player units selected!"}));
    EXPECT_EQ(LastMessage().icon, MessageIcon::Warning);
    EXPECT_TRUE(rig.confirm.script.Opened().empty());
}

TEST_F(DeployTest, ACancelledConfirmationEndsSilently) {
    rig.ShowUnits(kUnits);
    rig.confirm.Type("ye");
    rig.confirm.script.QueueCancel();
    EXPECT_EQ(rig.Deploy(DeployRequest::Channel(DeployTo::AllUnits())), DeployResult::NotConfirmed);
    ASSERT_EQ(rig.confirm.script.Opened().size(), 2u);  // "ye" kept it open
    EXPECT_EQ(rig.confirm.script.Opened()[0].layout, kConfirmChannelLayout);
    EXPECT_EQ(rig.confirm.owners, (std::vector<WindowId>{rig.mainWindow}));
    EXPECT_TRUE(rig.Messages().empty());
    EXPECT_TRUE(rig.platform.progress.Records().empty());

    rig.Select({9});
    rig.confirm.script.QueueCancel();
    EXPECT_EQ(rig.Deploy(DeployRequest::Settings(DeployTo::Selected(), EntryList{})),
              DeployResult::NotConfirmed);
    EXPECT_EQ(rig.confirm.script.Opened().back().layout, kConfirmLayout);
}

TEST_F(DeployTest, AnEmptyPlaylistIsDeployedOnlyAfterYes) {
    rig.ShowUnits(kUnits);
    rig.Select({4, 17});
    for (MessageAnswer answer : {MessageAnswer::No, MessageAnswer::Cancel}) {
        rig.confirm.Type("yes");
        rig.platform.QueueAnswer(answer, "LIST IS EMPTY");
        EXPECT_EQ(rig.Deploy(DeployRequest::Channel(DeployTo::Selected())), DeployResult::Failed);
        const Message& question = LastMessage();
        EXPECT_EQ(question.text, "Are you sure you want to deploy an empty list?");
        EXPECT_EQ(question.buttons, MessageButtons::YesNoCancel);
        EXPECT_TRUE(question.noIsDefault);
        EXPECT_EQ(question.icon, MessageIcon::Warning);
        EXPECT_EQ(question.owner, rig.platform.progress.Last()->Id());
        EXPECT_EQ(rig.deployment.Progress().OverallMaximum(), 2u);
        EXPECT_FALSE(rig.platform.progress.AnyOpen());
        EXPECT_TRUE(MainWindowEnabled());
        EXPECT_TRUE(rig.StatusLines().empty());
    }
}

TEST_F(DeployTest, AClipWhoseMediaCannotBeHadNamesItsFileAndStops) {
    rig.ShowUnits(kUnits);
    rig.Select({9});
    const std::string missing = rig.dir.File("missing.mpg");
    ASSERT_TRUE(rig.OpenPlaylist(ClipLine(1, missing) + "\r\n" + ClipLine(1, missing), 1));
    rig.confirm.Type("yes");
    rig.platform.QueueAnswer(MessageAnswer::Ok, "Error uploading media file");
    EXPECT_EQ(rig.Deploy(DeployRequest::Channel(DeployTo::Selected())), DeployResult::Failed);
    EXPECT_EQ(rig.Messages(), (std::vector<std::string>{"Error uploading media file: " + missing}));
    EXPECT_EQ(LastMessage().icon, MessageIcon::Warning);
    EXPECT_EQ(LastMessage().details, "The file could not be read");
    EXPECT_EQ(LastMessage().owner, rig.platform.progress.Last()->Id());
    // One target and two clips; the first clip failed before its step.
    EXPECT_EQ(rig.deployment.Progress().OverallMaximum(), 3u);
    EXPECT_EQ(rig.deployment.Progress().OverallPosition(), 0u);
    EXPECT_EQ(rig.platform.progress.Last()->layout, layout::kOperation);
    EXPECT_FALSE(rig.platform.progress.AnyOpen());
    EXPECT_TRUE(MainWindowEnabled());
}

// A clip that can be read, and a server that is not there: the box whose
// text is the path says why in its details.
TEST_F(DeployTest, AFailedUploadTellsWhyBesideThePath) {
    rig.ShowUnits(kUnits);
    rig.Select({9});
    const std::string clip = rig.dir.File("intro.mpg");
    ASSERT_TRUE(testing::WriteFileBytes(clip, "a clip"));
    ASSERT_TRUE(rig.OpenPlaylist(ClipLine(1, clip), 1));
    rig.confirm.Type("yes");
    rig.platform.QueueAnswer(MessageAnswer::Ok, "Error uploading media file");
    EXPECT_EQ(rig.Deploy(DeployRequest::Channel(DeployTo::Selected())), DeployResult::Failed);
    EXPECT_EQ(LastMessage().text, clip);
    EXPECT_EQ(LastMessage().details, "Connection refused by 127.0.0.1:1");
}

TEST_F(DeployTest, ALoginFormCancelledOverTheProgressEndsSilently) {
    rig.LogIn(kNowhere, "operator", "");  // the password was not remembered
    rig.ShowUnits(kUnits);
    rig.loginView.script.QueueCancel();
    rig.confirm.Type("YES");
    EXPECT_EQ(rig.Deploy(DeployRequest::Settings(DeployTo::AllUnits(),
                                                 EntryList{NewSettingEntry("crawl", "0")})),
              DeployResult::Failed);
    EXPECT_TRUE(rig.Messages().empty());
    EXPECT_EQ(rig.loginView.owners, (std::vector<WindowId>{rig.platform.progress.Last()->Id()}));
    EXPECT_EQ(rig.StatusLines(),
              (std::vector<std::string>{"Media Player #4 - Downloading Configuration"}));
    EXPECT_EQ(rig.deployment.Progress().OverallMaximum(), 3u);
}

}  // namespace
}  // namespace vantic
