// The store and the plain-text formats it keeps.

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "core/cpstring.h"
#include "server/accounts.h"
#include "server/atomic_file.h"
#include "server/entry_text.h"
#include "server/options.h"
#include "server/store.h"
#include "server/timing.h"
#include "server/unit_list.h"
#include "server/wire.h"
#include "tests/support/temp_dir.h"

namespace vantic::testing {
namespace {

using namespace vantic::server;

std::vector<std::string> FilesIn(const std::string& dir) {
    std::vector<std::string> names;
    for (const auto& item : std::filesystem::directory_iterator(dir)) {
        names.push_back(item.path().filename().string());
    }
    return names;
}

TEST(AtomicFile, AnUnfinishedVersionNeverReplacesTheFile) {
    TempDir dir;
    const std::string target = dir.File("target.txt");
    ASSERT_TRUE(WriteFileAtomically(target, dir.Path(), "old", false));
    {
        std::unique_ptr<AtomicFile> file = AtomicFile::Begin(target, dir.Path());
        ASSERT_TRUE(file);
        ASSERT_TRUE(file->Write("new but unfinished", 18));
    }  // dropped without Commit
    EXPECT_EQ(ReadFileBytes(target), "old");
    EXPECT_EQ(FilesIn(dir.Path()), std::vector<std::string>{"target.txt"});

    std::unique_ptr<AtomicFile> file = AtomicFile::Begin(target, dir.Path());
    ASSERT_TRUE(file->Write("new\xff", 4));
    EXPECT_EQ(ReadFileBytes(target), "old");
    ASSERT_TRUE(file->Commit(true));
    EXPECT_EQ(ReadFileBytes(target), "new\xff");
    EXPECT_EQ(FilesIn(dir.Path()).size(), 1u);
}

TEST(StoreDirectory, OneServerPerDirectoryAndLeftoversAreSwept) {
    TempDir dir;
    std::string error;
    std::unique_ptr<Store> first = Store::Open(dir.Path(), false, error);
    ASSERT_TRUE(first) << error;
    EXPECT_FALSE(Store::Open(dir.Path(), false, error));
    EXPECT_NE(error.find("in use"), std::string::npos);
    first.reset();

    // What a killed server may leave behind.
    ASSERT_TRUE(WriteFileBytes(dir.File("tmp/4242-7.partial"), "half a file"));
    std::unique_ptr<Store> second = Store::Open(dir.Path(), false, error);
    ASSERT_TRUE(second) << error;
    EXPECT_FALSE(FileExists(dir.File("tmp/4242-7.partial")));
}

TEST(StoreDirectory, UnitFilesAndMediaLiveWhereAPersonLooks) {
    TempDir dir;
    std::string error;
    std::unique_ptr<Store> store = Store::Open(dir.Path(), false, error);
    ASSERT_TRUE(store);
    EXPECT_FALSE(store->ReadUnitFile(7, UnitFile::Runtime));
    ASSERT_TRUE(store->WriteUnitFile(7, UnitFile::Runtime, "runtime"));
    EXPECT_EQ(ReadFileBytes(dir.File("units/7/runtime.txt")), "runtime");
    Digest digest{};
    digest[0] = 0xAB;
    digest[15] = 0x01;
    ASSERT_TRUE(store->WriteMedia(digest, "clip"));
    EXPECT_TRUE(FileExists(dir.File("media/ab000000000000000000000000000001")));
    EXPECT_TRUE(store->HasMedia(digest));
}

TEST(Accounts, ReadTheAccountFile) {
    const std::vector<Account> accounts = ParseAccounts(
        "# comment\n"
        "operator  pw1\t1,1012, 1017,junk\n"
        "\n"
        "viewer pw2\n"
        "sovra pw3 5\n"
        "everyone pw4 *\n"
        "lonely\n");
    ASSERT_EQ(accounts.size(), 4u);
    EXPECT_EQ(accounts[0].units, (std::vector<std::uint32_t>{1, 1012, 1017}));
    EXPECT_FALSE(accounts[0].Sees(1024));
    EXPECT_TRUE(accounts[0].Sees(1017));
    EXPECT_TRUE(accounts[1].units.empty());
    EXPECT_FALSE(accounts[1].Sees(1));
    EXPECT_TRUE(accounts[2].Sees(1024));  // sovra sees every unit, whatever the file says
    EXPECT_TRUE(accounts[3].IsAdministrator());
    EXPECT_FALSE(accounts[0].IsAdministrator());

    EXPECT_EQ(FindAccount(accounts, "operator"), &accounts[0]);
    EXPECT_EQ(FindAccount(accounts, "Operator"), nullptr);
    EXPECT_EQ(accounts[0].storedPassword, "pw1");

    EXPECT_EQ(ParseAccounts(FormatAccounts(accounts)).size(), 4u);
    EXPECT_EQ(ParseAccounts(FormatAccounts(accounts))[0].units, accounts[0].units);
}

// The owner table is read as the controller's key=value record: blanks
// around "=" do not count, the first line of a unit wins, a line without
// "=" names nobody.
TEST(UnitList, TheFirstOwnerLineOfAUnitWinsAndUnseenUnitsStayOut) {
    const std::vector<UnitRow> rows = ParseUnitList("3\ta\tOK\n4\tb\tOK\n5\tc\tOK\n");
    const std::string owners = "4 = Early=Bird\n4=Late\n5\n";
    Account some{"op", "pw", false, {5, 4}};
    EXPECT_EQ(UnitListReply(rows, some, owners), "4\t[Early=Bird] b\tOK\t\t\n5\tc\tOK\t\t\n");
}

TEST(UnitList, OwnersFromTheOwnerTableShowInTheNotes) {
    const std::vector<UnitRow> rows = ParseUnitList(
        "# heading\n"
        "12\t[Old Owner] lobby\tOK\t01/02/2026 10:00\t01/02/2026 11:00\n"
        "not a unit\tx\n"
        "7\tkiosk\tLate Calling In\n"
        "0\tzero\tOK\n");
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[1].number, 7u);
    EXPECT_EQ(rows[1].lastCallIn, "");
    EXPECT_EQ(ParseUnitList(FormatUnitListFile(rows)).size(), 2u);

    Account all{"sovra", "pw", true, {}};
    const std::string reply = UnitListReply(rows, all, "12=NewOwner\n7=\n");
    EXPECT_EQ(reply,
              "12\t[NewOwner] lobby\tOK\t01/02/2026 10:00\t01/02/2026 11:00\n"
              "7\tkiosk\tLate Calling In\t\t\n");
    Account some{"op", "pw", false, {7}};
    EXPECT_EQ(UnitListReply(rows, some, ""), "7\tkiosk\tLate Calling In\t\t\n");

    EXPECT_EQ(NotesWithOwner("[A] b", "C"), "[C] b");
    EXPECT_EQ(NotesWithOwner("plain", "C"), "[C] plain");
    EXPECT_EQ(NotesWithOwner("[A]", "C"), "[C]");
    EXPECT_EQ(NotesWithOwner("[A] b", ""), "[A] b");
}

TEST(EntryText, AcceptsWhatAControllerWouldRead) {
    auto lines = ReadEntryLines("4\tk\tv\r\n\n0\tp\tAuto\tc\ts\tAll\tloop\tNone\tNone\tA\tn\n");
    ASSERT_TRUE(lines);
    ASSERT_EQ(lines->size(), 2u);
    EXPECT_TRUE(IsSetting((*lines)[0]));
    EXPECT_EQ(ClipChannel((*lines)[1]), 0);
    EXPECT_EQ(WriteEntryLines(*lines), "4\tk\tv\n0\tp\tAuto\tc\ts\tAll\tloop\tNone\tNone\tA\tn");

    EXPECT_FALSE(ReadEntryLines("4\tk\tv\n  \n"));  // a line of blanks
    EXPECT_FALSE(ReadEntryLines("a\tb\tc\td\te"));
    EXPECT_TRUE(ReadEntryLines(""));
    EXPECT_EQ(ClipChannel({"4", "p", "", "", "", "", "", "", "", "", ""}), -1);
    EXPECT_EQ(ClipChannel({"12", "p", "", "", "", "", "", "", "", "", ""}), -1);
    EXPECT_FALSE(IsSetting({"0", "k", "v"}));
}

TEST(TimingWords, FileAndWireForms) {
    const TimingWords words{3, 1700000000, 3600, 0, 1700003600};
    const TimingWords back = ParseTimingFile(FormatTimingFile(words));
    EXPECT_EQ(back.calls, 3u);
    EXPECT_EQ(back.last, 1700000000u);
    EXPECT_EQ(back.next, 1700003600u);
    const auto bytes = TimingPayload(words);
    EXPECT_EQ(ReadWord(bytes.data() + 4), 1700000000u);
    EXPECT_EQ(ReadWord(bytes.data() + 16), 1700003600u);
    EXPECT_EQ(ParseTimingFile("last=-5\nnext=junk\n").last, 0u);
}

TEST(LoginRecord, NamesMustEndInsideTheirFields) {
    std::vector<std::uint8_t> record(108, 0);
    record[3] = 17;
    record[4] = record[5] = record[6] = record[7] = 0xFF;
    std::memcpy(record.data() + 28, "sovra", 5);
    std::memcpy(record.data() + 52, "secret", 6);
    std::optional<LoginRecord> login = ParseLoginRecord(record);
    ASSERT_TRUE(login);
    EXPECT_EQ(login->command, 17);
    EXPECT_EQ(login->unit, -1);
    EXPECT_EQ(login->login, "sovra");
    EXPECT_EQ(login->password, "secret");

    std::fill(record.begin() + 52, record.begin() + 76, 'x');  // no NUL in the password
    EXPECT_FALSE(ParseLoginRecord(record));
    EXPECT_FALSE(ParseLoginRecord(std::vector<std::uint8_t>(107, 0)));
}

TEST(CommandLine, ServeOptions) {
    std::string error;
    auto line =
        ParseCommandLine({"serve", "--data", "d", "--listen", "0.0.0.0:0", "--fault", "absent@2",
                          "cut-body", "--fault", "stall-reply=3", "--simulate", "10"},
                         error);
    ASSERT_TRUE(line) << error;
    EXPECT_EQ(line->action, Action::Serve);
    EXPECT_EQ(line->serve.listen.host, "0.0.0.0");
    EXPECT_EQ(line->serve.listen.port, 0);
    EXPECT_EQ(line->serve.faults.size(), 3u);
    EXPECT_EQ(line->serve.simulateSeconds, 10);

    line = ParseCommandLine({"serve", "--data", "d"}, error);
    ASSERT_TRUE(line);
    EXPECT_EQ(line->serve.listen.port, kDefaultPort);
    EXPECT_EQ(line->serve.listen.host, "127.0.0.1");

    for (const std::vector<std::string>& bad :
         std::vector<std::vector<std::string>>{{"serve"},
                                               {"serve", "--data"},
                                               {"serve", "--data", "d", "--listen", "h:99999"},
                                               {"serve", "--data", "d", "--fault", "nope"},
                                               {"serve", "--data", "d", "--simulate", "0"},
                                               {"serve", "--data", "d", "--bogus"},
                                               {"seed-demo"},
                                               {"seed-demo", "a", "b"},
                                               {"launch"}}) {
        EXPECT_FALSE(ParseCommandLine(bad, error)) << bad.back();
    }
    EXPECT_EQ(ParseCommandLine({"--help"}, error)->action, Action::Help);
}

}  // namespace
}  // namespace vantic::testing
