#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <functional>
#include <map>

#include "core/cpstring.h"
#include "net/md5.h"
#include "net/rsa.h"
#include "net/rsa_key.h"
#include "net/update_key/update_signing_key.h"
#include "net/update_signature.h"
#include "tests/net/reference.h"
#include "tests/support/child_process.h"
#include "tests/support/temp_dir.h"
#include "tests/support/update_server_runner.h"

namespace vantic {
namespace {

using testing::Quote;
using testing::RunQuietly;

Bytes LoginRecord() {
    std::mt19937 random(108);
    return testing::RandomBytes(random, 108);
}

// One key per size for the whole suite: generating them is the slow part.
const RsaPrivateKey& KeyOfBits(int bits) {
    static std::map<int, RsaPrivateKey> keys;
    auto found = keys.find(bits);
    if (found == keys.end()) {
        std::optional<RsaPrivateKey> key = GenerateRsaKey(bits);
        EXPECT_TRUE(key.has_value()) << bits;
        found = keys.emplace(bits, key.value_or(RsaPrivateKey{})).first;
    }
    return found->second;
}

std::string KeyTool() {
    return testing::BuiltProgram("tools/vantic-keygen");
}

class KeyToolTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(RunQuietly(KeyTool() + " " + Quote(serverKey_) + " " + Quote(publicKey_)));
    }
    testing::TempDir dir_;
    std::string serverKey_ = dir_.File("server.key");
    std::string publicKey_ = dir_.File("p.key");
};

TEST_F(KeyToolTest, WritesMatchingFullAndPublicFiles) {
    std::optional<RsaPrivateKey> full = LoadPrivateKeyFile(serverKey_);
    std::optional<RsaPublicKey> pub = LoadServerKey(publicKey_);
    ASSERT_TRUE(full.has_value());
    ASSERT_TRUE(pub.has_value());
    EXPECT_EQ(pub->modulus.size(), 128u);
    EXPECT_EQ(pub->modulus, full->modulus);
    EXPECT_EQ(pub->exponent, full->publicExponent);
    EXPECT_FALSE(LoadPrivateKeyFile(publicKey_).has_value());
    // The server's file starts with the public key, so it serves as one too.
    std::optional<RsaPublicKey> fromFull = LoadServerKey(serverKey_);
    ASSERT_TRUE(fromFull.has_value());
    EXPECT_EQ(fromFull->modulus, pub->modulus);
    EXPECT_EQ(std::filesystem::status(serverKey_).permissions() & std::filesystem::perms::all,
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
}

TEST_F(KeyToolTest, RefusesToReplaceAnExistingKey) {
    std::string before = testing::ReadFileBytes(serverKey_);
    EXPECT_FALSE(
        RunQuietly(KeyTool() + " " + Quote(serverKey_) + " " + Quote(dir_.File("other.key"))));
    EXPECT_EQ(testing::ReadFileBytes(serverKey_), before);
    EXPECT_TRUE(RunQuietly(KeyTool() + " --force " + Quote(serverKey_) + " " + Quote(publicKey_)));
    EXPECT_NE(testing::ReadFileBytes(serverKey_), before);
}

// The sealed login record opens with the openssl command line under the
// private key the tool wrote, and with RsaOpen.
TEST_F(KeyToolTest, SealedRecordOpensWithOpensslAndRsaOpen) {
    Bytes record = LoginRecord();
    std::optional<Bytes> sealed = RsaSeal(record, publicKey_);
    ASSERT_TRUE(sealed.has_value());
    EXPECT_EQ(sealed->size(), 128u);

    std::optional<RsaPrivateKey> full = LoadPrivateKeyFile(serverKey_);
    ASSERT_TRUE(full.has_value());
    EXPECT_EQ(RsaOpen(*sealed, *full), record);

    if (!testing::HaveOpensslCommand()) {
        GTEST_SKIP() << "the openssl command is not installed";
    }
    std::optional<std::string> pem = PrivateKeyPem(*full);
    ASSERT_TRUE(pem.has_value());
    ASSERT_TRUE(testing::WriteFileBytes(dir_.File("key.pem"), *pem));
    ASSERT_TRUE(testing::WriteFileBytes(dir_.File("sealed.bin"),
                                        std::string(sealed->begin(), sealed->end())));
    ASSERT_TRUE(RunQuietly("openssl pkeyutl -decrypt -pkeyopt rsa_padding_mode:pkcs1 -inkey " +
                           Quote(dir_.File("key.pem")) + " -in " + Quote(dir_.File("sealed.bin")) +
                           " -out " + Quote(dir_.File("opened.bin"))));
    EXPECT_EQ(testing::ReadFileBytes(dir_.File("opened.bin")),
              std::string(record.begin(), record.end()));
}

// "sign-update" with the test key writes the program's MD5, the length byte
// and a signature that the controller's own check accepts under the key the
// test programs compile in.
TEST(KeyToolSignUpdate, WritesASignatureFileTheControllerAccepts) {
    testing::TempDir dir;
    const std::string program = "#!/bin/sh\necho installed \xe9\n";
    ASSERT_TRUE(testing::WriteFileBytes(dir.File("update1.exe"), program));
    ASSERT_TRUE(RunQuietly(KeyTool() + " sign-update --key " + Quote(testing::TestUpdateKeyFile()) +
                           " --program " + Quote(dir.File("update1.exe")) + " --out " +
                           Quote(dir.File("update1.sig"))));

    const std::string file = testing::ReadFileBytes(dir.File("update1.sig"));
    ASSERT_EQ(file.size(), 16u + 1u + 128u);
    const Md5Digest digest = Md5Buffer(AsBytes(program));
    EXPECT_EQ(file.substr(0, 16), std::string(digest.begin(), digest.end()));
    EXPECT_EQ(static_cast<std::uint8_t>(file[16]), 128);
    EXPECT_TRUE(VerifyUpdateSignature(AsBytes(file), UpdateSigningKey()));
}

TEST(RsaSeal, OutputIsAsLongAsTheModulusAndNeedsElevenBytesOfRoom) {
    Bytes record = LoginRecord();
    std::optional<Bytes> sealed = RsaSeal(record, KeyOfBits(2048).Public());
    ASSERT_TRUE(sealed.has_value());
    EXPECT_EQ(sealed->size(), 256u);
    EXPECT_EQ(RsaOpen(*sealed, KeyOfBits(2048)), record);

    // 119 bytes of modulus is the least that holds 108 bytes; 118 is short.
    ASSERT_EQ(KeyOfBits(952).modulus.size(), 119u);
    EXPECT_TRUE(RsaSeal(record, KeyOfBits(952).Public()).has_value());
    ASSERT_EQ(KeyOfBits(944).modulus.size(), 118u);
    EXPECT_FALSE(RsaSeal(record, KeyOfBits(944).Public()).has_value());
}

TEST(RsaSeal, PaddingIsFreshEachTime) {
    Bytes record = LoginRecord();
    std::optional<Bytes> first = RsaSeal(record, KeyOfBits(1024).Public());
    std::optional<Bytes> second = RsaSeal(record, KeyOfBits(1024).Public());
    ASSERT_TRUE(first && second);
    EXPECT_NE(*first, *second);
}

TEST(RsaKeyFile, RejectsMissingShortAndOversizedFiles) {
    testing::TempDir dir;
    EXPECT_FALSE(LoadServerKey(dir.File("absent.key")).has_value());
    EXPECT_FALSE(RsaSeal(LoginRecord(), dir.File("absent.key")).has_value());
    EXPECT_FALSE(LoadServerKey(dir.Path()).has_value());

    const RsaPrivateKey& key = KeyOfBits(1024);
    ASSERT_TRUE(WritePrivateKeyFile(dir.File("server.key"), key));
    std::string whole = testing::ReadFileBytes(dir.File("server.key"));
    // Cut inside the exponent, inside the modulus and inside its count.
    for (std::size_t size : {std::size_t{4 + 128 + 4}, std::size_t{100}, std::size_t{3}}) {
        ASSERT_TRUE(testing::WriteFileBytes(dir.File("short.key"), whole.substr(0, size)));
        EXPECT_FALSE(LoadServerKey(dir.File("short.key")).has_value()) << size;
    }
    // A count far beyond what the file holds fails.
    ASSERT_TRUE(testing::WriteFileBytes(dir.File("huge.key"), std::string("\xff\xff\xff\xf0xyz")));
    EXPECT_FALSE(LoadServerKey(dir.File("huge.key")).has_value());
    // Anything after the exponent is ignored.
    std::string publicPart = whole.substr(0, 4 + 128 + 4 + key.publicExponent.size());
    ASSERT_TRUE(testing::WriteFileBytes(dir.File("trailing.key"), publicPart + "junk"));
    std::optional<RsaPublicKey> loaded = LoadServerKey(dir.File("trailing.key"));
    ASSERT_TRUE(loaded.has_value());
    EXPECT_EQ(loaded->modulus, key.modulus);
}

TEST(RsaKeyFile, UnusableKeysFailCleanly) {
    EXPECT_FALSE(RsaSeal(LoginRecord(), RsaPublicKey{}).has_value());
    RsaPrivateKey mismatched = KeyOfBits(1024);
    mismatched.prime1 = KeyOfBits(2048).prime1;
    std::optional<Bytes> sealed = RsaSeal(LoginRecord(), KeyOfBits(1024).Public());
    ASSERT_TRUE(sealed.has_value());
    EXPECT_FALSE(RsaOpen(*sealed, mismatched).has_value());
    EXPECT_FALSE(PrivateKeyPem(mismatched).has_value());
}

}  // namespace
}  // namespace vantic

namespace vantic {
namespace {

// Key files replace whatever link lies under their name, leave no
// temporary behind, and have their mode from the start, whatever the umask.
TEST(RsaKeyFile, KeyFilesAreNewFilesWithTheirOwnMode) {
    testing::TempDir dir;
    const RsaPrivateKey& key = KeyOfBits(1024);
    const struct {
        const char* name;
        std::function<bool(const std::string&)> write;
        unsigned mode;
    } cases[] = {
        {"server.key", [&](const std::string& p) { return WritePrivateKeyFile(p, key); }, 0600},
        {"p.key", [&](const std::string& p) { return WritePublicKeyFile(p, key.Public()); }, 0644},
    };
    const mode_t oldMask = ::umask(0);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string victim = dir.File(std::string(c.name) + ".victim");
        ASSERT_TRUE(WriteWholeFile(victim, "victim"));
        ASSERT_EQ(::symlink(victim.c_str(), dir.File(c.name).c_str()), 0);
        EXPECT_TRUE(c.write(dir.File(c.name)));
        EXPECT_EQ(testing::ReadFileBytes(victim), "victim");
        struct stat info {};
        ASSERT_EQ(::lstat(dir.File(c.name).c_str(), &info), 0);
        EXPECT_TRUE(S_ISREG(info.st_mode));
        EXPECT_EQ(info.st_mode & 07777, c.mode);
    }
    ::umask(oldMask);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()),
                            std::filesystem::directory_iterator()),
              4);
}

}  // namespace
}  // namespace vantic
