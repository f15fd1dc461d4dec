#include "net/payload_exchange.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <thread>

#include "net/envelope.h"
#include "net/timing_info.h"
#include "tests/net/reference.h"
#include "tests/net/wire_peer.h"

namespace vantic {
namespace {

using namespace std::chrono_literals;
using testing::PeerReadToEnd;
using testing::PeerReadWord;
using testing::PeerWrite;
using testing::PeerWriteWord;
using testing::SecondsSince;
using testing::SocketPair;

// The server's side of a download, scripted: a header, a body, and what the
// controller sent back before it closed.
class DownloadTest : public ::testing::Test {
  protected:
    // Runs ReceiveDownload against a peer that sends `length`, `status` and
    // `body`, then records everything the client sends until it closes.
    FetchResult Download(std::uint32_t length, std::uint32_t status, const Bytes& body,
                         std::chrono::milliseconds limit = SessionLimits{}.piece) {
        std::thread peer([&] {
            PeerWriteWord(pair_->Peer(), length);
            PeerWriteWord(pair_->Peer(), status);
            PeerWrite(pair_->Peer(), body);
        });
        FetchResult result = ReceiveDownload(pair_->Client(), key_, limit);
        peer.join();
        pair_->CloseClient();
        answer_ = PeerReadToEnd(pair_->Peer());
        return result;
    }

    Bytes Envelope(ByteView payload) { return SealPayload(payload, key_); }
    static Bytes Word(std::uint32_t value) {
        return {static_cast<std::uint8_t>(value >> 24), static_cast<std::uint8_t>(value >> 16),
                static_cast<std::uint8_t>(value >> 8), static_cast<std::uint8_t>(value)};
    }

    std::mt19937 random_{41};
    AesKey key_ = testing::RandomKey(random_);
    // A new connection for the next download of the same test.
    void Fresh() { pair_ = std::make_unique<SocketPair>(); }

    std::unique_ptr<SocketPair> pair_ = std::make_unique<SocketPair>();
    Bytes answer_;  // what the controller sent back
};

TEST_F(DownloadTest, AnOpenedBodyIsAcknowledgedWithItsLength) {
    std::string text = "1\tVideo\tclip.mpg\t\xe9t\xe9\r\n";  // 8-bit text unchanged
    Bytes body = Envelope(AsBytes(text));
    FetchResult result = Download(static_cast<std::uint32_t>(body.size()), 0, body);
    ASSERT_EQ(result.outcome, FetchOutcome::Ok);
    EXPECT_EQ(result.Text(), text);
    EXPECT_EQ(answer_, Word(static_cast<std::uint32_t>(body.size())));
}

TEST_F(DownloadTest, StatusMinusOneAlsoGoesOn) {
    Bytes body = Envelope(Bytes{});
    FetchResult result = Download(static_cast<std::uint32_t>(body.size()), 0xFFFFFFFF, body);
    EXPECT_EQ(result.outcome, FetchOutcome::Ok);
    EXPECT_TRUE(result.payload.empty());
}

TEST_F(DownloadTest, NothingStoredIsAbsentAndAnswered) {
    FetchResult result = Download(kAbsentLength, 0, {});
    EXPECT_EQ(result.outcome, FetchOutcome::Absent);
    EXPECT_EQ(answer_, Word(kAbsentLength));
}

TEST_F(DownloadTest, AnyOtherStatusRefusesWithNoAnswer) {
    Bytes body = Envelope(Bytes(10, 1));
    for (std::uint32_t status : {1u, 2u, 0xFFFFFFFEu, 0x80000000u}) {
        SCOPED_TRACE(status);
        Fresh();
        FetchResult result = Download(static_cast<std::uint32_t>(body.size()), status, body);
        EXPECT_EQ(result.outcome, FetchOutcome::Failed);
        EXPECT_TRUE(answer_.empty());
    }
    // A refusal wins over "nothing stored".
    Fresh();
    EXPECT_EQ(Download(kAbsentLength, 1, {}).outcome, FetchOutcome::Failed);
    EXPECT_TRUE(answer_.empty());
}

TEST_F(DownloadTest, ALengthAboveTheCeilingIsRefusedBeforeTheBody) {
    auto start = std::chrono::steady_clock::now();
    FetchResult result = Download(kMaxDownloadLength + 1, 0, {}, testing::kLongLimit);
    EXPECT_EQ(result.outcome, FetchOutcome::Failed);
    EXPECT_LT(SecondsSince(start), testing::kWellBeforeTheLongLimit);  // it never waited for a body
    EXPECT_TRUE(answer_.empty());
}

TEST_F(DownloadTest, ALengthAtTheCeilingIsAccepted) {
    // 16 * floor(n / 16) + 48 = 20,000,000
    Bytes payload = testing::RandomBytes(random_, kMaxDownloadLength - 48 + 5);
    Bytes body = Envelope(payload);
    ASSERT_EQ(body.size(), kMaxDownloadLength);
    FetchResult result = Download(kMaxDownloadLength, 0, body);
    ASSERT_EQ(result.outcome, FetchOutcome::Ok);
    EXPECT_EQ(result.payload, payload);
    EXPECT_EQ(answer_, Word(kMaxDownloadLength));
}

TEST_F(DownloadTest, BodiesThatDoNotOpenAreUndecryptableAndUnanswered) {
    std::mt19937 other(99);
    Bytes wrongKey = SealPayload(Bytes(100, 7), testing::RandomKey(other));
    Bytes damaged = Envelope(Bytes(100, 7));
    damaged.back() ^= 1;
    for (const Bytes& body : {wrongKey, damaged, Bytes{}, Bytes(47, 0), Bytes(50, 0)}) {
        SCOPED_TRACE(body.size());
        Fresh();
        FetchResult result = Download(static_cast<std::uint32_t>(body.size()), 0, body);
        EXPECT_EQ(result.outcome, FetchOutcome::Undecryptable);
        EXPECT_TRUE(result.payload.empty());
        EXPECT_TRUE(answer_.empty());
    }
}

TEST_F(DownloadTest, ABodyCutHalfwayFailsWithNothingHandedBack) {
    Bytes body = Envelope(Bytes(10'000, 3));
    std::uint32_t length = static_cast<std::uint32_t>(body.size());
    body.resize(body.size() / 2);
    std::thread peer([&] {
        PeerWriteWord(pair_->Peer(), length);
        PeerWriteWord(pair_->Peer(), 0);
        PeerWrite(pair_->Peer(), body);
        pair_->ClosePeer();
    });
    auto start = std::chrono::steady_clock::now();
    FetchResult result = ReceiveDownload(pair_->Client(), key_, testing::kLongLimit);
    peer.join();
    EXPECT_EQ(result.outcome, FetchOutcome::Failed);
    EXPECT_TRUE(result.payload.empty());
    EXPECT_LT(SecondsSince(start), testing::kWellBeforeTheLongLimit);
}

TEST_F(DownloadTest, AMissingHeaderFailsAfterTheLimit) {
    ASSERT_TRUE(PeerWriteWord(pair_->Peer(), 64));  // the status never comes
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(ReceiveDownload(pair_->Client(), key_, 500ms).outcome, FetchOutcome::Failed);
    EXPECT_GE(SecondsSince(start), 0.5);
}

TEST(UploadTest, SendsLengthZeroAndEnvelopeThenWaitsForTheReply) {
    SocketPair pair;
    std::mt19937 random(5);
    AesKey key = testing::RandomKey(random);
    Bytes data = testing::RandomBytes(random, 10'000);
    Bytes received;
    std::optional<std::uint32_t> length, zero;
    std::thread peer([&] {
        length = PeerReadWord(pair.Peer());
        zero = PeerReadWord(pair.Peer());
        received = testing::PeerRead(pair.Peer(), length.value_or(0));
        PeerWriteWord(pair.Peer(), 0x12345678);  // any value will do
    });
    EXPECT_TRUE(SendUpload(pair.Client(), key, data));
    peer.join();
    EXPECT_EQ(length, EnvelopeLength(data.size()));
    EXPECT_EQ(zero, 0u);
    std::optional<Bytes> opened = OpenPayload(received, key);
    ASSERT_TRUE(opened.has_value());
    EXPECT_EQ(*opened, data);
}

TEST(UploadTest, NoReplyWordIsAFailure) {
    SocketPair pair;
    std::thread peer([&] {
        testing::PeerRead(pair.Peer(), 8 + EnvelopeLength(3));
        pair.ClosePeer();
    });
    EXPECT_FALSE(SendUpload(pair.Client(), AesKey{}, Bytes{1, 2, 3}));
    peer.join();
}

TEST(TimingInfoTest, ReadsFiveBigEndianWords) {
    Bytes payload = testing::FromHex(
        "00000001"
        "6a0b1c2d"
        "00000000"
        "ffffffff"
        "fedcba98"
        "0102");
    TimingInfo info = ReadTimingInfo(payload);
    EXPECT_EQ(info.words[0], 1u);
    EXPECT_EQ(info.LastCallIn(), 0x6a0b1c2d);
    EXPECT_EQ(info.words[3], 0xffffffffu);
    EXPECT_EQ(info.NextCallIn(), 0xfedcba98LL);  // widened, never negative

    payload.resize(19);
    TimingInfo shortInfo = ReadTimingInfo(payload);
    EXPECT_EQ(shortInfo.words, (std::array<std::uint32_t, 5>{}));
}

}  // namespace
}  // namespace vantic
