// The unit list against the reference server, whose unit list file the
// tests rewrite to shape its replies.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <thread>

#include "framework/wmutex.h"
#include "framework/worker.h"
#include "net/server_login.h"
#include "tests/support/scripted_form.h"
#include "tests/support/scripted_form_views.h"
#include "tests/support/server_runner.h"
#include "tests/support/temp_dir.h"
#include "tests/support/wait_until.h"
#include "tests/units/venue_test_support.h"

namespace vantic {
namespace {

WindowId MainWindow() {
    static int window = 0;
    return reinterpret_cast<WindowId>(&window);
}

// Started before the unit list, which needs its key file.
struct ServerHolder {
    testing::ServerRunner server;
};

class VenueServerTest : public ::testing::Test,
                        protected ServerHolder,
                        public testing::VenueFixture {
  protected:
    VenueServerTest() : VenueFixture(server.KeyFile()) {}
    void SetUp() override {
        ASSERT_TRUE(server.Ok()) << server.Error();
        SetUpColumns();
        LogIn(server.Administrator());
    }
    ~VenueServerTest() override {
        EXPECT_TRUE(testing::WaitUntil([] { return LiveWorkers() == 0; }));
    }

    void LogIn(const testing::ServerAccount& account) {
        store.values = {{"Distribution_Server", server.Address()},
                        {"Distribution_Username", account.login},
                        {"Distribution_Userpass", account.password},
                        {"Distribution_Userpass_Remember", "1"}};
    }
    void WriteUnits(const std::string& lines) {
        ASSERT_TRUE(testing::WriteFileBytes(server.DataDir() + "/units.txt", lines));
    }
    [[nodiscard]] std::size_t UnitListRequests() const {
        return server.LogLines("command=17").size();
    }

    WMutex workerLock;
};

TEST_F(VenueServerTest, RepliesMergeInPlaceAndSortingFollowsTheHeader) {
    WriteUnits(
        "12\tLobby\tOK\t12/01/2026 10:00\t12/01/2026 10:20\n"
        "7\tBar\tOK\t12/01/2026 09:00\t12/01/2026 09:20\n");
    ASSERT_TRUE(venue.Refresh(MainWindow()));
    EXPECT_EQ(Units(), (std::vector<std::uint32_t>{12, 7}));
    EXPECT_EQ(Cells(0), "12|Lobby|OK|12/01/2026 10:00|12/01/2026 10:20");

    venue.SortByColumn(0);
    EXPECT_EQ(Units(), (std::vector<std::uint32_t>{7, 12}));
    venue.SortByColumn(0);
    EXPECT_EQ(Units(), (std::vector<std::uint32_t>{12, 7}));

    venue.SelectRow(0, true);
    WriteUnits(
        "7\tBar\tOK\t12/01/2026 09:00\t12/01/2026 09:20\n"
        "12\tLobby\tLate Calling In\t12/01/2026 10:00\t12/01/2026 10:20\n");
    ASSERT_TRUE(venue.Refresh(MainWindow()));
    EXPECT_EQ(Units(), (std::vector<std::uint32_t>{12, 7}));
    EXPECT_EQ(list.CellText(0, kStatusField), "Late Calling In");
    EXPECT_TRUE(venue.IsSelected(0));
    EXPECT_FALSE(venue.IsSelected(1));

    // A unit the server stops listing keeps its row; a unit with notes only
    // gets empty cells.
    WriteUnits("5\tPatio\n");
    ASSERT_TRUE(venue.Refresh(kNoWindow));
    EXPECT_EQ(Units(), (std::vector<std::uint32_t>{12, 7, 5}));
    EXPECT_EQ(Cells(2), "5|Patio|||");
}

TEST_F(VenueServerTest, AFailedFetchIsReportedOnlyToAnOwnerAndKeepsTheRows) {
    WriteUnits("12\tLobby\tOK\ta\tb\n");
    ASSERT_TRUE(venue.Refresh(kNoWindow));
    ASSERT_TRUE(server.SetFaults({"bad-envelope@17"}));
    EXPECT_FALSE(venue.Refresh(kNoWindow));
    EXPECT_TRUE(platform.ShownMessages().empty());

    platform.QueueAnswer(MessageAnswer::Ok, "Error Contacting Server");
    EXPECT_FALSE(venue.Refresh(MainWindow()));
    ASSERT_EQ(platform.ShownMessages().size(), 1u);
    const Message& shown = platform.ShownMessages()[0];
    EXPECT_EQ(shown.text, "Unable to get information from server.");
    EXPECT_EQ(shown.details, "The server's answer could not be decrypted");
    EXPECT_EQ(shown.icon, MessageIcon::Error);
    EXPECT_EQ(shown.owner, MainWindow());
    EXPECT_EQ(Units(), (std::vector<std::uint32_t>{12}));
}

TEST_F(VenueServerTest, PeriodicTicksRefreshAtMostEveryTwoMinutesAndNeverBesideAWorker) {
    const std::size_t before = UnitListRequests();
    platform.clock.SetNow(2'000'000'000);
    venue.PeriodicTick();  // the first tick refreshes at once
    EXPECT_TRUE(testing::WaitUntil([&] { return UnitListRequests() == before + 1; }));
    ASSERT_TRUE(testing::WaitUntil([&] { return LiveWorkers() == 0 && venue.ItemCount() == 12; }));

    platform.clock.SetNow(2'000'000'119);
    venue.PeriodicTick();
    platform.clock.SetNow(1'999'000'000);  // the clock went back
    venue.PeriodicTick();
    EXPECT_EQ(LiveWorkers(), 0);

    // A worker still merging (held up by this thread's lock) makes the next
    // due tick skip its refresh, though the tick still counts as one.
    venue.Lock();
    ASSERT_TRUE(venue.RefreshInBackground());
    ASSERT_TRUE(testing::WaitUntil([&] { return UnitListRequests() == before + 2; }));
    platform.clock.SetNow(2'000'000'240);
    venue.PeriodicTick();
    EXPECT_EQ(LiveWorkers(), 1);
    venue.Unlock();
    ASSERT_TRUE(testing::WaitUntil([] { return LiveWorkers() == 0; }));
    platform.clock.SetNow(2'000'000'359);  // the skipped tick still counted
    venue.PeriodicTick();
    EXPECT_EQ(LiveWorkers(), 0);
    platform.clock.SetNow(2'000'000'360);
    venue.PeriodicTick();
    EXPECT_TRUE(testing::WaitUntil([&] { return UnitListRequests() == before + 3; }));
    // The server has the request before its worker ends.
    ASSERT_TRUE(testing::WaitUntil([] { return LiveWorkers() == 0; }));

    store.values.erase("Distribution_Userpass");
    LoginSettings incomplete(store, server.KeyFile());
    VenueList idle(platform, incomplete);
    platform.clock.SetNow(2'100'000'000);
    idle.PeriodicTick();
    EXPECT_FALSE(idle.RefreshInBackground());
    EXPECT_EQ(LiveWorkers(), 0);
}

TEST_F(VenueServerTest, AWorkerThatOutlivesItsListLeavesItAlone) {
    auto doomed = std::make_unique<VenueList>(platform, login);
    ASSERT_TRUE(server.SetFaults({"stall-before-body=1@17"}));
    ASSERT_TRUE(doomed->RefreshInBackground());
    doomed.reset();  // the reply arrives after the list is gone
    EXPECT_TRUE(testing::WaitUntil([] { return LiveWorkers() == 0; }));
}

// The paths of the video clips (channel 0) in an instruction text.
std::vector<std::string> VideoPaths(const std::string& instructions) {
    cpStringArray lines;
    EXPECT_TRUE(lines.SplitLines(instructions));
    std::vector<std::string> paths;
    for (const std::string& line : lines) {
        const cpStringArray fields = cpStringArray::SplitNew(line, "\t");
        if (fields.Count() == 11 && fields.TextAt(0) == "0") {
            paths.emplace_back(fields.TextAt(1));
        }
    }
    return paths;
}

TEST_F(VenueServerTest, InstructionTextsOpenTheSelectedUnitsPlaylist) {
    testing::TempDir settingsDir;
    WReg settings;
    settings.SetSettingsLocation({settingsDir.Path(), {}});
    testing::ScriptedClipEditor editor;
    testing::ScriptedListControl clips;
    PlayList playlist(settings, platform, editor);
    playlist.AttachList(&clips);
    auto shownPaths = [&playlist] {
        std::vector<std::string> paths;
        for (int row = 0; row < playlist.ItemCount(); ++row) {
            paths.push_back(playlist.ClipAt(row)->path);
        }
        return paths;
    };

    ASSERT_TRUE(venue.Refresh(MainWindow()));
    const int row = RowOf(1012);
    ASSERT_GE(row, 0);
    const std::string instructions = server.DataDir() + "/units/1012/instructions.txt";
    const std::vector<std::string> expected = VideoPaths(testing::ReadFileBytes(instructions));
    ASSERT_FALSE(expected.empty());

    venue.OpenSelectedUnitPlaylist(MainWindow(), playlist);  // nothing selected
    EXPECT_EQ(playlist.ItemCount(), 0);
    venue.SelectRow(row, true);
    venue.OpenSelectedUnitPlaylist(MainWindow(), playlist);
    EXPECT_EQ(shownPaths(), expected);
    EXPECT_FALSE(playlist.IsModified());

    ASSERT_TRUE(server.SetFaults({"bad-envelope@2"}));
    EXPECT_EQ(venue.FetchInstructionText(1012), std::nullopt);
    platform.QueueAnswer(MessageAnswer::Ok, "Communication Error");
    venue.OpenSelectedUnitPlaylist(MainWindow(), playlist);
    ASSERT_EQ(platform.ShownMessages().size(), 1u);
    EXPECT_EQ(platform.ShownMessages()[0].text, "Error getting config information from server");
    EXPECT_EQ(platform.ShownMessages()[0].details, "The server's answer could not be decrypted");
    EXPECT_EQ(platform.ShownMessages()[0].owner, MainWindow());
    EXPECT_EQ(shownPaths(), expected);

    // A unit without an instruction file opens as an empty playlist.
    ASSERT_TRUE(server.SetFaults({}));
    std::remove(instructions.c_str());
    EXPECT_EQ(venue.FetchInstructionText(1012), std::string());
    venue.OpenSelectedUnitPlaylist(MainWindow(), playlist);
    EXPECT_EQ(playlist.ItemCount(), 0);
}

// The rows of the new login take the sort the header shows.
TEST_F(VenueServerTest, ANewLoginEmptiesTheListAndFetchesWhatTheNewAccountSees) {
    ASSERT_TRUE(venue.Refresh(MainWindow()));
    ASSERT_EQ(venue.ItemCount(), 12);
    venue.SortByColumn(0);
    venue.SortByColumn(0);
    venue.SelectRow(3, true);

    testing::ScriptedLoginView view;
    ServerLogin serverLogin(login, view, [this] { venue.ReloadAfterLogin(MainWindow()); });
    const testing::ServerAccount account = server.Operator();
    view.script.Queue([&account](LoginForm& form) {
        form.loginName = account.login;
        FocusPasswordField(form);
        EditPasswordField(form, account.password);
        return true;
    });
    ASSERT_TRUE(serverLogin.ShowLoginForm(MainWindow()));
    EXPECT_EQ(venue.ItemCount(), 8);  // what the operator's account sees
    EXPECT_EQ(venue.SelectedCount(), 0);
    EXPECT_EQ(list.DeleteAllCount(), 1);
    std::vector<std::uint32_t> descending = Units();
    std::sort(descending.rbegin(), descending.rend());
    EXPECT_EQ(Units(), descending);
    EXPECT_EQ(list.SortIndicator(), std::make_pair(0, false));
}

}  // namespace
}  // namespace vantic
