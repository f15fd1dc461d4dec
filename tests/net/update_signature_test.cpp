#include <gtest/gtest.h>

#include "net/md5.h"
#include "net/rsa.h"
#include "net/update_key/update_signing_key.h"
#include "net/update_signature.h"
#include "tests/net/reference.h"
#include "tests/support/temp_dir.h"
#include "tests/support/update_server_runner.h"

namespace vantic {
namespace {

using testing::Quote;

// A signature file made the way the release process makes it: the openssl
// command line signs the update program's MD5 with our own test key.
class UpdateSignatureTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!testing::HaveOpensslCommand()) {
            GTEST_SKIP() << "the openssl command is not installed";
        }
        std::optional<RsaPrivateKey> key = GenerateRsaKey(1024, 17);
        ASSERT_TRUE(key.has_value());
        key_ = key->Public();
        std::optional<std::string> pem = PrivateKeyPem(*key);
        ASSERT_TRUE(pem.has_value());
        ASSERT_TRUE(testing::WriteFileBytes(dir_.File("signing.pem"), *pem));

        std::string program = "MZ\x90\x00 update program \xe9\xff bytes";
        ASSERT_TRUE(testing::WriteFileBytes(dir_.File("update1.exe"), program));
        ASSERT_TRUE(testing::RunQuietly(
            "openssl dgst -md5 -sign " + Quote(dir_.File("signing.pem")) + " -out " +
            Quote(dir_.File("sig.bin")) + " " + Quote(dir_.File("update1.exe"))));
        std::string signature = testing::ReadFileBytes(dir_.File("sig.bin"));
        ASSERT_EQ(signature.size(), 128u);

        Md5Digest digest = Md5Buffer(AsBytes(program));
        file_.assign(digest.begin(), digest.end());
        file_.push_back(static_cast<std::uint8_t>(signature.size()));
        file_.insert(file_.end(), signature.begin(), signature.end());
    }

    testing::TempDir dir_;
    RsaPublicKey key_;
    Bytes file_;
};

TEST_F(UpdateSignatureTest, OpensslSignatureVerifies) {
    EXPECT_TRUE(VerifyUpdateSignature(file_, key_));
    Bytes withTrailer = file_;
    withTrailer.insert(withTrailer.end(), {'t', 'a', 'i', 'l'});
    EXPECT_TRUE(VerifyUpdateSignature(withTrailer, key_));
    // The built-in key did not sign it.
    EXPECT_FALSE(VerifyUpdateSignature(file_, UpdateSigningKey()));
}

TEST_F(UpdateSignatureTest, CorruptedDigestOrSignatureFails) {
    Bytes digestChanged = file_;
    digestChanged[5] ^= 0x01;
    EXPECT_FALSE(VerifyUpdateSignature(digestChanged, key_));

    Bytes signatureChanged = file_;
    signatureChanged[17 + 60] ^= 0x40;
    EXPECT_FALSE(VerifyUpdateSignature(signatureChanged, key_));
}

TEST_F(UpdateSignatureTest, SignatureOf127BytesFails) {
    Bytes shortened = file_;
    shortened[16] = 127;
    shortened.pop_back();
    EXPECT_FALSE(VerifyUpdateSignature(shortened, key_));
    // Dropping the leading byte instead leaves the same length problem.
    Bytes leadingDropped(file_.begin(), file_.begin() + 17);
    leadingDropped[16] = 127;
    leadingDropped.insert(leadingDropped.end(), file_.begin() + 18, file_.end());
    EXPECT_FALSE(VerifyUpdateSignature(leadingDropped, key_));
}

TEST_F(UpdateSignatureTest, TruncatedFilesFail) {
    EXPECT_FALSE(VerifyUpdateSignature(ByteView(file_).first(16), key_));
    EXPECT_FALSE(VerifyUpdateSignature(ByteView(file_).first(17), key_));
    // The length byte claims one more byte than follows.
    EXPECT_FALSE(VerifyUpdateSignature(ByteView(file_).first(file_.size() - 1), key_));
    EXPECT_FALSE(VerifyUpdateSignature({}, key_));
}

// Test programs compile the public half of the test key, whatever key the
// build gives the programs.
TEST(UpdateSigningKey, TestProgramsHoldTheTestKey) {
    std::optional<RsaPrivateKey> testKey = LoadPrivateKeyFile(testing::TestUpdateKeyFile());
    ASSERT_TRUE(testKey.has_value());
    const RsaPublicKey key = UpdateSigningKey();
    EXPECT_EQ(key.modulus, testKey->modulus);
    EXPECT_EQ(key.exponent, testKey->publicExponent);
    EXPECT_EQ(key.modulus.size(), 128u);
    EXPECT_EQ(key.exponent.size(), 1u);
}

}  // namespace
}  // namespace vantic
