#include <gtest/gtest.h>

#include <filesystem>
#include <utility>
#include <vector>

#include "net/hex.h"
#include "net/md5.h"
#include "tests/net/reference.h"
#include "tests/support/temp_dir.h"

namespace vantic {
namespace {

std::string HexMd5(std::string_view text) {
    return HexEncode(Md5Buffer(AsBytes(text)));
}

// The test suite of RFC 1321, appendix A.5.
TEST(Md5, Rfc1321Suite) {
    EXPECT_EQ(HexMd5(""), "d41d8cd98f00b204e9800998ecf8427e");
    EXPECT_EQ(HexMd5("a"), "0cc175b9c0f1b6a831c399e269772661");
    EXPECT_EQ(HexMd5("abc"), "900150983cd24fb0d6963f7d28e17f72");
    EXPECT_EQ(HexMd5("message digest"), "f96b697d7cb7938d525a2f31aaf161d0");
    EXPECT_EQ(HexMd5("abcdefghijklmnopqrstuvwxyz"), "c3fcd3d76192e4007dfb496cca67e13b");
    EXPECT_EQ(HexMd5("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789"),
              "d174ab98d277d9f5a5611c2c9f419d9f");
    EXPECT_EQ(HexMd5("1234567890123456789012345678901234567890"
                     "1234567890123456789012345678901234567890"),
              "57edf4a22be3c955ac49da2e2107b67a");
}

// Every length up to three blocks and beyond (the padding's 55/56 and
// 119/120 boundaries), fed whole and in uneven pieces.
TEST(Md5, MatchesOpensslForAnyLengthAndPieces) {
    std::mt19937 random(1321);
    for (std::size_t n = 0; n <= 300; ++n) {
        Bytes data = testing::RandomBytes(random, n);
        Md5Digest expected = testing::OpensslMd5(data);
        ASSERT_EQ(Md5Buffer(data), expected) << n;

        Md5 pieces;
        for (std::size_t at = 0; at < n;) {
            std::size_t take = std::min<std::size_t>(n - at, random() % 70);
            pieces.Update(ByteView(data).subspan(at, take));
            at += take;
        }
        ASSERT_EQ(pieces.Finish(), expected) << n;
    }
}

class Md5FileTest : public ::testing::Test {
  protected:
    std::string WriteFile(std::size_t size) {
        std::mt19937 random(static_cast<unsigned>(size));
        Bytes data = testing::RandomBytes(random, size);
        content_.assign(data.begin(), data.end());
        std::string path = dir_.File("media.bin");
        EXPECT_TRUE(testing::WriteFileBytes(path, content_));
        return path;
    }

    testing::TempDir dir_;
    std::string content_;
    std::vector<std::pair<std::uint64_t, std::uint64_t>> reports_;
    ByteProgress Recorder() {
        return [this](std::uint64_t done, std::uint64_t total) {
            reports_.emplace_back(done, total);
            return false;
        };
    }
};

TEST_F(Md5FileTest, ReadsInPiecesAndReportsEach) {
    std::string path = WriteFile(100000);
    std::optional<Md5Digest> digest = Md5File(path, Recorder());
    ASSERT_TRUE(digest.has_value());
    EXPECT_EQ(*digest, Md5Buffer(AsBytes(content_)));
    std::vector<std::pair<std::uint64_t, std::uint64_t>> expected = {
        {0, 100000}, {32768, 100000}, {65536, 100000}, {98304, 100000}, {100000, 100000}};
    EXPECT_EQ(reports_, expected);
    EXPECT_EQ(Md5File(path), digest);  // no progress function at all
}

TEST_F(Md5FileTest, EmptyFileReportsOnceAndDigestsNothing) {
    std::string path = WriteFile(0);
    std::optional<Md5Digest> digest = Md5File(path, Recorder());
    ASSERT_TRUE(digest.has_value());
    EXPECT_EQ(HexEncode(*digest), "d41d8cd98f00b204e9800998ecf8427e");
    EXPECT_EQ(reports_, (std::vector<std::pair<std::uint64_t, std::uint64_t>>{{0, 0}}));
}

TEST_F(Md5FileTest, CancelFailsAtAnyReportIncludingTheLast) {
    std::string path = WriteFile(70000);
    for (std::uint64_t cancelAt : {0, 32768, 70000}) {
        int calls = 0;
        auto cancelling = [&](std::uint64_t done, std::uint64_t) {
            ++calls;
            return done == cancelAt;
        };
        EXPECT_FALSE(Md5File(path, cancelling).has_value()) << cancelAt;
        EXPECT_EQ(calls, cancelAt == 0 ? 1 : cancelAt == 32768 ? 2 : 4) << cancelAt;
    }
}

TEST_F(Md5FileTest, FailsOnMissingFileDirectoryAndShortRead) {
    EXPECT_FALSE(Md5File(dir_.File("absent.bin")).has_value());
    EXPECT_FALSE(Md5File(dir_.Path()).has_value());

    // The file shrinks after the first piece: the next read comes up short.
    std::string path = WriteFile(80000);
    auto shrinking = [&](std::uint64_t done, std::uint64_t) {
        if (done == 32768) {
            std::filesystem::resize_file(path, 40000);
        }
        return false;
    };
    EXPECT_FALSE(Md5File(path, shrinking).has_value());
}

}  // namespace
}  // namespace vantic
