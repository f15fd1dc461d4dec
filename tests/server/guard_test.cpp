// The server's defences against strangers and greedy clients.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <thread>

#include "server/account_command.h"
#include "tests/server/live_server.h"

namespace vantic::testing {
namespace {

using namespace std::chrono_literals;

TEST(ServerGuard, AGreetingInPiecesIsLoggedWithItsPeer) {
    LiveServer server;
    ASSERT_TRUE(server.Ok()) << server.Error();
    const std::string block(kLoginBlockSize, '\x80');
    for (std::size_t pieces = 1; pieces <= 3; ++pieces) {
        WireSocket socket = ConnectTo("127.0.0.1", server.Port());
        ASSERT_TRUE(socket.Receive(16, 5));
        for (std::size_t at = 0, size = block.size() / pieces + 1; at < block.size(); at += size) {
            ASSERT_TRUE(socket.SendAll(block.substr(at, size)));
            std::this_thread::sleep_for(100ms);  // each piece a read of its own
        }
        EXPECT_TRUE(socket.ClosedWithin(5));
        EXPECT_EQ(server.AwaitLog({"peer=127.0.0.1:", "outcome=bad-login-block"}, pieces).size(),
                  pieces);
    }
}

TEST(ServerGuard, AnAddressHoldsFewGreetingsAndItsOldestGiveWay) {
    server::ServeOptions options;
    options.maxGreetingsPerAddress = 4;
    LiveServer server(options);
    ASSERT_TRUE(server.Ok()) << server.Error();
    std::vector<WireSocket> idle;
    for (int index = 0; index < 6; ++index) {
        idle.push_back(ConnectTo("127.0.0.1", server.Port()));
        ASSERT_TRUE(idle.back().Receive(16, 5));
    }
    EXPECT_TRUE(idle[0].ClosedWithin(5));
    EXPECT_TRUE(idle[1].ClosedWithin(5));
    EXPECT_FALSE(idle[2].ClosedWithin(0.2));
    EXPECT_EQ(server.AwaitLog({"outcome=dropped:login-block"}, 2).size(), 2u);
    EXPECT_EQ(server.AdminClient().Fetch(17, -1).kind, Download::Kind::Payload);
}

TEST(ServerGuard, RepeatedWrongPasswordsBackOffButAVerifiedLoginGoesOn) {
    LiveServer server;
    ASSERT_TRUE(server.Ok()) << server.Error();
    WireClient admin = server.AdminClient();
    ASSERT_EQ(admin.Fetch(17, -1).kind, Download::Kind::Payload);
    WireClient guesser = server.OperatorClient();
    guesser.SetCredentials(server.Operator().login, "not-the-password");
    for (int attempt = 0; attempt < 8; ++attempt) {
        EXPECT_EQ(guesser.Fetch(17, -1).kind, Download::Kind::Failed);
    }
    EXPECT_FALSE(server.AwaitLog({"outcome=login-refused:backoff"}).empty());
    // One line for the address and one for the login, not one per attempt.
    EXPECT_EQ(server.LogLines({"event=login-backoff"}).size(), 2u);
    EXPECT_EQ(admin.Fetch(17, -1).kind, Download::Kind::Payload);
}

std::vector<std::string> Leftovers(const std::string& dir) {
    std::vector<std::string> found;
    for (const auto& item : std::filesystem::directory_iterator(dir + "/tmp")) {
        if (item.path().extension() != ".lock") {
            found.push_back(item.path().string());
        }
    }
    return found;
}

TEST(ServerGuard, UploadsThatMayNotRunAreRefusedBeforeTheirBody) {
    struct Case {
        const char* outcome;
        std::size_t uploadsPerAccount;
        std::uint64_t diskReserve;
        bool seesNoUnit;
    };
    for (const Case& test :
         {Case{"refused:busy", 1, 0, false}, Case{"refused:no-space", 8, 1ull << 62, false},
          Case{"refused:not-permitted", 8, 0, true}}) {
        server::ServeOptions options;
        options.uploadsPerAccount = test.uploadsPerAccount;
        options.limits.diskReserveBytes = test.diskReserve;
        LiveServer server(options);
        ASSERT_TRUE(server.Ok()) << server.Error();
        ASSERT_TRUE(WriteFileBytes(
            server.DataDir() + "/accounts.txt",
            ReadFileBytes(server.DataDir() + "/accounts.txt") + "viewer viewer-pass-1\n"));
        WireClient client = server.AdminClient();
        if (test.seesNoUnit) {
            client.SetCredentials("viewer", "viewer-pass-1");
        }
        const Md5Digest digest = DigestOf("a medium");
        std::optional<WireClient::Session> running = client.Login(7, -1, &digest);
        std::optional<WireClient::Session> refused = client.Login(7, -1, &digest);
        ASSERT_TRUE(running && refused) << test.outcome;
        ASSERT_TRUE(running->socket.SendAll(WordText(8) + WordText(0) + "a me"));
        std::this_thread::sleep_for(100ms);  // the first takes its slot
        ASSERT_TRUE(refused->socket.SendAll(WordText(8) + WordText(0)));
        EXPECT_EQ(refused->socket.ReceiveWord(5), 1u) << test.outcome;
        EXPECT_EQ(server
                      .AwaitLog({"command=7", std::string("outcome=") + test.outcome},
                                test.uploadsPerAccount == 1 ? 1 : 2)
                      .size(),
                  test.uploadsPerAccount == 1 ? 1u : 2u);
        running->socket.Close();
        server.Stop();
        EXPECT_TRUE(Leftovers(server.DataDir()).empty()) << test.outcome;
    }
}

TEST(ServerGuard, ATricklingBodyIsEndedByItsAverageRate) {
    server::ServeOptions options;
    options.limits.minUploadRate = 1 << 20;
    options.limits.uploadGraceSeconds = 1;
    LiveServer server(options);
    ASSERT_TRUE(server.Ok()) << server.Error();
    const Md5Digest digest = DigestOf("never sent");
    std::optional<WireClient::Session> upload = server.AdminClient().Login(7, -1, &digest);
    ASSERT_TRUE(upload);
    ASSERT_TRUE(upload->socket.SendAll(WordText(10'000'000) + WordText(0)));
    bool closed = false;
    for (int piece = 0; piece < 40 && !closed; ++piece) {
        closed =
            !upload->socket.SendAll(std::string(4096, 't')) || upload->socket.ClosedWithin(0.2);
    }
    EXPECT_TRUE(closed);
    EXPECT_EQ(server.AwaitLog({"command=7", "outcome=timeout:body"}).size(), 1u);
}

TEST(ServerGuard, TheOwnerTableShowsAnAccountOnlyItsUnits) {
    LiveServer server;
    ASSERT_TRUE(server.Ok()) << server.Error();
    const std::string table = "1012=Alpha\r\n1024=Hidden\n1017 = Beta\nnotes=x\n";
    ASSERT_EQ(server.AdminClient().Store(19, -1, table), 0u);
    EXPECT_EQ(server.AdminClient().Fetch(18, -1).payload, table);
    EXPECT_EQ(server.OperatorClient().Fetch(18, -1).payload, "1012=Alpha\r\n1017 = Beta\n");
}

TEST(ServerGuard, AccountCommandsRefuseShortPasswordsAndOtherUsersFolders) {
    LiveServer server;
    ASSERT_TRUE(server.Ok()) << server.Error();
    struct Case {
        const char* password;
        bool allowShort;
        bool ok;
    };
    for (const Case& test : {Case{"short-pw1", false, false}, Case{"short-pw1", true, true},
                             Case{"long-enough", false, true}}) {
        server::AccountCommand add{server::AccountVerb::Add, "guest", "",
                                   server.DataDir(),         1000,    test.allowShort};
        const server::AccountOutcome outcome = server::RunAccountCommand(
            add, [&](const std::string&, std::string&) { return std::string(test.password); });
        EXPECT_EQ(outcome.ok, test.ok) << test.password << ": " << outcome.error;
        server::AccountCommand remove{server::AccountVerb::Remove, "guest", "", server.DataDir()};
        EXPECT_EQ(server::RunAccountCommand(remove, {}).ok, test.ok);
    }
    // A folder of another user (only root can make one here).
    const std::string foreign = server.DataDir() + "/../foreign";
    std::filesystem::create_directory(foreign);
    if (::geteuid() != 0 || ::chown(foreign.c_str(), 65534, 65534) != 0) {
        GTEST_SKIP() << "needs root to give a folder away";
    }
    const server::AccountOutcome outcome = server::RunAccountCommand(
        server::AccountCommand{server::AccountVerb::List, "", "", foreign}, {});
    EXPECT_FALSE(outcome.ok);
    EXPECT_NE(outcome.error.find("runuser -u "), std::string::npos) << outcome.error;
}

}  // namespace
}  // namespace vantic::testing
