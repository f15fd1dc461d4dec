#include "net/login_block.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

#include "net/session.h"
#include "tests/net/reference.h"
#include "tests/net/wire_peer.h"

namespace vantic {
namespace {

using namespace std::chrono_literals;
using testing::PeerRead;
using testing::PeerWrite;
using testing::SecondsSince;
using testing::SocketPair;
using testing::TestServerKey;

LoginNonce SomeNonce() {
    LoginNonce nonce;
    for (std::size_t i = 0; i < nonce.size(); ++i) {
        nonce[i] = static_cast<std::uint8_t>(0xA0 + i);
    }
    return nonce;
}

std::uint32_t WordAt(ByteView bytes, std::size_t offset) {
    return std::uint32_t{bytes[offset]} << 24 | std::uint32_t{bytes[offset + 1]} << 16 |
           std::uint32_t{bytes[offset + 2]} << 8 | bytes[offset + 3];
}

std::string FieldText(ByteView record, std::size_t offset) {
    auto field = record.subspan(offset, kLoginFieldSize);
    auto nul = std::find(field.begin(), field.end(), 0);
    EXPECT_NE(nul, field.end()) << "field without its NUL";
    EXPECT_TRUE(std::all_of(nul, field.end(), [](std::uint8_t b) { return b == 0; }));
    return {field.begin(), nul};
}

// What the server does with a login block: decrypt the record.
std::optional<Bytes> OpenBlock(const LoginBlock& block, const RsaPrivateKey& key) {
    std::size_t length = block[0];
    return RsaOpen(ByteView(block.data() + 1, length), key);
}

TEST(LoginRecordTest, PutsEveryFieldAtItsOffset) {
    Md5Digest digest;
    for (std::size_t i = 0; i < digest.size(); ++i) {
        digest[i] = static_cast<std::uint8_t>(0x10 + i);
    }
    std::optional<LoginRecord> record = BuildLoginRecord(ServerCommand::QueryMedia, kNoUnit, digest,
                                                         "op\xe9rateur", "s3cret", SomeNonce());
    ASSERT_TRUE(record.has_value());
    ByteView bytes(*record);
    EXPECT_EQ(WordAt(bytes, 0), 0u);
    EXPECT_EQ(WordAt(bytes, 4), 0xFFFFFFFFu);
    EXPECT_EQ(WordAt(bytes, 8), 0u);
    EXPECT_TRUE(std::equal(digest.begin(), digest.end(), bytes.begin() + 12));
    EXPECT_EQ(FieldText(bytes, 28), "op\xe9rateur");  // 8-bit text travels unchanged
    EXPECT_EQ(FieldText(bytes, 52), "s3cret");
    LoginNonce nonce = SomeNonce();
    EXPECT_TRUE(std::equal(nonce.begin(), nonce.end(), bytes.begin() + 76));
    EXPECT_TRUE(std::all_of(bytes.begin() + 92, bytes.end(), [](auto b) { return b == 0; }));

    std::optional<LoginRecord> unitRecord = BuildLoginRecord(
        ServerCommand::PutInstructionFile, 123456, std::nullopt, "a", "b", SomeNonce());
    ASSERT_TRUE(unitRecord.has_value());
    EXPECT_EQ(WordAt(*unitRecord, 0), 8u);
    EXPECT_EQ(WordAt(*unitRecord, 4), 123456u);
    EXPECT_TRUE(std::all_of(unitRecord->begin() + 12, unitRecord->begin() + 28,
                            [](auto b) { return b == 0; }));
}

TEST(LoginRecordTest, NamesAndPasswordsOfTwentyFourCharactersDoNotFit) {
    std::string longest(23, 'n');
    std::string tooLong(24, 'n');
    EXPECT_TRUE(LoginFieldsFit(longest, longest));
    EXPECT_TRUE(LoginFieldsFit("", ""));
    EXPECT_FALSE(LoginFieldsFit(tooLong, "pw"));
    EXPECT_FALSE(LoginFieldsFit("name", tooLong));
    EXPECT_TRUE(BuildLoginRecord(ServerCommand::GetUnitList, kNoUnit, std::nullopt, longest,
                                 longest, SomeNonce())
                    .has_value());
    EXPECT_FALSE(BuildLoginRecord(ServerCommand::GetUnitList, kNoUnit, std::nullopt, tooLong, "",
                                  SomeNonce())
                     .has_value());
}

TEST(SealLoginTest, TheServerReadsTheRecordAndTheSessionKeyBack) {
    const TestServerKey& server = TestServerKey::Default();
    ASSERT_TRUE(server.written);
    LoginRecord record = *BuildLoginRecord(ServerCommand::GetUnitList, kNoUnit, std::nullopt,
                                           "operator", "pw", SomeNonce());
    std::optional<SealedLogin> sealed = SealLogin(record, server.publicFile);
    ASSERT_TRUE(sealed.has_value());
    EXPECT_EQ(sealed->block[0], 128);
    std::optional<Bytes> opened = OpenBlock(sealed->block, server.key);
    ASSERT_TRUE(opened.has_value());
    ASSERT_EQ(opened->size(), kLoginRecordSize);
    EXPECT_TRUE(std::equal(record.begin(), record.begin() + 92, opened->begin()));
    EXPECT_TRUE(
        std::equal(sealed->sessionKey.begin(), sealed->sessionKey.end(), opened->begin() + 92));
    EXPECT_NE(sealed->sessionKey, AesKey{});

    // The padding is random, so the same record gives another key.
    std::optional<SealedLogin> again = SealLogin(record, server.publicFile);
    ASSERT_TRUE(again.has_value());
    EXPECT_NE(again->sessionKey, sealed->sessionKey);
}

TEST(SealLoginTest, AShorterModulusLeavesZeroFiller) {
    TestServerKey server(952);  // 119 bytes: the shortest that holds the record
    ASSERT_TRUE(server.written);
    LoginRecord record =
        *BuildLoginRecord(ServerCommand::GetOwnerMap, kNoUnit, std::nullopt, "x", "y", SomeNonce());
    std::optional<SealedLogin> sealed = SealLogin(record, server.publicFile);
    ASSERT_TRUE(sealed.has_value());
    EXPECT_EQ(sealed->block[0], 119);
    EXPECT_TRUE(std::all_of(sealed->block.begin() + 120, sealed->block.end(),
                            [](auto b) { return b == 0; }));
    std::optional<Bytes> opened = OpenBlock(sealed->block, server.key);
    ASSERT_TRUE(opened.has_value());
    EXPECT_TRUE(std::equal(record.begin(), record.begin() + 92, opened->begin()));
}

TEST(SealLoginTest, FailsForKeysThatCannotCarryTheBlockAndForMissingFiles) {
    LoginRecord record =
        *BuildLoginRecord(ServerCommand::GetUnitList, kNoUnit, std::nullopt, "x", "y", SomeNonce());
    TestServerKey tooLarge(2048);  // a 256-byte ciphertext does not fit
    EXPECT_FALSE(SealLogin(record, tooLarge.publicFile).has_value());
    TestServerKey tooSmall(944);  // 118 bytes: the record does not fit the padding
    EXPECT_FALSE(SealLogin(record, tooSmall.publicFile).has_value());
    testing::TempDir dir;
    EXPECT_FALSE(SealLogin(record, dir.File("p.key")).has_value());
}

ServerAccess AccessFor(const TestServerKey& server, std::string name, std::string password) {
    return {"unused", std::move(name), std::move(password), server.publicFile};
}

TEST(SendLoginTest, AnswersTheNonceWithASealedBlock) {
    const TestServerKey& server = TestServerKey::Default();
    SocketPair pair;
    LoginNonce nonce = SomeNonce();
    ASSERT_TRUE(PeerWrite(pair.Peer(), nonce));
    Md5Digest digest{};
    digest.fill(0x5A);
    std::optional<AesKey> key = SendLogin(pair.Client(), AccessFor(server, "op", "pw"),
                                          ServerCommand::PutMedia, kNoUnit, digest);
    ASSERT_TRUE(key.has_value());
    Bytes sent = PeerRead(pair.Peer(), kLoginBlockSize);
    ASSERT_EQ(sent.size(), kLoginBlockSize);
    LoginBlock block;
    std::copy(sent.begin(), sent.end(), block.begin());
    std::optional<Bytes> record = OpenBlock(block, server.key);
    ASSERT_TRUE(record.has_value());
    EXPECT_EQ(WordAt(*record, 0), 7u);
    EXPECT_TRUE(std::equal(digest.begin(), digest.end(), record->begin() + 12));
    EXPECT_EQ(FieldText(*record, 28), "op");
    EXPECT_EQ(FieldText(*record, 52), "pw");
    EXPECT_TRUE(std::equal(nonce.begin(), nonce.end(), record->begin() + 76));
    EXPECT_TRUE(std::equal(key->begin(), key->end(), record->begin() + 92));
}

TEST(SendLoginTest, AnOverlongNameFailsBeforeTheNonceIsRead) {
    const TestServerKey& server = TestServerKey::Default();
    SocketPair pair;
    ASSERT_TRUE(PeerWrite(pair.Peer(), SomeNonce()));
    EXPECT_FALSE(SendLogin(pair.Client(), AccessFor(server, std::string(24, 'n'), "pw"),
                           ServerCommand::GetUnitList, kNoUnit)
                     .has_value());
    EXPECT_FALSE(SendLogin(pair.Client(), AccessFor(server, "op", std::string(30, 'p')),
                           ServerCommand::GetUnitList, kNoUnit)
                     .has_value());
    // The nonce is still waiting, and nothing went the other way.
    LoginNonce unread{};
    EXPECT_TRUE(RecvExact(pair.Client(), unread, 1s));
    EXPECT_EQ(unread, SomeNonce());
    pair.CloseClient();
    EXPECT_TRUE(testing::PeerReadToEnd(pair.Peer()).empty());
}

TEST(SendLoginTest, AMissingKeyFileSendsNothing) {
    testing::TempDir dir;
    SocketPair pair;
    ASSERT_TRUE(PeerWrite(pair.Peer(), SomeNonce()));
    ServerAccess access{"unused", "op", "pw", dir.File("p.key")};
    EXPECT_FALSE(SendLogin(pair.Client(), access, ServerCommand::GetUnitList, kNoUnit));
    pair.CloseClient();
    EXPECT_TRUE(testing::PeerReadToEnd(pair.Peer()).empty());
}

TEST(SendLoginTest, AServerThatClosesOrStaysSilentFails) {
    const TestServerKey& server = TestServerKey::Default();
    {
        SocketPair closing;
        ASSERT_TRUE(PeerWrite(closing.Peer(), Bytes(5, 1)));  // part of a nonce
        closing.ClosePeer();
        auto start = std::chrono::steady_clock::now();
        EXPECT_FALSE(
            SendLogin(closing.Client(),
                      testing::WithLimits(AccessFor(server, "op", "pw"), testing::kLongLimit),
                      ServerCommand::GetUnitList, kNoUnit));
        EXPECT_LT(SecondsSince(start), testing::kWellBeforeTheLongLimit);
    }
    {
        SocketPair silent;
        auto start = std::chrono::steady_clock::now();
        EXPECT_FALSE(SendLogin(silent.Client(),
                               testing::WithLimits(AccessFor(server, "op", "pw"), 700ms),
                               ServerCommand::GetUnitList, kNoUnit));
        EXPECT_GE(SecondsSince(start), 0.7);
    }
}

}  // namespace
}  // namespace vantic
