// vantic-server's accounts as a service keeps them: hashed passwords that
// older plain-text files migrate to, private files, the account commands
// working beside a running server, and no secret in its log or output.

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <thread>

#include "server/accounts.h"
#include "server/password_hash.h"
#include "tests/server/wire_client.h"
#include "tests/support/server_runner.h"

extern char** environ;

namespace vantic::testing {
namespace {

using server::Account;
using server::ParseAccounts;

struct CommandRun {
    std::string output;  // standard output and error
    int status = -1;
};

std::string Quoted(const std::string& word) {
    return "'" + word + "'";
}

mode_t ModeOf(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 ? info.st_mode & 07777 : 07777;
}

class AccountProgram : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(server_.Ok()) << server_.Error();
        secrets_ = {server_.Administrator().password, server_.Operator().password};
        NoteHashes();
    }

    // Whatever the test did, no password or hash shows in what the server
    // logged or any command printed.
    void TearDown() override {
        NoteHashes();
        const std::string log = ReadFileBytes(server_.DataDir() + "/server.log");
        ASSERT_FALSE(log.empty());
        for (const std::string& secret : secrets_) {
            EXPECT_EQ(log.find(secret), std::string::npos) << secret;
            EXPECT_EQ(server_.ErrorOutput().find(secret), std::string::npos) << secret;
            EXPECT_EQ(printed_.find(secret), std::string::npos) << secret;
        }
    }

    // Each hash of the accounts file, and its salt and digest alone.
    void NoteHashes() {
        for (const Account& account : Accounts()) {
            const std::string& stored = account.storedPassword;
            if (server::IsPasswordHash(stored)) {
                secrets_.push_back(stored);
                secrets_.push_back(stored.substr(stored.rfind('$') + 1));
                secrets_.push_back(stored.substr(stored.find('$', 15) + 1, 32));
            }
        }
    }

    std::vector<Account> Accounts() const { return ParseAccounts(ReadFileBytes(AccountsPath())); }
    std::string AccountsPath() const { return server_.DataDir() + "/accounts.txt"; }

    // vantic-server account VERB... --data DIR, with input on standard input.
    CommandRun Command(const std::vector<std::string>& words, const std::string& input = "") {
        const std::string inputFile = server_.DataDir() + "/../input.txt";
        EXPECT_TRUE(WriteFileBytes(inputFile, input));
        std::string command = "timeout 30 " + Quoted(ServerBinary()) + " account";
        for (const std::string& word : words) {
            command += " " + Quoted(word);
        }
        command += " --data " + Quoted(server_.DataDir()) + " < " + Quoted(inputFile) + " 2>&1";
        CommandRun run;
        std::FILE* pipe = ::popen(command.c_str(), "r");
        if (pipe == nullptr) {
            return run;
        }
        char buffer[4096];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
            run.output.append(buffer, n);
        }
        const int status = ::pclose(pipe);
        run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        printed_ += run.output;
        NoteHashes();
        return run;
    }

    Download UnitList(const std::string& login, const std::string& password) {
        secrets_.push_back(password);
        WireClient client(server_.Host(), server_.Port(), server_.KeyFile(), login, password, 10);
        return client.Fetch(17, -1);
    }

    // The server logs a connection once it has ended: waits for count lines.
    std::size_t AwaitLog(std::string_view needle, std::size_t count) const {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (server_.LogLines(needle).size() < count &&
               std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return server_.LogLines(needle).size();
    }

    ServerRunner server_;
    std::vector<std::string> secrets_;
    std::string printed_;
};

TEST_F(AccountProgram, AnOlderVenueLogsInWithItsPasswordsAndKeepsOnlyHashes) {
    ASSERT_TRUE(server_.Stop());
    ASSERT_TRUE(WriteFileBytes(AccountsPath(),
                               "# written by hand\noperator old-pass-1 1012, 1017\n"
                               "sovra old-pass-2 *\n"));
    ASSERT_EQ(::chmod(AccountsPath().c_str(), 0644), 0);
    ASSERT_TRUE(server_.Restart()) << server_.Error();

    const std::string text = ReadFileBytes(AccountsPath());
    EXPECT_TRUE(text.starts_with("# written by hand\noperator "));
    ASSERT_EQ(Accounts().size(), 2u);
    for (const Account& account : Accounts()) {
        EXPECT_TRUE(server::IsPasswordHash(account.storedPassword)) << account.login;
    }
    EXPECT_EQ(Accounts()[0].units, (std::vector<std::uint32_t>{1012, 1017}));
    EXPECT_EQ(ModeOf(AccountsPath()), 0600u);

    const Download mine = UnitList("operator", "old-pass-1");
    ASSERT_EQ(mine.kind, Download::Kind::Payload);
    EXPECT_NE(mine.payload.find("1017\t"), std::string::npos);
    EXPECT_EQ(mine.payload.find("1023\t"), std::string::npos);
    EXPECT_EQ(UnitList("sovra", "old-pass-2").kind, Download::Kind::Payload);
    EXPECT_EQ(UnitList("sovra", "old-pass-1").kind, Download::Kind::Failed);
    EXPECT_EQ(UnitList("sovra", server_.Administrator().password).kind, Download::Kind::Failed);
    EXPECT_EQ(AwaitLog("outcome=bad-login", 2), 2u);
    EXPECT_EQ(AwaitLog("login=sovra command=17", 3), 3u);  // the first may be logged last
}

TEST_F(AccountProgram, CommandsChangeTheAccountsOfARunningServer) {
    CommandRun run = Command({"add", "guest", "--units", "1012,1017", "--hash-iterations", "1000"},
                             "guest-pass-1\n");
    ASSERT_EQ(run.status, 0) << run.output;
    const Download seen = UnitList("guest", "guest-pass-1");
    ASSERT_EQ(seen.kind, Download::Kind::Payload);
    EXPECT_EQ(std::count(seen.payload.begin(), seen.payload.end(), '\n'), 2);
    EXPECT_EQ(ModeOf(AccountsPath()), 0600u);

    run = Command({"list"});
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.output.find("guest\t1012,1017\n"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("sovra\t*\n"), std::string::npos) << run.output;
    EXPECT_EQ(Command({"add", "guest"}, "other-pass\n").status, 1);
    EXPECT_EQ(Command({"add", "empty"}, "\n").status, 1);
    EXPECT_EQ(Command({"passwd", "nobody"}, "other-pass\n").status, 1);

    run = Command({"passwd", "guest", "--hash-iterations", "1000"}, "guest-pass-2\r\n");
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(UnitList("guest", "guest-pass-1").kind, Download::Kind::Failed);
    EXPECT_EQ(UnitList("guest", "guest-pass-2").payload, seen.payload);  // units kept

    run = Command({"remove", "guest"});
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(UnitList("guest", "guest-pass-2").kind, Download::Kind::Failed);
    EXPECT_EQ(Command({"list"}).output.find("guest"), std::string::npos);
    EXPECT_EQ(Command({"remove", "guest"}).status, 1);
    EXPECT_EQ(UnitList("sovra", server_.Administrator().password).kind, Download::Kind::Payload);
}

TEST_F(AccountProgram, FilesArePrivateAndAnOpenServerKeyStopsTheStart) {
    const std::string dir = server_.DataDir();
    EXPECT_EQ(ModeOf(dir + "/accounts.txt"), 0600u);
    EXPECT_EQ(ModeOf(dir + "/server.key"), 0600u);
    for (const char* folder : {"", "/tmp", "/units", "/media", "/units/1012"}) {
        EXPECT_EQ(ModeOf(dir + folder), 0700u) << folder;
    }

    ASSERT_TRUE(server_.Stop());
    ASSERT_EQ(::chmod((dir + "/accounts.txt").c_str(), 0644), 0);
    ASSERT_TRUE(server_.Restart()) << server_.Error();
    EXPECT_EQ(ModeOf(dir + "/accounts.txt"), 0600u);

    ASSERT_TRUE(server_.Stop());
    ASSERT_EQ(::chmod((dir + "/server.key").c_str(), 0644), 0);
    EXPECT_FALSE(server_.Restart());
    EXPECT_NE(server_.ErrorOutput().find(dir + "/server.key is open to other users"),
              std::string::npos)
        << server_.ErrorOutput();
    ASSERT_EQ(::chmod((dir + "/server.key").c_str(), 0600), 0);
    ASSERT_TRUE(server_.Restart()) << server_.Error();
}

bool WriteAll(int fd, std::string_view text) {
    return ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
}

// Reads the pseudo-terminal into seen until text shows (or the deadline).
void ReadUntil(int fd, std::string_view text, std::string& seen) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (seen.find(text) == std::string::npos && std::chrono::steady_clock::now() < deadline) {
        pollfd entry{fd, POLLIN, 0};
        char buffer[256];
        ssize_t got = ::poll(&entry, 1, 200) > 0 ? ::read(fd, buffer, sizeof buffer) : 0;
        if (got < 0) {
            break;  // the program ended and closed its side
        }
        seen.append(buffer, static_cast<std::size_t>(got));
    }
}

TEST_F(AccountProgram, APasswordTypedAtTheTerminalIsNotEchoed) {
    int terminal = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    ASSERT_GE(terminal, 0);
    ASSERT_EQ(::grantpt(terminal), 0);
    ASSERT_EQ(::unlockpt(terminal), 0);
    const std::string side = ::ptsname(terminal);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, side.c_str(), O_RDWR, 0);
    posix_spawn_file_actions_adddup2(&actions, 0, 1);
    posix_spawn_file_actions_adddup2(&actions, 0, 2);
    std::vector<std::string> args = {
        ServerBinary(),    "account",           "add", "typist", "--data",
        server_.DataDir(), "--hash-iterations", "1000"};
    std::vector<char*> argv;
    for (std::string& arg : args) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);
    pid_t child = -1;
    ASSERT_EQ(posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ), 0);
    posix_spawn_file_actions_destroy(&actions);

    std::string seen;
    ReadUntil(terminal, "New password for typist: ", seen);
    ASSERT_TRUE(WriteAll(terminal, "typed-secret\n"));
    ReadUntil(terminal, "The same again: ", seen);
    ASSERT_TRUE(WriteAll(terminal, "typed-secret\n"));
    ReadUntil(terminal, "added typist", seen);
    int status = 0;
    ::waitpid(child, &status, 0);
    ::close(terminal);
    printed_ += seen;
    secrets_.push_back("typed-secret");  // TearDown: the terminal never showed it
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << seen;
    EXPECT_NE(seen.find("added typist"), std::string::npos) << seen;
    EXPECT_EQ(UnitList("typist", "typed-secret").kind, Download::Kind::Payload);
}

}  // namespace
}  // namespace vantic::testing
