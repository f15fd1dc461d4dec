#include "net/session.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <random>
#include <thread>
#include <vector>

#include "net/server_address.h"
#include "net/server_command.h"
#include "tests/net/reference.h"
#include "tests/net/wire_peer.h"

namespace vantic {
namespace {

using namespace std::chrono_literals;
using testing::PeerRead;
using testing::PeerWrite;
using testing::SecondsSince;
using testing::SocketPair;

TEST(ServerAddressTest, ReadsHostAndOptionalPort) {
    std::optional<ServerAddress> plain = ParseServerAddress("media.example.net");
    ASSERT_TRUE(plain.has_value());
    EXPECT_EQ(plain->host, "media.example.net");
    EXPECT_EQ(plain->port, ServerPort);

    std::optional<ServerAddress> withPort = ParseServerAddress("10.1.2.3:40001");
    ASSERT_TRUE(withPort.has_value());
    EXPECT_EQ(withPort->host, "10.1.2.3");
    EXPECT_EQ(withPort->port, 40001);

    for (const char* bad : {"", ":12322", "host:", "host:0", "host:65536", "host:12x", "host:-1",
                            "host:+5", "host: 80"}) {
        EXPECT_FALSE(ParseServerAddress(bad).has_value()) << bad;
    }
}

TEST(SessionTransferTest, MovesLargeBuffersBothWaysInPieces) {
    SocketPair pair;
    std::mt19937 random(7);
    // Far beyond the socket buffers, so both ends see "would block".
    Bytes outgoing = testing::RandomBytes(random, 3'000'001);
    Bytes incoming = testing::RandomBytes(random, 2'500'003);
    Bytes seenByPeer;
    std::thread peer([&] {
        seenByPeer = PeerRead(pair.Peer(), outgoing.size());
        PeerWrite(pair.Peer(), incoming);
    });
    EXPECT_TRUE(SendExact(pair.Client(), outgoing, 5s));
    Bytes received(incoming.size());
    EXPECT_TRUE(RecvExact(pair.Client(), received, 5s));
    peer.join();
    EXPECT_EQ(seenByPeer, outgoing);
    EXPECT_EQ(received, incoming);
}

TEST(SessionTransferTest, WordsAreBigEndian) {
    SocketPair pair;
    ASSERT_TRUE(SendWord(pair.Client(), 0x01020304, 1s));
    EXPECT_EQ(PeerRead(pair.Peer(), 4), (Bytes{1, 2, 3, 4}));
    ASSERT_TRUE(PeerWrite(pair.Peer(), Bytes{0xFF, 0xFF, 0xFF, 0xFE}));
    EXPECT_EQ(RecvWord(pair.Client(), 1s), 0xFFFFFFFEu);
}

TEST(SessionTransferTest, ZeroBytesSucceedWithoutWaiting) {
    SocketPair pair;
    auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(RecvExact(pair.Client(), std::span<std::uint8_t>(), testing::kLongLimit));
    EXPECT_TRUE(SendExact(pair.Client(), ByteView(), testing::kLongLimit));
    EXPECT_LT(SecondsSince(start), testing::kWellBeforeTheLongLimit);
}

TEST(SessionTransferTest, PeerClosingEndsAReceiveAtOnce) {
    SocketPair pair;
    ASSERT_TRUE(PeerWrite(pair.Peer(), Bytes(100, 0xAB)));
    pair.ClosePeer();
    Bytes buffer(200);
    auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(RecvExact(pair.Client(), buffer, testing::kLongLimit));
    EXPECT_LT(SecondsSince(start), testing::kWellBeforeTheLongLimit);
    EXPECT_FALSE(RecvWord(pair.Client(), testing::kLongLimit).has_value());
}

TEST(SessionTransferTest, SendToAClosedPeerFails) {
    SocketPair pair;
    pair.ClosePeer();
    EXPECT_FALSE(SendExact(pair.Client(), Bytes(10'000, 1), 1s));
}

// The limit applies to each 4096-byte piece, not to the whole transfer: a
// 4097-byte receive whose two pieces each complete within the limit
// succeeds even though the whole takes longer than one limit.
// Seven pauses of 200 ms add up past the 1,200 ms limit, so one deadline
// for the whole body would fail; each piece still arrives 1,000 ms before
// its own deadline, room enough for a loaded sanitized run.
TEST(SessionTransferTest, EachPieceHasItsOwnDeadline) {
    SocketPair pair;
    const auto limit = 1200ms;
    const auto pause = 200ms;
    // The first piece comes in two writes; then six pieces, the last one byte.
    const std::vector<std::size_t> writes{2000,       kPieceSize - 2000, kPieceSize, kPieceSize,
                                          kPieceSize, kPieceSize,        kPieceSize, 1};
    std::thread peer([&] {
        for (std::size_t i = 0; i < writes.size(); ++i) {
            if (i > 0) {
                std::this_thread::sleep_for(pause);
            }
            PeerWrite(pair.Peer(), Bytes(writes[i], static_cast<std::uint8_t>(i + 1)));
        }
    });
    Bytes body(6 * kPieceSize + 1);
    auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(RecvExact(pair.Client(), body, limit));
    EXPECT_GT(SecondsSince(start), 1.2);
    peer.join();
    EXPECT_EQ(body[1999], 1);
    EXPECT_EQ(body[kPieceSize - 1], 2);
    EXPECT_EQ(body[5 * kPieceSize], 7);
    EXPECT_EQ(body[6 * kPieceSize], 8);
}

TEST(SessionTransferTest, APieceThatStallsPastTheLimitFails) {
    SocketPair pair;
    ASSERT_TRUE(PeerWrite(pair.Peer(), Bytes(4096 + 10, 1)));  // stalls in the second piece
    Bytes body(4097 + 100);
    auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(RecvExact(pair.Client(), body, 600ms));
    double elapsed = SecondsSince(start);
    EXPECT_GE(elapsed, 0.6);
    EXPECT_LT(elapsed, 2.0);
}

TEST(SessionTransferTest, ASendThatCannotDrainFailsAfterTheLimit) {
    SocketPair pair;  // the peer never reads
    Bytes data(8 << 20, 5);
    auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(SendExact(pair.Client(), data, 500ms));
    double elapsed = SecondsSince(start);
    EXPECT_GE(elapsed, 0.5);
    EXPECT_LT(elapsed, 2.0);
}

// A listening loopback socket on a free port; nothing ever accepts.
class Listener {
  public:
    explicit Listener(int backlog = 8) : socket_(::socket(AF_INET, SOCK_STREAM, 0)) {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof address;
        if (bind(socket_.Handle(), reinterpret_cast<sockaddr*>(&address), size) == 0 &&
            listen(socket_.Handle(), backlog) == 0 &&
            getsockname(socket_.Handle(), reinterpret_cast<sockaddr*>(&address), &size) == 0) {
            port_ = ntohs(address.sin_port);
        }
    }
    [[nodiscard]] std::uint16_t Port() const { return port_; }
    void Close() { socket_.Close(); }

  private:
    Socket socket_;
    std::uint16_t port_ = 0;
};

TEST(OpenServerConnectionTest, ReachesADottedAddressAtTheGivenPort) {
    Listener listener;
    ASSERT_NE(listener.Port(), 0);
    Socket socket = OpenServerConnection("127.0.0.1:" + std::to_string(listener.Port()));
    ASSERT_TRUE(socket.Valid());
    // Non-blocking after the connect: a receive with nothing pending says so.
    std::uint8_t byte = 0;
    EXPECT_EQ(ReceiveSome(socket, {&byte, 1}).status, IoStatus::WouldBlock);
    // The classic parser's short forms name the same address.
    EXPECT_TRUE(OpenServerConnection("127.1:" + std::to_string(listener.Port())).Valid());
}

TEST(OpenServerConnectionTest, FailsForNothingListeningAndForBadHosts) {
    Listener listener;
    std::string port = std::to_string(listener.Port());
    listener.Close();
    EXPECT_FALSE(OpenServerConnection("127.0.0.1:" + port).Valid());
    EXPECT_FALSE(OpenServerConnection("").Valid());
    EXPECT_FALSE(OpenServerConnection("127.0.0.1:99999").Valid());
    auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(OpenServerConnection("no-such-host.invalid").Valid());
    EXPECT_LT(SecondsSince(start), 5.0);
}

TEST(OpenServerConnectionTest, ReadsDottedTextAsTheClassicParserDoes) {
    EXPECT_EQ(ParseDottedAddress("10.0.0.1")->ToText(), "10.0.0.1");
    EXPECT_EQ(ParseDottedAddress("10.1")->ToText(), "10.0.0.1");
    EXPECT_EQ(ParseDottedAddress("0x7f.1")->ToText(), "127.0.0.1");
    EXPECT_FALSE(ParseDottedAddress("10.0.0.256").has_value());
    EXPECT_FALSE(ParseDottedAddress("media.example").has_value());
}

// A listener whose accept queue is full drops further handshakes, so the
// connect would wait for the system's own limit; ours ends it.
TEST(OpenServerConnectionTest, GivesUpAfterTheConnectLimit) {
    Listener listener(0);
    std::string host = "127.0.0.1:" + std::to_string(listener.Port());
    std::vector<Socket> held;
    bool stalled = false;
    for (int i = 0; i < 8 && !stalled; ++i) {
        auto start = std::chrono::steady_clock::now();
        Socket socket = OpenServerConnection(host, 500ms);
        double elapsed = SecondsSince(start);
        if (!socket.Valid()) {
            stalled = true;
            EXPECT_GE(elapsed, 0.45);
            EXPECT_LT(elapsed, 2.0);
        }
        held.push_back(std::move(socket));
    }
    EXPECT_TRUE(stalled) << "the accept queue never filled";
}

}  // namespace
}  // namespace vantic
