// The administration commands end to end against the reference server:
// the forms answered by script, files read back from the server's data
// directory.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "framework/program_path.h"
#include "net/hex.h"
#include "net/md5.h"
#include "tests/app/deploy_rig.h"
#include "tests/support/shared_server.h"
#include "units/admin_commands.h"

namespace vantic {
namespace {

using testing::ReadFileBytes;
using testing::WriteFileBytes;

constexpr const char* kLogin = "keeper";
constexpr const char* kPassword = "Vb4nQe8Rtz";

// Settings lines ("key=value") of a unit's file, in order.
std::vector<std::string> SettingsOf(const std::string& text) {
    EntrySet set;
    EXPECT_TRUE(TextToEntrySet(text, set)) << text;
    std::vector<std::string> lines;
    for (const PlayEntry& entry : set.Settings()) {
        lines.push_back(entry.key + "=" + entry.value);
    }
    return lines;
}

class AdminServerTest : public testing::SharedServerTest {
  protected:
    static void SetUpTestSuite() { SetUpTestSuiteWithAccount(kLogin, kPassword, "*"); }

    void SetUp() override {
        SharedServerTest::SetUp();
        if (HasFatalFailure()) {
            return;
        }
        rig_->LogIn(server_->Address(), kLogin, kPassword);
        SetProgramDirectoryForTesting(rig_->dir.Path());
        ASSERT_TRUE(StoreUnitList("1\tOffice\tOK\t\t\n2\tLobby\tOK\t\t\n3\tBar\tOK\t\t\n"));
        for (std::uint32_t unit : {1u, 2u, 3u}) {
            ASSERT_TRUE(
                StoreInstructions(unit,
                                  "0\t/media/a.mpg\tAuto\t\t1 KB\tAll\tloop\tNone\tNone\tA\t\n"
                                  "4\tcrawl\t1\n4\tnotes\tcaf\xe9"));
        }
        ASSERT_TRUE(rig_->venue.Refresh(rig_->mainWindow));
        ASSERT_EQ(rig_->venue.ItemCount(), 3);
    }
    void TearDown() override { SetProgramDirectoryForTesting(""); }

    static std::string OwnersPath() { return server_->DataDir() + "/owners.txt"; }
    static std::string Media(const std::string& contentName) {
        return ReadFileBytes(server_->DataDir() + "/media/" + contentName);
    }
    // Confirms the deployment that follows and takes its success message.
    void ConfirmDeployment() {
        rig_->confirm.Type("yes");
        rig_->platform.QueueAnswer(MessageAnswer::Ok, "SUCCESS");
    }

    // Made before SetUp: the commands' context refers to its parts.
    std::unique_ptr<testing::DeployRig> rig_ =
        std::make_unique<testing::DeployRig>(server_->KeyFile());
    testing::ScriptedAdminForms forms_;
    IntSettingsOf<WReg> settings_{rig_->settings};
    int refreshes_ = 0;
    AdminContext context_{rig_->deployment.Context(), forms_, rig_->platform.Files(), settings_,
                          [this] { ++refreshes_; }};
};

TEST_F(AdminServerTest, CrawlTextIsKeptAndSentBeforeTheIntervalIsChecked) {
    rig_->Select({2, 3});
    const std::string text = "Welcome <time>\r\n<rss:http://news.example.com/feed.xml> caf\xe9\r\n";
    forms_.crawl.Queue([&](CrawlForm& form) {
        form.text = text;
        form.refresh = "0";
        return true;
    });
    forms_.crawl.QueueCancel();
    rig_->platform.QueueAnswer(MessageAnswer::Ok, "ERROR");
    const std::string before = Instructions(2);
    EXPECT_FALSE(SetCrawlText(context_).has_value());

    EXPECT_EQ(rig_->Messages(),
              std::vector<std::string>{"ERROR: Refresh interval must be between 1 and 500000"});
    EXPECT_EQ(rig_->platform.ShownMessages()[0].icon, MessageIcon::Warning);
    EXPECT_EQ(rig_->platform.ShownMessages()[0].owner, testing::ScriptedAdminForms::kFormWindow);
    EXPECT_EQ(ReadFileBytes(rig_->dir.File("crawl.dat")), text);
    const std::string contentName = HexEncode(*Md5File(rig_->dir.File("crawl.dat")));
    EXPECT_EQ(Media(contentName), text);
    EXPECT_EQ(Instructions(2), before);
    // The first opening shows the default interval and no text.
    EXPECT_EQ(forms_.crawl.Opened().at(0).refresh, "5");
    EXPECT_EQ(forms_.crawl.Opened().at(0).text, "");

    // A valid interval closes the form and deploys both settings.
    forms_.crawl.Queue([](CrawlForm& form) {
        form.refresh = "15";
        return true;
    });
    ConfirmDeployment();
    EXPECT_EQ(SetCrawlText(context_), DeployResult::Succeeded);
    EXPECT_EQ(forms_.crawl.Opened().back().text, text);
    for (std::uint32_t unit : {2u, 3u}) {
        EXPECT_EQ(SettingsOf(Instructions(unit)),
                  (std::vector<std::string>{"crawldata=" + contentName, "crawlrefresh=15",
                                            "crawl=1", "notes=caf\xe9"}));
    }
    EXPECT_EQ(Instructions(1).find("crawldata"), std::string::npos);

    // The next opening starts from what was sent.
    forms_.crawl.QueueCancel();
    EXPECT_FALSE(SetCrawlText(context_).has_value());
    EXPECT_EQ(forms_.crawl.Opened().back().text, text);
    EXPECT_EQ(forms_.crawl.Opened().back().refresh, "15");
}

TEST_F(AdminServerTest, AdminConfigSendsTheAcceptedLinesAsTyped) {
    rig_->Select({3});
    forms_.adminConfig.QueueOk();  // empty: the form stays open
    forms_.adminConfig.Queue([](AdminConfigForm& form) {
        form.text = "UpdateFreq=6\r\n=x\rnovalue\n  crawl = 1 \t";
        return true;
    });
    ConfirmDeployment();
    EXPECT_EQ(EditAdminConfig(context_), DeployResult::Succeeded);
    EXPECT_EQ(forms_.adminConfig.Opened().size(), 2u);
    // "crawl " is a key of its own: the unit keeps its "crawl" beside it.
    // (Reading a file trims its fields, so the blanks show in the raw text.)
    const std::string after = Instructions(3);
    EXPECT_EQ(SettingsOf(after),
              (std::vector<std::string>{"UpdateFreq=6", "crawl=1", "crawl=1", "notes=caf\xe9"}));
    EXPECT_NE(after.find("4\tcrawl \t 1"), std::string::npos) << after;
    EXPECT_NE(after.find("4\tcrawl\t1"), std::string::npos) << after;
}

TEST_F(AdminServerTest, TimeZoneAndFirmware) {
    rig_->Select({1});
    forms_.timezone.QueueOk();
    ConfirmDeployment();
    EXPECT_EQ(SendNewTimezone(context_), DeployResult::Succeeded);
    EXPECT_EQ(SettingsOf(Instructions(1)).at(0), "TimezonePending=/usr/share/zoneinfo/CST6CDT");

    // A cancelled chooser uploads and deploys nothing.
    const std::string before = Instructions(1);
    rig_->platform.QueueFileChoice(std::nullopt);
    EXPECT_FALSE(SendNewFirmware(context_).has_value());
    EXPECT_EQ(Instructions(1), before);
    const FileDialogRequest& request = rig_->platform.fileDialogs.ShownDialogs().at(0).request;
    EXPECT_EQ(request.title, "Choose Firmware File");
    ASSERT_EQ(request.filters.size(), 1u);
    EXPECT_EQ(request.filters[0].name + " " + request.filters[0].patterns,
              "Firmware upgrade files *.tgz");

    const std::string archive = rig_->dir.File("fw-4.2.tgz");
    ASSERT_TRUE(WriteFileBytes(archive, std::string(70000, '\x1f') + rig_->dir.Path()));
    rig_->platform.QueueFileChoice(archive);
    ConfirmDeployment();
    EXPECT_EQ(SendNewFirmware(context_), DeployResult::Succeeded);
    const std::string contentName = HexEncode(*Md5File(archive));
    EXPECT_EQ(Media(contentName), ReadFileBytes(archive));
    EXPECT_EQ(SettingsOf(Instructions(1)).at(0), "FirmwarePending=" + contentName);
}

TEST_F(AdminServerTest, NewOwnerSkipsUnitOneAndNeedsTheTypedYes) {
    ASSERT_TRUE(WriteFileBytes(OwnersPath(), "1=Head Office\n2=Old\n9=Other\n"));
    rig_->Select({1, 2, 3});
    forms_.ownerForm.Queue([](OwnerForm& form) {
        form.text = " \t ";  // nothing left: the form stays open
        return true;
    });
    forms_.ownerForm.Queue([](OwnerForm& form) {
        form.text = "Acme Corp";
        return true;
    });
    rig_->confirm.script.QueueCancel();
    EXPECT_EQ(SetNewOwner(context_), OwnerResult::NotConfirmed);
    EXPECT_EQ(ReadFileBytes(OwnersPath()), "1=Head Office\n2=Old\n9=Other\n");
    EXPECT_EQ(refreshes_, 0);

    forms_.ownerForm.Queue([](OwnerForm& form) {
        form.text = "Acme Corp";
        return true;
    });
    rig_->confirm.Type("yes");
    EXPECT_EQ(SetNewOwner(context_), OwnerResult::Stored);
    EXPECT_EQ(ReadFileBytes(OwnersPath()), "3=AcmeCorp\n2=AcmeCorp\n1=Head Office\n9=Other\n");
    EXPECT_EQ(refreshes_, 1);
    EXPECT_TRUE(rig_->Messages().empty());

    // Without a table to change the command ends before its form.
    std::filesystem::remove(OwnersPath());
    EXPECT_EQ(SetNewOwner(context_), OwnerResult::Ended);
}

}  // namespace
}  // namespace vantic
