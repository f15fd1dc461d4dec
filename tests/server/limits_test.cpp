// Time limits and concurrency: silent clients are dropped, busy workers do
// not lock others out, and simultaneous clients all get served.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "net/hex.h"
#include "net/server_command.h"
#include "tests/server/live_server.h"

namespace vantic::testing {
namespace {

server::ServeOptions QuickLimits(std::size_t workers) {
    server::ServeOptions options;
    options.limits.pieceSeconds = 1;
    options.limits.mediaSeconds = 1;
    options.maxWorkers = workers;
    return options;
}

TEST(ServerLimits, SilentClientsAreDroppedAfterThePieceLimit) {
    LiveServer server(QuickLimits(4));
    ASSERT_TRUE(server.Ok()) << server.Error();

    WireSocket silent = ConnectTo("127.0.0.1", server.Port());
    ASSERT_TRUE(silent.Receive(16, 5));
    EXPECT_TRUE(silent.ClosedWithin(5));
    EXPECT_EQ(server.AwaitLog({"outcome=timeout:login-block"}).size(), 1u);

    // A media body that stops arriving is abandoned too.
    WireClient client = server.AdminClient(5);
    const Md5Digest digest = DigestOf("never finished");
    std::optional<WireClient::Session> upload = client.Login(7, -1, &digest);
    ASSERT_TRUE(upload);
    ASSERT_TRUE(upload->socket.SendAll(WordText(100) + WordText(0) + "only part"));
    EXPECT_TRUE(upload->socket.ClosedWithin(5));
    EXPECT_EQ(server.AwaitLog({"command=7", "outcome=timeout:body"}).size(), 1u);
    EXPECT_EQ(client.Query(digest), 0u);

    // So is one that stops after filling several of the server's buffers.
    const std::string large(4000000, 'L');
    const Md5Digest largeDigest = DigestOf(large);
    upload = client.Login(7, -1, &largeDigest);
    ASSERT_TRUE(upload);
    ASSERT_TRUE(upload->socket.SendAll(WordText(4000000) + WordText(0) + large.substr(0, 2500000)));
    EXPECT_TRUE(upload->socket.ClosedWithin(5));
    EXPECT_EQ(server.AwaitLog({"command=7", "outcome=timeout:body"}, 2).size(), 2u);
    EXPECT_EQ(client.Query(largeDigest), 0u);
}

TEST(ServerLimits, ABodyTakesAsLongAsItNeedsWhileEachPieceKeepsItsLimit) {
    server::ServeOptions options;
    options.limits.mediaSeconds = 2;
    LiveServer server(options);
    ASSERT_TRUE(server.Ok()) << server.Error();
    // Four pieces 0.8 s apart: the body takes longer than one limit, but
    // every piece arrives well within its own.
    const std::string body(4 * 4096, 'p');
    const Md5Digest digest = DigestOf(body);
    WireClient client = server.AdminClient(10);
    std::optional<WireClient::Session> upload = client.Login(7, -1, &digest);
    ASSERT_TRUE(upload);
    ASSERT_TRUE(upload->socket.SendAll(WordText(4 * 4096) + WordText(0)));
    for (int piece = 0; piece < 4; ++piece) {
        std::this_thread::sleep_for(std::chrono::milliseconds(800));
        ASSERT_TRUE(upload->socket.SendAll(body.substr(piece * 4096, 4096)));
    }
    EXPECT_EQ(upload->socket.ReceiveWord(5), 0u);
    EXPECT_EQ(server.AwaitLog({"command=7", "outcome=stored"}).size(), 1u);
}

TEST(ServerLimits, ASilentClientCannotHoldTheOnlyWorker) {
    LiveServer server(QuickLimits(1));
    ASSERT_TRUE(server.Ok()) << server.Error();
    WireSocket silent = ConnectTo("127.0.0.1", server.Port());
    ASSERT_TRUE(silent.Receive(16, 5));
    // Served once the silent one has been dropped.
    EXPECT_EQ(server.AdminClient(8).Fetch(17, -1).kind, Download::Kind::Payload);
}

// Greetings are read by the accept thread: clients that trickle their login
// block, however many, hold no worker, and the one worker serves an honest
// client long before their piece limit would drop them.
TEST(ServerLimits, ClientsTricklingTheirLoginBlockHoldNoWorker) {
    server::ServeOptions options;
    options.maxWorkers = 1;
    options.limits.pieceSeconds = 60;
    LiveServer server(options);
    ASSERT_TRUE(server.Ok()) << server.Error();
    std::vector<WireSocket> trickling;
    for (int client = 0; client < 4; ++client) {
        trickling.push_back(ConnectTo("127.0.0.1", server.Port()));
        ASSERT_TRUE(trickling.back().Receive(16, 5));
        ASSERT_TRUE(trickling.back().SendAll(std::string(40, '\x80')));
    }
    EXPECT_EQ(server.AdminClient(10).Fetch(17, -1).kind, Download::Kind::Payload);
    // A block completed with garbage is refused by the worker as before.
    ASSERT_TRUE(trickling[0].SendAll(std::string(kLoginBlockSize - 40, '\x01')));
    EXPECT_TRUE(trickling[0].ClosedWithin(10));
    EXPECT_EQ(server.AwaitLog({"outcome=bad-login-block"}).size(), 1u);
    // The others wait in the greeting until they hang up.
    trickling[1].Close();
    EXPECT_EQ(server.AwaitLog({"outcome=peer-closed:login-block"}).size(), 1u);
}

TEST(ServerLimits, SimultaneousClientsAreAllServedAndNoUploadIsLost) {
    server::ServeOptions options;
    options.maxWorkers = 16;  // fewer workers than clients: connections queue
    options.uploadsPerAccount = options.maxUploads = 16;  // any client may upload at once
    LiveServer server(options);
    ASSERT_TRUE(server.Ok()) << server.Error();
    constexpr int kClients = 32;
    constexpr int kRounds = 4;
    std::atomic<int> failures{0};
    std::vector<std::thread> clients;
    for (int c = 0; c < kClients; ++c) {
        clients.emplace_back([&, c] {
            WireClient client = c % 2 ? server.AdminClient(20) : server.OperatorClient(20);
            for (int r = 0; r < kRounds; ++r) {
                const std::string media = "clip " + std::to_string(c) + "/" + std::to_string(r);
                bool ok = client.Fetch(17, -1).kind == Download::Kind::Payload &&
                          client.Query(DigestOf(media)) == 0u &&
                          client.PutMedia(DigestOf(media), media) == 0u &&
                          client.Store(8, 1012, "4\tnotes\tby client " + std::to_string(c)) == 0u &&
                          client.Fetch(2, 1012).kind == Download::Kind::Payload;
                failures += ok ? 0 : 1;
            }
        });
    }
    for (std::thread& client : clients) {
        client.join();
    }
    EXPECT_EQ(failures.load(), 0);
    for (int c = 0; c < kClients; ++c) {
        for (int r = 0; r < kRounds; ++r) {
            const std::string media = "clip " + std::to_string(c) + "/" + std::to_string(r);
            EXPECT_EQ(
                ReadFileBytes(server.DataDir() + "/media/" + HexEncode(ByteView(DigestOf(media)))),
                media);
        }
    }
    server.Stop();
    EXPECT_EQ(server.LogLines({"command=7", "outcome=stored"}).size(),
              static_cast<std::size_t>(kClients * kRounds));
    EXPECT_TRUE(server.LogLines({"outcome=overload"}).empty());
}

}  // namespace
}  // namespace vantic::testing
