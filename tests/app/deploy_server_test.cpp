// Deployments end to end against the reference distribution server: the
// unit list fetched from it, media uploaded to it, and the units' files
// read back from its data directory, with faults switched on mid-run.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <random>
#include <utility>

#include "net/hex.h"
#include "net/md5.h"
#include "tests/app/deploy_rig.h"
#include "tests/support/pause_counter.h"
#include "tests/support/shared_server.h"

namespace vantic {
namespace {

namespace layout = progress_layout;
using testing::ReadFileBytes;
using testing::WriteFileBytes;

constexpr const char* kLogin = "deployer";
constexpr const char* kPassword = "Qw7mZp2kLx";

std::string ClipLine(int channel, const std::string& path, const std::string& notes = "") {
    return std::to_string(channel) + "\t" + path + "\tAuto\t\t12 KB\tAll\tloop\tNone\tNone\t" +
           (channel == 3 ? "B" : "A") + "\t" + notes;
}

// What a unit holds before a test: clips on three channels and two settings.
std::string InitialFile(std::uint32_t unit) {
    const std::string name = std::to_string(unit);
    return ClipLine(0, "/media/old_" + name + ".mpg") + "\n" + ClipLine(1, "/media/alt.mpg") +
           "\n" + ClipLine(3, "/media/song.mp3", "caf\xe9 " + name) +
           "\n4\tcrawlsize\t8\n4\tnotes\tLobby \xab" + name + "\xbb";
}

EntrySet Parse(const std::string& text) {
    EntrySet set;
    EXPECT_TRUE(TextToEntrySet(text, set)) << text;
    return set;
}

class DeployServerTest : public testing::SharedServerTest {
  protected:
    static void SetUpTestSuite() { SetUpTestSuiteWithAccount(kLogin, kPassword, "*"); }

    void SetUp() override {
        SharedServerTest::SetUp();
        if (HasFatalFailure()) {
            return;
        }
        rig_ = std::make_unique<testing::DeployRig>(server_->KeyFile());
        rig_->LogIn(server_->Address(), kLogin, kPassword);
        ASSERT_TRUE(StoreUnitList("4\tLobby\tOK\t\t\n9\tBar\tOK\t\t\n17\tDoor\tOK\t\t\n"));
        for (std::uint32_t unit : {4u, 9u, 17u}) {
            ASSERT_TRUE(StoreInstructions(unit, InitialFile(unit)));
        }
        ASSERT_TRUE(rig_->venue.Refresh(rig_->mainWindow));
        ASSERT_EQ(rig_->venue.ItemCount(), 3);
        logStart_ = server_->LogLines().size();
    }
    void TearDown() override { EXPECT_TRUE(server_->SetFaults({})); }

    // The log lines of this test's connections holding needle.
    [[nodiscard]] std::vector<std::string> Log(const std::string& needle) const {
        std::vector<std::string> all = server_->LogLines();
        std::vector<std::string> lines;
        for (std::size_t i = logStart_; i < all.size(); ++i) {
            if (all[i].find(needle) != std::string::npos) {
                lines.push_back(all[i]);
            }
        }
        return lines;
    }

    // A media file of random bytes in the rig's folder; its content name.
    std::string MakeMedia(const std::string& name, std::size_t size, std::string& path) {
        std::mt19937 random(static_cast<unsigned>(size));
        std::string bytes(size, '\0');
        for (char& c : bytes) {
            c = static_cast<char>(random());
        }
        path = rig_->dir.File(name);
        EXPECT_TRUE(WriteFileBytes(path, bytes));
        return HexEncode(*Md5File(path));
    }
    // Stores the file on the server as if an earlier deployment had.
    static void HoldOnServer(const std::string& path, const std::string& contentName) {
        std::filesystem::create_directories(server_->DataDir() + "/media");
        ASSERT_TRUE(
            WriteFileBytes(server_->DataDir() + "/media/" + contentName, ReadFileBytes(path)));
    }
    // Runs action once, at the message pump after the status line first
    // reads status.
    void AtStatus(const std::string& status, std::function<void()> action) {
        auto done = std::make_shared<bool>(false);
        rig_->platform.windows.OnPump([this, status, action, done] {
            const testing::ProgressRecord* record = rig_->platform.progress.Last();
            if (!*done && record != nullptr && !record->destroyed &&
                record->LastText(layout::kStatusLine) == status) {
                *done = true;
                action();
            }
        });
    }

    std::unique_ptr<testing::DeployRig> rig_;
    std::size_t logStart_ = 0;
};

TEST_F(DeployServerTest, ChannelToSelectedUnitsTouchesOnlyThemAndUploadsEachMediaOnce) {
    std::string fresh, held;
    const std::string freshName = MakeMedia("fresh.mpg", 9000, fresh);
    const std::string heldName = MakeMedia("held.mpg", 5000, held);
    HoldOnServer(held, heldName);
    const std::string unit17Before = Instructions(17);
    // The same file twice: the second clip finds it held already.
    ASSERT_TRUE(rig_->OpenPlaylist(ClipLine(0, fresh, "first") + "\r\n" + ClipLine(0, held) +
                                       "\r\n" + ClipLine(0, fresh, "again"),
                                   0));
    rig_->Select({4, 9});
    rig_->confirm.Type(" Yes ");
    rig_->platform.QueueAnswer(MessageAnswer::Ok, "SUCCESS");

    EXPECT_EQ(rig_->Deploy(DeployRequest::Channel(DeployTo::Selected())), DeployResult::Succeeded);

    EXPECT_EQ(rig_->Messages(),
              (std::vector<std::string>{"SUCCESS: The deployment completed successfully"}));
    EXPECT_EQ(rig_->platform.ShownMessages().back().icon, MessageIcon::None);
    EXPECT_EQ(rig_->confirm.script.Opened().at(0).layout, kConfirmChannelLayout);
    // The overall bar ran over 2 units + 3 clips.
    const UploadProgress& progress = rig_->deployment.Progress();
    EXPECT_EQ(progress.OverallMaximum(), 5u);
    EXPECT_EQ(progress.OverallPosition(), 5u);
    EXPECT_EQ(rig_->platform.progress.Last()->LastText(layout::kOverallLabel), "100.00%");
    EXPECT_FALSE(rig_->platform.progress.AnyOpen());
    EXPECT_TRUE(rig_->platform.windows.IsEnabled(rig_->mainWindow));

    EXPECT_EQ(Log("command=7").size(), 1u);
    // One upload, two queries of the upload phase and one of the preview.
    EXPECT_EQ(Log("digest=" + freshName).size(), 4u);
    EXPECT_EQ(Log("command=7 name=PutMedia").at(0).find("outcome=stored") != std::string::npos,
              true);
    EXPECT_TRUE(Log("unit=17").empty());
    EXPECT_EQ(Instructions(17), unit17Before);

    EntrySet deployed = Parse(ReadFileBytes(rig_->dir.File("deploy.PLY")));
    deployed.List(0)[0].contentName = freshName;
    deployed.List(0)[1].contentName = heldName;
    deployed.List(0)[2].contentName = freshName;
    for (std::uint32_t unit : {4u, 9u}) {
        EntrySet expected = Parse(InitialFile(unit));
        expected.List(0) = deployed.List(0);
        EXPECT_EQ(Parse(Instructions(unit)), expected) << unit;
    }
    const std::vector<std::string> status = rig_->StatusLines();
    const std::vector<std::string> unitLines(status.end() - 6, status.end());
    EXPECT_EQ(unitLines, (std::vector<std::string>{
                             "Media Player #4 - Downloading Configuration",
                             "Media Player #4 - Modifying Configuration",
                             "Media Player #4 - Uploading New Configuration",
                             "Media Player #9 - Downloading Configuration",
                             "Media Player #9 - Modifying Configuration",
                             "Media Player #9 - Uploading New Configuration",
                         }));
    EXPECT_EQ(rig_->platform.clock.Sleeps(), (std::vector<int>{50, 50}));
}

TEST_F(DeployServerTest, AUnitWithoutAFileGetsOnlyWhatWasDeployed) {
    std::string held;
    const std::string heldName = MakeMedia("held.mp3", 700, held);
    HoldOnServer(held, heldName);
    std::filesystem::remove_all(UnitDir(9));
    std::filesystem::remove_all(UnitDir(17));
    ASSERT_TRUE(rig_->OpenPlaylist(ClipLine(2, held), 2));
    rig_->Select({9});
    rig_->confirm.Type("yes");
    rig_->platform.QueueAnswer(MessageAnswer::Ok, "SUCCESS");
    EXPECT_EQ(rig_->Deploy(DeployRequest::Channel(DeployTo::Selected())), DeployResult::Succeeded);
    EntrySet expected;
    expected.List(2) = Parse(ClipLine(2, held)).List(2);
    expected.List(2)[0].contentName = heldName;
    EXPECT_EQ(Parse(Instructions(9)), expected);
    EXPECT_TRUE(Log("command=7").empty());

    rig_->Select({17});
    rig_->confirm.Type("yes");
    rig_->platform.QueueAnswer(MessageAnswer::Ok, "SUCCESS");
    EXPECT_EQ(rig_->Deploy(DeployRequest::Settings(DeployTo::Selected(),
                                                   EntryList{NewSettingEntry("crawl", "1")})),
              DeployResult::Succeeded);
    EXPECT_EQ(rig_->confirm.script.Opened().back().layout, kConfirmLayout);
    EXPECT_EQ(Instructions(17), "4\tcrawl\t1");
}

// Requests from the window run while it keeps painting; so does the pause
// after each unit, which used to hold it still once per unit.
TEST_F(DeployServerTest, ThePauseAfterEachUnitLetsTheWindowPaint) {
    testing::PauseCounter calls(rig_->platform.clock);
    rig_->Select({4, 17});
    EXPECT_EQ(rig_->Deploy(DeployRequest::Settings(DeployTo::Selected(),
                                                   EntryList{NewSettingEntry("crawl", "1")})
                               .Quiet()),
              DeployResult::Succeeded);
    EXPECT_EQ(rig_->platform.clock.Sleeps(), (std::vector<int>{50, 50}));
    EXPECT_EQ(calls.pausesInside, 2u);
}

TEST_F(DeployServerTest, QuietSettingsMergePutsTheGivenKeysFirst) {
    rig_->Select({4});
    EntryList changes = {NewSettingEntry("crawl", "1"), NewSettingEntry("crawlsize", "12")};
    EXPECT_EQ(
        rig_->Deploy(DeployRequest::Settings(DeployTo::Selected(), std::move(changes)).Quiet()),
        DeployResult::Succeeded);
    EXPECT_TRUE(rig_->confirm.script.Opened().empty());
    EXPECT_TRUE(rig_->Messages().empty());
    const EntrySet after = Parse(Instructions(4));
    std::vector<std::string> settings;
    for (const PlayEntry& entry : after.Settings()) {
        settings.push_back(entry.key + "=" + entry.value);
    }
    EXPECT_EQ(settings, (std::vector<std::string>{"crawl=1", "crawlsize=12",
                                                  "notes=Lobby \xab"
                                                  "4\xbb"}));
    EntrySet channels = Parse(InitialFile(4));
    channels.Settings() = after.Settings();
    EXPECT_EQ(after, channels);
    EXPECT_EQ(rig_->deployment.Progress().OverallMaximum(), 1u);
    EXPECT_TRUE(Log("unit=9").empty());
}

TEST_F(DeployServerTest, AnEmptyListAnsweredYesClearsTheChannel) {
    ASSERT_TRUE(rig_->OpenPlaylist("", 1));
    rig_->Select({17});
    rig_->confirm.Type("yes");
    rig_->platform.QueueAnswer(MessageAnswer::Yes, "LIST IS EMPTY");
    rig_->platform.QueueAnswer(MessageAnswer::Ok, "SUCCESS");
    EXPECT_EQ(rig_->Deploy(DeployRequest::Channel(DeployTo::Selected())), DeployResult::Succeeded);
    EntrySet expected = Parse(InitialFile(17));
    expected.List(1).clear();
    EXPECT_EQ(Parse(Instructions(17)), expected);
}

TEST_F(DeployServerTest, CancellingDuringTheSecondUnitKeepsTheFirstAndSparesTheThird) {
    const std::string unit9Before = Instructions(9);
    const std::string unit17Before = Instructions(17);
    rig_->Select({});
    AtStatus("Media Player #9 - Downloading Configuration",
             [this] { EXPECT_TRUE(rig_->platform.progress.Press(layout::kCancelButton)); });
    rig_->confirm.Type("yes");
    EXPECT_EQ(rig_->Deploy(DeployRequest::Settings(
                  DeployTo::AllUnits(), EntryList{NewSettingEntry("notes", "All done")})),
              DeployResult::Failed);
    EXPECT_TRUE(rig_->Messages().empty());
    EXPECT_EQ(Parse(Instructions(4)).Settings().at(0).value, "All done");
    EXPECT_EQ(Instructions(9), unit9Before);
    EXPECT_TRUE(Log("command=8 name=PutInstructionFile unit=9").empty());
    EXPECT_TRUE(Log("unit=17").empty());
    EXPECT_EQ(Instructions(17), unit17Before);
}

struct SecondUnitFault {
    const char* name;
    const char* fault;
    const char* message;
};

class DeployFaultTest : public DeployServerTest,
                        public ::testing::WithParamInterface<SecondUnitFault> {};

TEST_P(DeployFaultTest, AFaultOnTheSecondUnitStopsBeforeTheThird) {
    const std::string unit9Before = Instructions(9);
    const std::string unit17Before = Instructions(17);
    AtStatus("Media Player #9 - Downloading Configuration",
             [this] { EXPECT_TRUE(server_->SetFaults({GetParam().fault})); });
    rig_->confirm.Type("yes");
    rig_->platform.QueueAnswer(MessageAnswer::Ok, "Error Deploying");
    EXPECT_EQ(rig_->Deploy(DeployRequest::Settings(DeployTo::AllUnits(),
                                                   EntryList{NewSettingEntry("crawl", "1")})),
              DeployResult::Failed);
    ASSERT_EQ(rig_->Messages(),
              (std::vector<std::string>{std::string("Error Deploying: ") + GetParam().message}));
    const Message& shown = rig_->platform.ShownMessages().back();
    EXPECT_EQ(shown.icon, MessageIcon::Error);
    EXPECT_EQ(shown.owner, rig_->platform.progress.Last()->Id());
    EXPECT_EQ(Parse(Instructions(4)).Settings().at(0).key, "crawl");
    EXPECT_EQ(Instructions(9), unit9Before);
    EXPECT_TRUE(Log("unit=17").empty());
    EXPECT_EQ(Instructions(17), unit17Before);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, DeployFaultTest,
    ::testing::Values(
        SecondUnitFault{"RefusedDownload", "status-1@2",
                        "Error downloading server's instruction file"},
        SecondUnitFault{"CutDownload", "cut-body@2", "Error downloading server's instruction file"},
        SecondUnitFault{"Undecryptable", "bad-envelope@2",
                        "Unable to decrypt server's instruction file\r\nContact your system "
                        "administrator if this persists."},
        SecondUnitFault{"UnansweredUpload", "refuse-upload@8",
                        "Unable to upload instruction file"}),
    [](const ::testing::TestParamInfo<SecondUnitFault>& info) { return info.param.name; });

TEST_F(DeployServerTest, AFileThatDoesNotParseStopsTheDeployment) {
    ASSERT_TRUE(WriteFileBytes(InstructionsPath(9), "4\tcrawl\t1\nnot an entry line\n"));
    rig_->Select({4, 9, 17});
    rig_->confirm.Type("yes");
    rig_->platform.QueueAnswer(MessageAnswer::Ok, "Error Deploying");
    EXPECT_EQ(rig_->Deploy(DeployRequest::Settings(DeployTo::Selected(),
                                                   EntryList{NewSettingEntry("crawl", "0")})),
              DeployResult::Failed);
    EXPECT_EQ(rig_->Messages(),
              (std::vector<std::string>{
                  "Error Deploying: Unable to parse server's instruction file\r\nContact your "
                  "system administrator if this persists."}));
    EXPECT_TRUE(Log("unit=17").empty());
}

// Ten clips to units 4 and 9, seven of their media held by the server.
class DeployPreviewServerTest : public DeployServerTest {
  protected:
    void SetUp() override {
        DeployServerTest::SetUp();
        ASSERT_FALSE(HasFatalFailure());
        std::string playlist;
        for (int n = 0; n < 10; ++n) {
            // Bytes of this test alone: the shared server keeps earlier tests' media.
            const std::string path = rig_->dir.File("clip" + std::to_string(n) + ".mpg");
            std::string bytes = rig_->dir.Path() + std::string(1000 + 100 * n, '\0');
            bytes.resize(1000 + 100 * n);
            ASSERT_TRUE(WriteFileBytes(path, bytes));
            const std::string name = HexEncode(Md5Buffer(AsBytes(bytes)));
            if (n < 7) {
                HoldOnServer(path, name);
            } else {
                toUpload_ += 1000 + 100 * n;
            }
            media_.push_back(path);
            playlist += ClipLine(0, path) + "\r\n";
        }
        ASSERT_TRUE(rig_->OpenPlaylist(playlist, 0));
        rig_->Select({4, 9});
    }
    // Deploys with "yes" typed; the preview the confirmation showed.
    std::string DeployConfirmed(Deployment& deployment) {
        rig_->confirm.Type("yes");
        rig_->platform.QueueAnswer(MessageAnswer::Ok, "SUCCESS");
        EXPECT_EQ(deployment.Deploy(DeployRequest::Channel(DeployTo::Selected())),
                  DeployResult::Succeeded);
        return rig_->confirm.script.Opened().back().preview;
    }

    std::vector<std::string> media_;
    std::uint64_t toUpload_ = 0;
};

TEST_F(DeployPreviewServerTest, ThePreviewNamesWhatWillBeSentAndEachFileIsReadOnce) {
    // Time passes while the dialog pumps, so the uploads can be timed.
    rig_->platform.windows.OnPump([this] { rig_->platform.clock.Advance(5); });
    const std::string preview = DeployConfirmed(rig_->deployment);

    EXPECT_NE(preview.find("Units: 2 (4, 9)\nClips: 10\nMedia the server holds: 7\n"),
              std::string::npos)
        << preview;
    EXPECT_NE(preview.find("Media to upload: 3, " + std::to_string(toUpload_) +
                           " bytes\n  clip7.mpg (1700 bytes)\n  clip8.mpg (1800 bytes)\n"
                           "  clip9.mpg (1900 bytes)\n"
                           "Estimated upload time: not known until an upload has been measured\n"),
              std::string::npos)
        << preview;
    EXPECT_EQ(Log("command=7").size(), 3u);
    EXPECT_EQ(Log("command=0").size(), 20u);  // ten by the preview, ten by the upload phase
    for (const std::string& path : media_) {
        EXPECT_EQ(rig_->files.ReadsOf(path).opens, 1) << path;
    }
    EXPECT_GT(rig_->settings.GetInt("Last_Upload_Rate", 0), 0);

    // The same unchanged files again, by a deployment that starts afresh
    // from the cache file: none is read, and the server holds them all.
    rig_->files.Forget();
    Deployment again(rig_->platform, rig_->venue, rig_->serverLogin, rig_->playlist, rig_->confirm,
                     &rig_->settings, rig_->files, rig_->digestCache);
    again.SetMainWindow(rig_->mainWindow);
    const std::string second = DeployConfirmed(again);
    EXPECT_NE(second.find("Media the server holds: 10\n"), std::string::npos) << second;
    EXPECT_EQ(rig_->files.FilesRead(), 0u);
    EXPECT_EQ(Log("command=7").size(), 3u);
}

// clip7 takes a second to go out, clip8 and clip9 a few milliseconds: the
// quick ones measure the connection's set-up, not the line, and keep the
// rate of clip7 for the next estimate.
TEST_F(DeployPreviewServerTest, OnlyATransferLongEnoughToTimeReplacesTheMeasuredRate) {
    auto timed = std::make_shared<int>(0);
    for (const auto& [clip, ms] :
         {std::pair{"clip7.mpg", 1000}, {"clip8.mpg", 5}, {"clip9.mpg", 5}}) {
        AtStatus(std::string("Uploading ") + clip, [this, ms, timed] {
            rig_->platform.clock.Advance(ms);
            ++*timed;
        });
    }
    (void)DeployConfirmed(rig_->deployment);
    ASSERT_EQ(*timed, 3);
    EXPECT_EQ(rig_->settings.GetInt("Last_Upload_Rate", 0), 1700);
}

TEST_F(DeployPreviewServerTest, AFileChangedAfterThePreviewIsReadAgainAndItsNewBytesSent) {
    const std::string& changed = media_[2];
    AtStatus("Processing clip0.mpg",
             [&] { ASSERT_TRUE(WriteFileBytes(changed, "new bytes, new length")); });
    const std::string preview = DeployConfirmed(rig_->deployment);
    EXPECT_NE(preview.find("Media to upload: 3,"), std::string::npos) << preview;
    EXPECT_EQ(rig_->files.ReadsOf(changed).opens, 2);
    EXPECT_EQ(rig_->files.ReadsOf(media_[3]).opens, 1);
    const std::string newName = HexEncode(Md5Buffer(AsBytes("new bytes, new length")));
    EXPECT_EQ(Log("command=7").size(), 4u);
    EXPECT_EQ(Parse(Instructions(4)).List(0)[2].contentName, newName);
}

// Files not read before are read for the preview on the progress dialog;
// its Cancel ends the deployment before the confirmation, sending nothing.
TEST_F(DeployPreviewServerTest, ThePreviewReadsOnTheProgressDialogAndItsCancelEndsTheDeployment) {
    AtStatus("Checking clip3.mpg",
             [this] { EXPECT_TRUE(rig_->platform.progress.Press(layout::kCancelButton)); });
    EXPECT_EQ(rig_->Deploy(DeployRequest::Channel(DeployTo::Selected())),
              DeployResult::NotConfirmed);
    EXPECT_TRUE(rig_->confirm.script.Opened().empty());
    EXPECT_TRUE(rig_->Messages().empty());
    ASSERT_EQ(rig_->platform.progress.Records().size(), 1u);
    const std::vector<std::string>& status =
        rig_->platform.progress.Records()[0]->texts[layout::kStatusLine];
    EXPECT_EQ(status.front(), "Checking clip0.mpg");
    EXPECT_FALSE(rig_->platform.progress.AnyOpen());
    EXPECT_TRUE(rig_->platform.windows.IsEnabled(rig_->mainWindow));
    EXPECT_TRUE(Log("command=7").empty());
}

TEST_F(DeployPreviewServerTest, AServerThatCannotBeAskedLeavesThePreviewSayingSo) {
    rig_->login.SetHost("127.0.0.1:1");  // nothing listens there
    rig_->confirm.Type("no");
    rig_->confirm.script.QueueCancel();
    EXPECT_EQ(rig_->Deploy(DeployRequest::Channel(DeployTo::Selected())),
              DeployResult::NotConfirmed);
    const std::vector<ConfirmForm>& opened = rig_->confirm.script.Opened();
    ASSERT_EQ(opened.size(), 2u);  // a refused word keeps the form open, as before
    EXPECT_NE(opened[0].preview.find("Clips: 10\nMedia files: 10\n"
                                     "The server could not be asked which media it holds.\n"),
              std::string::npos)
        << opened[0].preview;
    EXPECT_EQ(opened[0].prompt, OpenConfirmForm("yes", true).prompt);
    EXPECT_TRUE(rig_->Messages().empty());
}

}  // namespace
}  // namespace vantic
