#include <gtest/gtest.h>

#include "net/aes128_internal.h"
#include "net/envelope.h"
#include "tests/net/reference.h"

namespace vantic {
namespace {

// The plaintext of an envelope built by hand: check block, payload, the
// padding, check block.
Bytes EnvelopePlaintext(const Bytes& payload) {
    Bytes plain(kEnvelopeCheckBlock.begin(), kEnvelopeCheckBlock.end());
    plain.insert(plain.end(), payload.begin(), payload.end());
    std::size_t pad = 16 - payload.size() % 16;
    plain.insert(plain.end(), pad, static_cast<std::uint8_t>(pad));
    plain.insert(plain.end(), kEnvelopeCheckBlock.begin(), kEnvelopeCheckBlock.end());
    return plain;
}

// An envelope whose padding block is whatever `padBlock` says.
Bytes EnvelopeWithPadBlock(const AesKey& key, const Bytes& body, const AesBlock& padBlock) {
    Bytes plain(kEnvelopeCheckBlock.begin(), kEnvelopeCheckBlock.end());
    plain.insert(plain.end(), body.begin(), body.end());
    plain.insert(plain.end(), padBlock.begin(), padBlock.end());
    plain.insert(plain.end(), kEnvelopeCheckBlock.begin(), kEnvelopeCheckBlock.end());
    return testing::OpensslCbc(true, key, {}, plain);
}

class EnvelopePathTest : public ::testing::TestWithParam<bool> {
  protected:
    void SetUp() override {
        bool hardware = GetParam();
        if (hardware && !aes_detail::HardwareAesSupported()) {
            GTEST_SKIP() << "no AES instructions on this processor";
        }
    }
    static AesCode Code() { return GetParam() ? AesCode::Fastest : AesCode::Portable; }
};

// Every payload length from 0 to 5000: the envelope is OpenSSL's CBC of
// the hand-built plaintext, and it opens back to the payload.
TEST_P(EnvelopePathTest, EveryLengthMatchesOpensslAndRoundTrips) {
    std::mt19937 random(4242);
    for (std::size_t n = 0; n <= 5000; ++n) {
        AesKey key = testing::RandomKey(random);
        Bytes payload = testing::RandomBytes(random, n);
        Bytes envelope = SealPayload(payload, key, Code());
        ASSERT_EQ(envelope.size(), EnvelopeLength(n)) << n;
        ASSERT_EQ(envelope, testing::OpensslCbc(true, key, {}, EnvelopePlaintext(payload))) << n;
        std::optional<Bytes> opened = OpenPayload(envelope, key, Code());
        ASSERT_TRUE(opened.has_value()) << n;
        ASSERT_EQ(*opened, payload) << n;
    }
}

INSTANTIATE_TEST_SUITE_P(BothPaths, EnvelopePathTest, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Hardware" : "Portable"; });

TEST(Envelope, LengthsFollowTheBlockCount) {
    AesKey key{};
    EXPECT_EQ(SealPayload({}, key).size(), 48u);
    EXPECT_EQ(SealPayload(Bytes(15, 'x'), key).size(), 48u);
    EXPECT_EQ(SealPayload(Bytes(16, 'x'), key).size(), 64u);
    EXPECT_EQ(SealPayload(Bytes(33, 'x'), key).size(), 80u);

    // An empty payload's middle block is sixteen bytes of 16.
    Bytes plain = testing::OpensslCbc(false, key, {}, SealPayload({}, key));
    EXPECT_EQ(Bytes(plain.begin() + 16, plain.begin() + 32), Bytes(16, 16));
    std::optional<Bytes> opened = OpenPayload(SealPayload({}, key), key);
    ASSERT_TRUE(opened.has_value());
    EXPECT_TRUE(opened->empty());
}

TEST(Envelope, RefusesWrongKeyDamageAndBadLengths) {
    AesKey key = testing::ArrayFromHex<16>("000102030405060708090a0b0c0d0e0f");
    AesKey otherKey = key;
    otherKey[15] ^= 1;
    Bytes envelope = SealPayload(AsBytes("unit 17 instruction file\r\n"), key);
    ASSERT_TRUE(OpenPayload(envelope, key).has_value());
    EXPECT_FALSE(OpenPayload(envelope, otherKey).has_value());

    Bytes lastAltered = envelope;
    lastAltered.back() ^= 0x80;  // the first block is untouched
    EXPECT_FALSE(OpenPayload(lastAltered, key).has_value());

    Bytes firstAltered = envelope;
    firstAltered[3] ^= 0x01;
    EXPECT_FALSE(OpenPayload(firstAltered, key).has_value());

    for (std::size_t size : {0, 16, 32, 47, 50, 63}) {
        Bytes wrongLength(envelope.begin(), envelope.begin() + std::min(size, envelope.size()));
        wrongLength.resize(size, 0);
        EXPECT_FALSE(OpenPayload(wrongLength, key).has_value()) << size;
    }
}

// The pad count alone decides the length: 0 removes nothing, 16 a whole
// block, anything above 16 fails; the other pad bytes are not examined.
TEST(Envelope, PadCountIsReadLeniently) {
    AesKey key = testing::ArrayFromHex<16>("8899aabbccddeeff0011223344556677");
    Bytes body(16, 'b');

    AesBlock noPad;
    noPad.fill('p');
    noPad[15] = 0;
    std::optional<Bytes> opened = OpenPayload(EnvelopeWithPadBlock(key, body, noPad), key);
    ASSERT_TRUE(opened.has_value());
    EXPECT_EQ(opened->size(), 32u);
    EXPECT_EQ((*opened)[31], 0);

    AesBlock loosePad;
    loosePad.fill(0xee);
    loosePad[0] = 'z';
    loosePad[15] = 14;
    opened = OpenPayload(EnvelopeWithPadBlock(key, body, loosePad), key);
    ASSERT_TRUE(opened.has_value());
    Bytes expected = body;
    expected.push_back('z');
    expected.push_back(0xee);
    EXPECT_EQ(*opened, expected);

    AesBlock wholePad;
    wholePad.fill(16);
    opened = OpenPayload(EnvelopeWithPadBlock(key, body, wholePad), key);
    ASSERT_TRUE(opened.has_value());
    EXPECT_EQ(*opened, body);

    AesBlock overlong;
    overlong.fill(17);
    EXPECT_FALSE(OpenPayload(EnvelopeWithPadBlock(key, body, overlong), key).has_value());
}

}  // namespace
}  // namespace vantic
