// The digest cache: a file is read once, remembered by its stamp across
// runs, read again when it changed, and a cache file that does not read is
// ignored and rewritten.

#include "net/digest_cache.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "net/hex.h"
#include "tests/support/counting_file_service.h"
#include "tests/support/temp_dir.h"

namespace vantic {
namespace {

using testing::ReadFileBytes;
using testing::WriteFileBytes;

class DigestCacheTest : public ::testing::Test {
  protected:
    std::string Media(const std::string& name, const std::string& bytes) {
        const std::string path = dir_.File(name);
        EXPECT_TRUE(WriteFileBytes(path, bytes));
        return path;
    }
    std::string DigestText(DigestCache& cache, const std::string& path) {
        const std::optional<Md5Digest> digest = cache.Digest(path);
        return digest ? HexEncode(*digest) : "none";
    }

    testing::TempDir dir_;
    testing::CountingFileService files_;
    std::string cacheFile_ = dir_.File("cache/vantic-controller/digests");
};

TEST_F(DigestCacheTest, AnUnchangedFileIsReadOnceEvenByALaterRun) {
    // Larger than one piece, with a non-ASCII name.
    const std::string big = Media("caf\xe9 big.mpg", std::string(100'000, 'x'));
    const std::string expected = HexEncode(*Md5File(big));
    {
        DigestCache cache(files_, cacheFile_);
        EXPECT_EQ(DigestText(cache, big), expected);
        EXPECT_EQ(DigestText(cache, big), expected);
    }
    EXPECT_EQ(files_.ReadsOf(big).opens, 1);
    EXPECT_EQ(files_.ReadsOf(big).bytes, 100'000u);

    DigestCache later(files_, cacheFile_);
    EXPECT_EQ(DigestText(later, big), expected);
    EXPECT_EQ(files_.ReadsOf(big).opens, 1);
}

TEST_F(DigestCacheTest, AChangedOrReplacedFileIsReadAgain) {
    const std::string clip = Media("clip.mpg", "first version");
    DigestCache cache(files_, cacheFile_);
    (void)cache.Digest(clip);

    // Same size, later modification time.
    const FileStamp before = *files_.Stamp(clip);
    ASSERT_TRUE(WriteFileBytes(clip, "other version"));
    std::filesystem::last_write_time(
        clip, std::filesystem::last_write_time(clip) + std::chrono::seconds(5));
    EXPECT_EQ(DigestText(cache, clip), HexEncode(Md5Buffer(AsBytes("other version"))));
    EXPECT_EQ(files_.ReadsOf(clip).opens, 2);

    // Another file renamed over it, with the old size and time: a new inode.
    const std::string other = Media("other.mpg", "third version");
    std::filesystem::last_write_time(other, std::filesystem::last_write_time(clip));
    std::filesystem::rename(other, clip);
    ASSERT_NE(files_.Stamp(clip)->inode, before.inode);
    EXPECT_EQ(DigestText(cache, clip), HexEncode(Md5Buffer(AsBytes("third version"))));
    EXPECT_EQ(files_.ReadsOf(clip).opens, 3);

    std::filesystem::remove(clip);
    EXPECT_EQ(DigestText(cache, clip), "none");
}

TEST_F(DigestCacheTest, ACacheFileThatDoesNotReadIsIgnoredAndRewritten) {
    const std::string clip = Media("clip.mpg", "bytes");
    {
        DigestCache cache(files_, cacheFile_);
        (void)cache.Digest(clip);
    }
    const std::string good = ReadFileBytes(cacheFile_);
    ASSERT_NE(good.find(clip), std::string::npos);
    // A digest that is not hexadecimal: were the line trusted, the digest
    // would come from the cache, not from the file.
    std::string bad = good;
    bad[bad.find('\n') + 1] = 'z';
    for (const std::string& corrupt :
         {bad, good.substr(0, good.size() - 3), std::string("\xff\n")}) {
        ASSERT_TRUE(WriteFileBytes(cacheFile_, corrupt));
        files_.Forget();
        DigestCache cache(files_, cacheFile_);
        EXPECT_EQ(DigestText(cache, clip), HexEncode(Md5Buffer(AsBytes("bytes"))));
        EXPECT_EQ(files_.ReadsOf(clip).opens, 1);
        cache.Flush();
        EXPECT_EQ(ReadFileBytes(cacheFile_), good);
    }
}

// Digesting writes nothing until Flush, which writes once; the file lists
// the least recently used first, so a later run evicts those first.
TEST_F(DigestCacheTest, FlushWritesOnceInTheOrderOfUse) {
    const std::string first = Media("a.mpg", "first");
    const std::string second = Media("z.mpg", "second");
    DigestCache cache(files_, cacheFile_);
    (void)cache.Digest(first);
    (void)cache.Digest(second);
    (void)cache.Digest(first);
    EXPECT_EQ(files_.ReplacesOf(cacheFile_), 0);
    cache.Flush();
    cache.Flush();
    EXPECT_EQ(files_.ReplacesOf(cacheFile_), 1);
    const std::string text = ReadFileBytes(cacheFile_);
    EXPECT_LT(text.find(second), text.find(first)) << text;
}

TEST(DigestCachePathTest, FollowsTheUsersCacheFolder) {
    EXPECT_EQ(DefaultDigestCachePath("/x/cache", "/home/a"), "/x/cache/vantic-controller/digests");
    EXPECT_EQ(DefaultDigestCachePath(nullptr, "/home/a"),
              "/home/a/.cache/vantic-controller/digests");
    EXPECT_EQ(DefaultDigestCachePath("relative", "/home/a"),
              "/home/a/.cache/vantic-controller/digests");
    EXPECT_EQ(DefaultDigestCachePath("", nullptr), "");
}

}  // namespace
}  // namespace vantic
