// The unit editor end to end against the reference distribution server:
// the unit's settings read from its instruction file, the form filled from
// them, and OK's changes merged into the file the server keeps.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <thread>

#include "app/unit_editing.h"
#include "framework/wmutex.h"
#include "framework/worker.h"
#include "tests/app/deploy_rig.h"
#include "tests/support/scripted_form_views.h"
#include "tests/support/shared_server.h"

namespace vantic {
namespace {

using testing::ReadFileBytes;
using testing::WriteFileBytes;

constexpr const char* kLogin = "editor";
constexpr const char* kPassword = "Lp4vRt8nQe";

// Channel lines whose texts a rewrite must keep byte for byte.
const std::string kChannelLines =
    "0\t/media/caf\xe9 menu.mpg\tAuto\t\t12 KB\tAll\tloop\tNone\tNone\tA\tfront \xab"
    "door\xbb\n"
    "3\t/media/song.mp3\t30.000000\t\t2 KB\tWeekdays\tloop\tNone\tNone\tB\t";

class UnitEditorServerTest : public testing::SharedServerTest {
  protected:
    static void SetUpTestSuite() { SetUpTestSuiteWithAccount(kLogin, kPassword, "4,9"); }

    void SetUp() override {
        SharedServerTest::SetUp();
        ASSERT_FALSE(HasFatalFailure());
        rig_ = std::make_unique<testing::DeployRig>(server_->KeyFile());
        rig_->LogIn(server_->Address(), kLogin, kPassword);
        ASSERT_TRUE(StoreUnitList("4\tLobby\tOK\t\t\n9\tBar\tOK\t\t\n17\tDoor\tOK\t\t\n"));
        for (std::uint32_t unit : {4u, 9u, 17u}) {
            std::filesystem::remove_all(UnitDir(unit));
        }
        ASSERT_TRUE(rig_->venue.Refresh(rig_->mainWindow));
        ASSERT_EQ(rig_->venue.ItemCount(), 2);  // the account sees 4 and 9
    }

    // OK ends with a background refresh of the unit list; it ends before
    // the rig goes.
    void TearDown() override {
        EXPECT_TRUE(testing::WaitUntil([] { return LiveWorkers() == 0; }));
        rig_.reset();
    }

    static EntrySet Stored(std::uint32_t unit) {
        EntrySet set;
        EXPECT_TRUE(TextToEntrySet(ReadFileBytes(InstructionsPath(unit)), set));
        return set;
    }
    static std::string Value(const EntrySet& set, std::string_view key) {
        for (const PlayEntry& entry : set.Settings()) {
            if (entry.key == key) {
                return entry.value;
            }
        }
        return "(none)";
    }

    bool Edit() {
        return EditSelectedUnit(
            UnitEditing{rig_->platform, rig_->venue, editor_, rig_->deployment, rig_->mainWindow});
    }

    WMutex workerLock_;  // the process-wide lock the refresh worker needs
    std::unique_ptr<testing::DeployRig> rig_;
    testing::ScriptedUnitEditor editor_;
};

TEST_F(UnitEditorServerTest, AUnitWithoutAFileOpensWithTheDefaultsAndOkStoresThem) {
    rig_->Select({4});
    editor_.script.QueueOk();

    EXPECT_TRUE(Edit());

    ASSERT_EQ(editor_.script.Opened().size(), 1u);
    const UnitForm& shown = editor_.script.Opened()[0];
    EXPECT_EQ(shown.title, "Edit unit number: 4");
    EXPECT_EQ(editor_.owners.at(0), rig_->mainWindow);
    EXPECT_EQ(shown, OpenUnitForm(UnitSettings(), "4", rig_->platform.clock.LocalNow()));
    EXPECT_EQ(shown.crawlSize + "/" + shown.crawlSpeed, "8/5");
    EXPECT_EQ(shown.playStart, (ClockTime{0, 0}));
    EXPECT_EQ(shown.playStop, (ClockTime{23, 59}));
    EXPECT_TRUE(rig_->Messages().empty());  // quiet: no confirmation, no success message

    const EntrySet stored = Stored(4);
    EXPECT_EQ(stored.Settings().size(), 19u);
    EXPECT_EQ(Value(stored, "crawlforeground"), "ffff00");
    EXPECT_EQ(Value(stored, "crawlbackground"), "000080");
    EXPECT_EQ(Value(stored, "Password"), kDefaultModemPassword);
    EXPECT_EQ(Value(stored, "RestrictedPlayStart"), "(none)");
}

TEST_F(UnitEditorServerTest, OkMergesTheChangesAndKeepsEverythingTheFormDidNotWrite) {
    ASSERT_TRUE(StoreInstructions(
        9, kChannelLines + "\n4\tcrawlspeed\t3\n4\tPassword\tpw9\n4\tcrawlforeground\tF00\n"
                           "4\tFirmwarePending\t0123456789abcdef0123456789abcdef\n"
                           "4\tcrawlspeed\t7\n4\tRestrictedPlayStop\t22:15"));
    rig_->ShowUnits("17\tDoor\tOK\t\t\n");
    rig_->Select({9, 17});  // the editor takes the first; the deployment only it
    editor_.script.Queue([](UnitForm& form) {
        form.crawlSpeed.clear();
        form.notes = std::string(100, 'n');
        form.locations[0] = "left\tright\r\nend";
        form.restrictPlay = true;
        return true;
    });
    const std::size_t listRequests = server_->LogLines("command=17").size();

    EXPECT_TRUE(Edit());

    const UnitForm& shown = editor_.script.Opened().at(0);
    EXPECT_EQ(shown.crawlSpeed, "7");  // the later line won
    EXPECT_EQ(shown.textColour, PackRgb(255, 0, 0));
    EXPECT_EQ(shown.playStop, (ClockTime{22, 15}));
    const std::string file = ReadFileBytes(InstructionsPath(9));
    EXPECT_EQ(file.substr(0, kChannelLines.size() + 1), kChannelLines + "\n");
    const EntrySet stored = Stored(9);
    EXPECT_EQ(Value(stored, "crawlspeed"), "3");  // the unit's first line survives the merge
    EXPECT_EQ(Value(stored, "Password"), "pw9");
    EXPECT_EQ(Value(stored, "crawlforeground"), "ff0000");
    EXPECT_EQ(Value(stored, "notes"), std::string(99, 'n'));
    EXPECT_EQ(Value(stored, "location1"), "left right  end");
    EXPECT_EQ(Value(stored, "RestrictedPlayStop"), "22:15");
    EXPECT_EQ(Value(stored, "FirmwarePending"), "0123456789abcdef0123456789abcdef");
    EXPECT_EQ(rig_->venue.SelectedCount(), 1);
    EXPECT_EQ(rig_->venue.UnitNumberAt(rig_->venue.FirstSelected()), 9u);
    EXPECT_FALSE(AwaitLogLines("command=17", listRequests).empty());  // the refresh
    EXPECT_FALSE(std::filesystem::exists(InstructionsPath(17)));
}

// The rows may move while the editor is open: the changes still reach the
// edited unit, and its row is the one left selected.
TEST_F(UnitEditorServerTest, OkDeploysToTheEditedUnitWhereverItsRowMoved) {
    rig_->Select({4});
    editor_.script.Queue([this](UnitForm& form) {
        form.notes = "moved";
        rig_->venue.SortByColumn(1);  // by the notes: "Bar" (9) before "Lobby" (4)
        EXPECT_EQ(rig_->venue.UnitNumberAt(0), 9u);
        return true;
    });

    EXPECT_TRUE(Edit());

    EXPECT_EQ(Value(Stored(4), "notes"), "moved");
    EXPECT_FALSE(std::filesystem::exists(InstructionsPath(9)));
    EXPECT_EQ(rig_->venue.SelectedCount(), 1);
    EXPECT_EQ(rig_->venue.UnitNumberAt(rig_->venue.FirstSelected()), 4u);
}

TEST_F(UnitEditorServerTest, CancelAndARefusedUnitWriteNothing) {
    ASSERT_TRUE(StoreInstructions(9, kChannelLines + "\n4\tnotes\tkeep"));
    const std::string before = ReadFileBytes(InstructionsPath(9));
    rig_->Select({9});
    editor_.script.QueueCancel();
    EXPECT_FALSE(Edit());
    EXPECT_EQ(ReadFileBytes(InstructionsPath(9)), before);

    // A row the account may not see (left from an earlier login).
    ASSERT_TRUE(StoreInstructions(17, "4\tnotes\tdoor"));
    rig_->ShowUnits("17\tDoor\tOK\t\t\n");
    rig_->Select({17});
    rig_->platform.QueueAnswer(MessageAnswer::Ok, "Communication Error");
    EXPECT_FALSE(Edit());
    EXPECT_EQ(rig_->Messages(),
              (std::vector<std::string>{"Communication Error: Error getting config information "
                                        "from server"}));
    EXPECT_EQ(rig_->platform.ShownMessages().at(0).icon, MessageIcon::Error);
    EXPECT_EQ(editor_.script.Opened().size(), 1u);  // only the cancelled one
    EXPECT_EQ(ReadFileBytes(InstructionsPath(17)), "4\tnotes\tdoor");

    // A file that does not parse.
    ASSERT_TRUE(StoreInstructions(4, "not\tan entry"));
    rig_->Select({4});
    rig_->platform.QueueAnswer(MessageAnswer::Ok, "Error Deploying");
    EXPECT_FALSE(Edit());
    EXPECT_EQ(rig_->Messages().back(),
              "Error Deploying: Unable to parse server's instruction file\r\nContact your "
              "system administrator if this persists.");
}

}  // namespace
}  // namespace vantic
