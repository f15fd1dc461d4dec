#include <gtest/gtest.h>

#include <cstring>

#include "net/aes128.h"
#include "net/aes128_internal.h"
#include "tests/net/reference.h"

namespace vantic {
namespace {

using testing::ArrayFromHex;
using testing::FromHex;

enum class Path { kPortable, kHardware };

std::string PathName(const ::testing::TestParamInfo<Path>& info) {
    return info.param == Path::kPortable ? "Portable" : "Hardware";
}

// Runs each test once on the table-driven code and once on the AES
// instructions (skipped where the processor has none).
class AesPathTest : public ::testing::TestWithParam<Path> {
  protected:
    void SetUp() override {
        if (GetParam() == Path::kHardware && !aes_detail::HardwareAesSupported()) {
            GTEST_SKIP() << "no AES instructions on this processor";
        }
        ASSERT_EQ(HardwareAesActive(Code()), GetParam() == Path::kHardware);
    }
    static AesCode Code() {
        return GetParam() == Path::kPortable ? AesCode::Portable : AesCode::Fastest;
    }
    static Bytes Encrypt(const AesKey& key, const AesBlock& iv, const Bytes& plain) {
        Bytes out(plain.size());
        Aes128CbcEncryptor(key, iv, Code()).Process(plain.data(), out.data(), plain.size() / 16);
        return out;
    }
    static Bytes Decrypt(const AesKey& key, const AesBlock& iv, const Bytes& cipher) {
        Bytes out(cipher.size());
        Aes128CbcDecryptor(key, iv, Code()).Process(cipher.data(), out.data(), cipher.size() / 16);
        return out;
    }
};

// FIPS-197 appendix B (cipher example) and C.1 (AES-128 example vector).
// One block under a zero IV is the bare cipher.
TEST_P(AesPathTest, Fips197SingleBlockVectors) {
    struct Vector {
        const char* key;
        const char* plain;
        const char* cipher;
    } vectors[] = {
        {"2b7e151628aed2a6abf7158809cf4f3c", "3243f6a8885a308d313198a2e0370734",
         "3925841d02dc09fbdc118597196a0b32"},
        {"000102030405060708090a0b0c0d0e0f", "00112233445566778899aabbccddeeff",
         "69c4e0d86a7b0430d8cdb78070b4c55a"},
    };
    for (const Vector& v : vectors) {
        AesKey key = ArrayFromHex<16>(v.key);
        EXPECT_EQ(Encrypt(key, {}, FromHex(v.plain)), FromHex(v.cipher)) << v.key;
        EXPECT_EQ(Decrypt(key, {}, FromHex(v.cipher)), FromHex(v.plain)) << v.key;
    }
}

// NIST SP 800-38A, F.2.1 and F.2.2 (CBC-AES128).
TEST_P(AesPathTest, Sp80038aCbcVectors) {
    AesKey key = ArrayFromHex<16>("2b7e151628aed2a6abf7158809cf4f3c");
    AesBlock iv = ArrayFromHex<16>("000102030405060708090a0b0c0d0e0f");
    Bytes plain = FromHex(
        "6bc1bee22e409f96e93d7e117393172aae2d8a571e03ac9c9eb76fac45af8e51"
        "30c81c46a35ce411e5fbc1191a0a52eff69f2445df4f9b17ad2b417be66c3710");
    Bytes cipher = FromHex(
        "7649abac8119b246cee98e9b12e9197d5086cb9b507219ee95db113a917678b2"
        "73bed6b8e3c1743b7116e69e222295163ff1caa1681fac09120eca307586e1a7");
    EXPECT_EQ(Encrypt(key, iv, plain), cipher);
    EXPECT_EQ(Decrypt(key, iv, cipher), plain);
}

// Chains fed in runs of blocks, in place, match OpenSSL on random keys;
// run lengths cross the eight-block batches of the decryptor.
TEST_P(AesPathTest, MatchesOpensslInPiecesAndInPlace) {
    std::mt19937 random(1197);
    for (std::size_t blocks = 1; blocks <= 40; ++blocks) {
        AesKey key = testing::RandomKey(random);
        AesBlock iv = testing::RandomKey(random);  // any 16 random bytes
        Bytes plain = testing::RandomBytes(random, 16 * blocks);
        Bytes expected = testing::OpensslCbc(true, key, iv, plain);

        Bytes buffer = plain;
        Aes128CbcEncryptor encryptor(key, iv, Code());
        std::size_t first = blocks / 3;
        encryptor.Process(buffer.data(), buffer.data(), first);
        encryptor.Process(buffer.data() + 16 * first, buffer.data() + 16 * first, blocks - first);
        ASSERT_EQ(buffer, expected) << blocks << " blocks";

        Aes128CbcDecryptor decryptor(key, iv, Code());
        std::size_t split = blocks - blocks / 4;
        decryptor.Process(buffer.data(), buffer.data(), split);
        decryptor.Process(buffer.data() + 16 * split, buffer.data() + 16 * split, blocks - split);
        ASSERT_EQ(buffer, plain) << blocks << " blocks";
    }
}

INSTANTIATE_TEST_SUITE_P(BothPaths, AesPathTest,
                         ::testing::Values(Path::kPortable, Path::kHardware), PathName);

// FIPS-197 appendix A.1: the last round key of the example expansion, and
// the same schedule from the AES instructions in their byte layout.
TEST(AesKeySchedule, ExpansionMatchesFips197AndBothPathsAgree) {
    AesKey key = ArrayFromHex<16>("2b7e151628aed2a6abf7158809cf4f3c");
    AesRoundKeys portable;
    aes_detail::PortableExpandEncryptKey(key.data(), portable);
    EXPECT_EQ(portable.words[4], 0xa0fafe17u);
    EXPECT_EQ(portable.words[40], 0xd014f9a8u);
    EXPECT_EQ(portable.words[43], 0xb6630ca6u);
    if (!aes_detail::HardwareAesSupported()) {
        GTEST_SKIP() << "no AES instructions on this processor";
    }
    AesRoundKeys hardware;
    aes_detail::HardwareExpandEncryptKey(key.data(), hardware);
    for (int i = 0; i < 44; ++i) {
        std::uint8_t bytes[4];
        std::memcpy(bytes, &hardware.words[i], 4);
        std::uint32_t word = (std::uint32_t{bytes[0]} << 24) | (std::uint32_t{bytes[1]} << 16) |
                             (std::uint32_t{bytes[2]} << 8) | bytes[3];
        EXPECT_EQ(word, portable.words[i]) << "word " << i;
    }
}

}  // namespace
}  // namespace vantic
