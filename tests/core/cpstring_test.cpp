#include "core/cpstring.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "core/cpptrarray.h"
#include "core/cpstringarray.h"
#include "tests/support/failing_file_writes.h"
#include "tests/support/temp_dir.h"

namespace vantic {
namespace {

using testing::FileFault;

std::vector<std::string> Pieces(std::string_view text, std::string_view separator) {
    cpStringArray pieces;
    EXPECT_TRUE(pieces.Split(text, separator));
    return pieces.Items();
}

TEST(Split, KeepsEmptyPiecesThatTheLineFormatsRelyOn) {
    EXPECT_EQ(Pieces("a\tb\t", "\t"), (std::vector<std::string>{"a", "b", ""}));
    EXPECT_EQ(Pieces("", "\t"), (std::vector<std::string>{""}));
    EXPECT_EQ(Pieces("a\t\tb", "\t"), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_EQ(Pieces("one", "\t"), (std::vector<std::string>{"one"}));
    EXPECT_EQ(Pieces("a<>b<>", "<>"), (std::vector<std::string>{"a", "b", ""}));
}

TEST(Split, AppendsToExistingElementsAndRefusesAnEmptySeparator) {
    cpStringArray pieces{"x"};
    EXPECT_TRUE(pieces.Split("a,b", ","));
    EXPECT_EQ(pieces.Items(), (std::vector<std::string>{"x", "a", "b"}));
    EXPECT_FALSE(pieces.Split("a,b", ""));
    EXPECT_EQ(pieces.Count(), 3u);
}

TEST(SplitLines, TreatsEveryLineEndAlikeAndAppends) {
    cpStringArray lines{"x"};
    ASSERT_TRUE(lines.SplitLines("a\r\nb\rc\nd"));
    EXPECT_EQ(lines.Items(), (std::vector<std::string>{"x", "a", "b", "c", "d"}));
    // The lines read in place are those of the text with its ends made LF
    // and split there, empty lines and the piece after the last end included.
    for (const std::string_view text : {"", "\n", "a\r", "\r\r\n", "\r\n\r", "a\n\rb\r\n\n"}) {
        cpStringArray direct;
        ASSERT_TRUE(direct.SplitLines(text));
        std::string normal(text);
        NormalizeLineEnds(normal, "\n");
        EXPECT_EQ(direct.Items(), cpStringArray::SplitNew(normal, "\n").Items()) << text;
    }
}

TEST(Join, PutsSeparatorsOnlyBetweenElements) {
    EXPECT_EQ(cpStringArray{}.Join(","), "");
    EXPECT_EQ((cpStringArray{"a"}.Join(",")), "a");
    EXPECT_EQ((cpStringArray{"a", "", "b"}.Join("\r\n")), "a\r\n\r\nb");
}

TEST(StringArray, OutOfRangeIndexesChangeNothing) {
    cpStringArray items{"a", "b"};
    EXPECT_EQ(items.At(2), nullptr);
    EXPECT_FALSE(items.RemoveAt(2).has_value());
    EXPECT_FALSE(items.ReplaceAt(2, "z").has_value());
    EXPECT_EQ(items.Items(), (std::vector<std::string>{"a", "b"}));

    EXPECT_EQ(items.ReplaceAt(1, "c"), "b");
    EXPECT_EQ(items.RemoveAt(0), "a");
    EXPECT_EQ(items.Pop(), "c");
    EXPECT_FALSE(items.Pop().has_value());
    EXPECT_EQ(items.Last(), nullptr);
}

TEST(StringArray, InsertPadTruncateAndMatch) {
    cpStringArray items{"b"};
    ASSERT_TRUE(items.InsertFirst("a"));
    ASSERT_TRUE(items.PadTo(4));
    EXPECT_EQ(items.Items(), (std::vector<std::string>{"a", "b", "", ""}));
    items.Truncate(2);
    EXPECT_EQ(items.Count(), 2u);
    ASSERT_TRUE(items.AppendCopy("B"));
    EXPECT_EQ(items.CountMatches("b"), 2u);
    ASSERT_TRUE(items.AppendFormat("%s-%d", "n", 42));
    EXPECT_EQ(*items.Last(), "n-42");
}

TEST(StringArray, SortsFoldingOnlyAsciiLetters) {
    cpStringArray items{"b", "\xe9t\xe9", "A", "_"};
    items.SortNoCase();
    // Folded to 'a' (0x61), "A" sorts after '_' (0x5f); unfolded it would
    // come first. Bytes above 0x7f sort last and are not folded.
    EXPECT_EQ(items.Items(), (std::vector<std::string>{"_", "A", "b", "\xe9t\xe9"}));
}

TEST(Trim, RemovesOnlyTheFourWhitespaceCharacters) {
    std::string blank = " \t\r\n ";
    TrimLeft(blank);
    EXPECT_EQ(blank, "");
    std::string vertical = "\vabc \f";
    Trim(vertical);
    EXPECT_EQ(vertical, "\vabc \f");
    std::string spread = " a b\tc\n";
    RemoveWhitespace(spread);
    EXPECT_EQ(spread, "abc");
}

TEST(CaseFolding, LeavesNonAsciiBytesAlone) {
    std::string text = "AbC\xc4\xe4";
    ToLower(text);
    EXPECT_EQ(text, "abc\xc4\xe4");
    EXPECT_TRUE(EqualsNoCase("CrawlSpeed", "crawlspeed"));
    EXPECT_FALSE(EqualsNoCase("\xc4", "\xe4"));
    EXPECT_LT(CompareNoCase("abc", "ABD"), 0);
    EXPECT_GT(CompareNoCase("abcd", "ABC"), 0);
}

TEST(ReplaceAll, ScansLeftToRightWithoutOverlap) {
    std::string text = "aaaa";
    ReplaceAll(text, "aa", "b");
    EXPECT_EQ(text, "bb");
    text = "a.b.c";
    ReplaceAll(text, ".", "<dot>");
    EXPECT_EQ(text, "a<dot>b<dot>c");
    text = "abab";
    ReplaceAll(text, "ab", "aba");  // the replacement is not scanned again
    EXPECT_EQ(text, "abaaba");
}

TEST(NormalizeLineEnds, ConvertsEveryFormToTheWantedOne) {
    std::string text = "a\r\nb\rc\nd\r\n\r";
    NormalizeLineEnds(text, "\r\n");
    EXPECT_EQ(text, "a\r\nb\r\nc\r\nd\r\n\r\n");
    NormalizeLineEnds(text, "\n");
    EXPECT_EQ(text, "a\nb\nc\nd\n\n");
}

TEST(FormatNew, ReturnsTextsLongerThanItsFirstBuffer) {
    std::string long_text(300, 'x');
    EXPECT_EQ(FormatNew("<%s>", long_text.c_str()), "<" + long_text + ">");
    char small[5];
    FormatInto(small, sizeof small, "%d", 1234567);
    EXPECT_STREQ(small, "1234");
}

TEST(PathPieces, ExtensionAndFileName) {
    EXPECT_EQ(ExtensionOf("C:\\media\\dir.old\\clip"), "");
    EXPECT_EQ(ExtensionOf("/media/archive.tar.gz"), ".gz");
    EXPECT_EQ(ExtensionOf("clip."), ".");
    EXPECT_EQ(ExtensionOf("clip.MPG"), ".MPG");
    EXPECT_EQ(FileNameOf("C:\\media\\"), "");
    EXPECT_EQ(FileNameOf("C:clip.mpg"), "clip.mpg");
    EXPECT_EQ(FileNameOf("/home/op/clip.mpg"), "clip.mpg");
    EXPECT_EQ(FileNameOf("clip.mpg"), "clip.mpg");
}

TEST(Files, SaveLinesWritesCrLfBetweenLinesOnly) {
    testing::TempDir dir;
    cpStringArray lines{"a", "b"};
    ASSERT_TRUE(lines.SaveLines(dir.File("two.txt"), std::nullopt));
    EXPECT_EQ(testing::ReadFileBytes(dir.File("two.txt")), "a\r\nb");

    ASSERT_TRUE(lines.SaveLines(dir.File("via.txt"), dir.File("via.tmp")));
    EXPECT_EQ(testing::ReadFileBytes(dir.File("via.txt")), "a\r\nb");
    EXPECT_FALSE(FileExists(dir.File("via.tmp")));

    cpStringArray loaded;
    ASSERT_TRUE(loaded.LoadLines(dir.File("via.txt")));
    EXPECT_EQ(loaded, lines);
}

TEST(Files, WholeFileRoundTripKeepsEveryByte) {
    testing::TempDir dir;
    std::string bytes;
    for (int i = 0; i < 256; ++i) {
        bytes.push_back(static_cast<char>(i));
    }
    ASSERT_TRUE(WriteWholeFile(dir.File("bytes"), bytes));
    EXPECT_EQ(ReadWholeFile(dir.File("bytes")), bytes);
    EXPECT_EQ(FileSize(dir.File("bytes")), 256u);
    EXPECT_FALSE(ReadWholeFile(dir.File("missing")).has_value());
    EXPECT_FALSE(FileSize(dir.File("missing")).has_value());
    EXPECT_FALSE(FileExists(""));
    EXPECT_FALSE(FileExists(dir.Path()));  // a directory is not a file
}

TEST(Files, MoveReplacesAReadOnlyTarget) {
    testing::TempDir dir;
    ASSERT_TRUE(WriteWholeFile(dir.File("target"), "old"));
    ASSERT_EQ(::chmod(dir.File("target").c_str(), 0444), 0);
    ASSERT_TRUE(WriteWholeFile(dir.File("source"), "new"));
    ASSERT_TRUE(MoveFileOver(dir.File("source"), dir.File("target")));
    EXPECT_EQ(testing::ReadFileBytes(dir.File("target")), "new");
    EXPECT_FALSE(FileExists(dir.File("source")));
}

TEST(Files, UniqueFilesAreNewEmptyAndTakeTheModeOfTheFileTheyReplace) {
    testing::TempDir dir;
    const std::string target = dir.File("target");
    ASSERT_TRUE(testing::WriteFileBytes(target, "old"));
    ASSERT_EQ(::chmod(target.c_str(), 0640), 0);
    const std::optional<std::string> first = CreateUniqueFile(dir.Path(), "vtc", target);
    const std::optional<std::string> second = CreateUniqueFile(dir.Path() + "/", "vtc");
    ASSERT_TRUE(first && second);
    EXPECT_NE(*first, *second);
    EXPECT_EQ(FileNameOf(*first).substr(0, 3), "vtc");
    EXPECT_EQ(FileSize(*first), 0u);
    struct stat info {};
    ASSERT_EQ(::stat(first->c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
    ASSERT_EQ(::stat(second->c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0644u);
    EXPECT_FALSE(CreateUniqueFile(dir.File("missing"), "vtc").has_value());
}

// A replaced file is either the old bytes or the new ones, and an
// interrupted replacement leaves no temporary file beside it.
TEST(Files, ReplaceWholeFileNeverLeavesATornFile) {
    testing::TempDir dir;
    const std::string path = dir.File("crawl.dat");
    ASSERT_TRUE(ReplaceWholeFile(path, "first\r\ncaf\xe9"));
    EXPECT_EQ(testing::ReadFileBytes(path), "first\r\ncaf\xe9");
    for (FileFault fault :
         {FileFault::WriteFails, FileFault::FlushFails, FileFault::ReplaceFails}) {
        testing::FailingFileWrites failing(fault);
        const bool replaced = ReplaceWholeFile(path, "second", failing);
        EXPECT_FALSE(replaced) << static_cast<int>(fault);
        EXPECT_EQ(testing::ReadFileBytes(path), "first\r\ncaf\xe9") << static_cast<int>(fault);
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
    }
    ASSERT_TRUE(ReplaceWholeFile(path, ""));
    EXPECT_EQ(testing::ReadFileBytes(path), "");
}

TEST(Files, UniqueFilesSweepOnlyTheLeftoversOfWritersThatNoLongerRun) {
    testing::TempDir dir;
    const pid_t child = ::fork();
    if (child == 0) {
        ::_exit(0);
    }
    ASSERT_GT(child, 0);
    ASSERT_EQ(::waitpid(child, nullptr, 0), child);
    const std::string dead = dir.File("vtc" + std::to_string(child) + ".abcdef");
    const std::string living = dir.File("vtc" + std::to_string(::getppid()) + ".abcdef");
    const std::string other = dir.File("vtcnotes.txt");
    for (const std::string& path : {dead, living, other}) {
        ASSERT_TRUE(testing::WriteFileBytes(path, "partial"));
    }
    ASSERT_TRUE(CreateUniqueFile(dir.Path(), "vtc").has_value());
    EXPECT_FALSE(FileExists(dead));
    EXPECT_TRUE(FileExists(living));
    EXPECT_TRUE(FileExists(other));
}

TEST(BlockList, ConcatenatesBlocksInOrder) {
    cpBlockList blocks;
    EXPECT_EQ(blocks.TotalLength(), 0u);
    ASSERT_TRUE(blocks.AppendBlock("abc"));
    ASSERT_TRUE(blocks.AppendBlock(""));
    ASSERT_TRUE(blocks.AppendBlock(std::string_view("d\0e", 3)));
    EXPECT_EQ(blocks.Count(), 3u);
    EXPECT_EQ(blocks.TotalLength(), 6u);
    EXPECT_EQ(blocks.Concatenate(), std::string("abcd\0e", 6));
}

}  // namespace
}  // namespace vantic
