// The server's defences against strangers and greedy clients.

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <thread>

#include "server/account_command.h"
#include "server/greeter.h"
#include "server/log_throttle.h"
#include "server/login_gate.h"
#include "server/password_hash.h"
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

TEST(ServerGuard, AFullTableMakesTheBusiestAddressGiveWayNotTheNewcomer) {
    server::Greeter greeter(5, 4, 3);
    std::vector<server::Accepted> complete;
    std::vector<server::FailedGreeting> failed;
    std::vector<int> clientEnds;
    const auto connect = [&](const std::string& peer) {
        int ends[2];
        ASSERT_EQ(::socketpair(AF_UNIX, SOCK_STREAM, 0, ends), 0);
        clientEnds.push_back(ends[0]);
        greeter.Add(ends[1], peer, complete, failed);
    };
    for (const char* peer : {"10.0.0.1:1", "10.0.0.1:2", "10.0.0.1:3", "10.0.0.2:1"}) {
        connect(peer);
    }
    connect("10.0.0.3:1");  // the table is full: the first of 10.0.0.1 is dropped
    ASSERT_EQ(failed.size(), 1u);
    EXPECT_EQ(failed[0].peer, "10.0.0.1:1");
    EXPECT_EQ(failed[0].outcome, "dropped:login-block");

    // The next oldest of 10.0.0.1 sent its whole block unread: it goes on.
    const std::string block(kLoginBlockSize, 'b');
    ASSERT_EQ(::write(clientEnds[1], block.data(), block.size()),
              static_cast<ssize_t>(block.size()));
    connect("10.0.0.4:1");
    ASSERT_EQ(complete.size(), 1u);
    EXPECT_EQ(complete[0].peer, "10.0.0.1:2");
    EXPECT_EQ(failed.size(), 1u);
    ::close(complete[0].fd);
    for (int end : clientEnds) {
        ::close(end);
    }
}

// A burst of one login's connections makes one check; the others, waiting
// for it, find the login verified the moment its slot is free.
TEST(ServerGuard, ABurstOfOneHonestLoginIsAllAcceptedWithOneCheckSlot) {
    std::string error;
    std::optional<server::Logger> log = server::Logger::Open("", error);
    ASSERT_TRUE(log);
    const server::Account account{
        "sovra", server::HashPassword("right", 20000).value_or(""), true, {}};
    for (int round = 0; round < 20; ++round) {
        server::VerifiedLogins verified;
        server::LoginGate gate(verified, 1, *log);
        std::atomic<int> accepted = 0;
        std::vector<std::jthread> burst;
        for (int connection = 0; connection < 6; ++connection) {
            burst.emplace_back([&] {
                const server::LoginAttempt attempt{&account, "sovra", "right", "10.0.0.1", 0};
                accepted += gate.Check(attempt) == server::LoginVerdict::Accepted ? 1 : 0;
            });
        }
        burst.clear();
        ASSERT_EQ(accepted, 6) << "round " << round;
    }
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

TEST(ServerGuard, UploadsThatMayNotRunAreRefusedBeforeTheirBody) {
    // {outcome, uploads per account, disk reserve, by an account that sees no unit}
    for (const auto& [outcome, perAccount, reserve, viewer] :
         {std::tuple("refused:busy", 1u, 0ull, false),
          std::tuple("refused:no-space", 8u, 1ull << 62, false),
          std::tuple("refused:not-permitted", 8u, 0ull, true)}) {
        server::ServeOptions options;
        options.uploadsPerAccount = perAccount;
        options.limits.diskReserveBytes = reserve;
        LiveServer server(options);
        ASSERT_TRUE(server.Ok()) << server.Error();
        const std::string accounts = server.DataDir() + "/accounts.txt";
        ASSERT_TRUE(WriteFileBytes(accounts, ReadFileBytes(accounts) + "viewer viewer-pass\n"));
        WireClient client = server.AdminClient();
        client.SetCredentials(viewer ? "viewer" : "sovra",
                              viewer ? "viewer-pass" : server.Administrator().password);
        const Md5Digest digest = DigestOf("a medium");
        std::optional<WireClient::Session> first = client.Login(7, -1, &digest);
        std::optional<WireClient::Session> second = client.Login(7, -1, &digest);
        ASSERT_TRUE(first && second && first->socket.SendAll(WordText(8) + WordText(0) + "a"));
        std::this_thread::sleep_for(100ms);  // the first takes its slot
        ASSERT_TRUE(second->socket.SendAll(WordText(8) + WordText(0)));
        EXPECT_EQ(second->socket.ReceiveWord(5), std::nullopt) << outcome;  // closed unanswered
        const std::size_t refusals = perAccount == 1 ? 1 : 2;
        EXPECT_EQ(server.AwaitLog({std::string("outcome=") + outcome}, refusals).size(), refusals);
        first->socket.Close();
        server.Stop();
        for (const auto& item : std::filesystem::directory_iterator(server.DataDir() + "/tmp")) {
            EXPECT_EQ(item.path().extension(), ".lock") << outcome;  // no partial file
        }
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
    ASSERT_TRUE(upload && upload->socket.SendAll(WordText(10'000'000) + WordText(0)));
    for (int piece = 0; piece < 40 && upload->socket.SendAll(std::string(4096, 't')); ++piece) {
        std::this_thread::sleep_for(200ms);  // 20 KiB/s, far below the rate asked
    }
    EXPECT_EQ(server.AwaitLog({"command=7", "outcome=timeout:body"}).size(), 1u);
}

TEST(ServerGuard, AccountCommandsRefuseShortPasswordsAndOtherUsersFolders) {
    LiveServer server;
    ASSERT_TRUE(server.Ok()) << server.Error();
    using server::AccountVerb;
    // {password, override, accepted}
    for (const auto& [password, allowShort, ok] :
         {std::tuple("short-pw1", false, false), std::tuple("short-pw1", true, true),
          std::tuple("long-enough", false, true)}) {
        const server::AccountOutcome added = server::RunAccountCommand(
            {AccountVerb::Add, "guest", "", server.DataDir(), 1000, allowShort},
            [&](const std::string&, std::string&) { return std::string(password); });
        EXPECT_EQ(added.ok, ok) << password << ": " << added.error;
        EXPECT_EQ(
            server::RunAccountCommand({AccountVerb::Remove, "guest", "", server.DataDir()}, {}).ok,
            ok);
    }
    const std::string foreign = server.DataDir() + "/../foreign";  // another user's folder
    std::filesystem::create_directory(foreign);
    if (::geteuid() != 0 || ::chown(foreign.c_str(), 65534, 65534) != 0) {
        GTEST_SKIP() << "only root can give a folder away";
    }
    const std::string error =
        server::RunAccountCommand({AccountVerb::List, "", "", foreign}, {}).error;
    EXPECT_NE(error.find("runuser -u "), std::string::npos) << error;
}

TEST(ServerGuard, RepeatedJunkFromOnePeerCollapsesIntoALineAMinute) {
    server::LogThrottle throttle({3, std::chrono::seconds(60), 16});
    const server::LogThrottle::Clock::time_point start{};
    int written = 0;
    for (int second = 0; second < 10; ++second) {
        written += throttle.Admit("10.0.0.1", "bad-login-block", start + second * 1s) ? 1 : 0;
    }
    EXPECT_EQ(written, 3);
    EXPECT_TRUE(throttle.Admit("10.0.0.2", "bad-login-block", start + 1s));
    EXPECT_TRUE(throttle.Admit("10.0.0.1", "wrong-nonce", start + 1s));
    EXPECT_TRUE(throttle.Reports(start + 30s, false).empty());
    EXPECT_EQ(
        throttle.Reports(start + 61s, false),
        std::vector<std::string>{"peer=10.0.0.1 outcome=bad-login-block repeated=7 seconds=61"});
}

}  // namespace
}  // namespace vantic::testing
