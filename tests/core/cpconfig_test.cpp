#include "core/cpconfig.h"

#include <gtest/gtest.h>

#include "core/cpstring.h"
#include "tests/support/failing_file_writes.h"
#include "tests/support/temp_dir.h"

namespace vantic {
namespace {

using testing::FileFault;

TEST(ConfigRecord, MostRecentlySetKeyComesFirstWithItsLastSpelling) {
    cpConfig record;
    record.Set("A", "1");
    record.Set("B", "2");
    record.Set("a", "3");
    EXPECT_EQ(record.Items(), (std::vector<std::string>{"a=3", "B=2"}));
}

TEST(ConfigRecord, KeysMatchWholeAndWithoutCase) {
    cpConfig record = cpConfig::FromText("crawlspeed=5\ncrawl\nCRAWL=1\n");
    EXPECT_EQ(record.Get("crawl", "none"), "1");
    EXPECT_EQ(record.Get("crawlspeed"), "5");
    EXPECT_EQ(cpConfig::FromText("crawl =1").Get("CRAWL", "none"), "1");
    EXPECT_EQ(cpConfig::FromText("crawlspeed=5").Get("crawl", "none"), "none");
}

TEST(ConfigRecord, EmptyValueIsNotTheDefault) {
    cpConfig record = cpConfig::FromText("notes=\nurl=http://x/?a=b");
    EXPECT_EQ(record.Get("notes", "default"), "");
    EXPECT_EQ(record.Get("url"), "http://x/?a=b");
    EXPECT_EQ(record.Get("missing", "default"), "default");
}

TEST(ConfigRecord, SqueezesBlanksAroundTheFirstEqualsOnly) {
    cpConfig record = cpConfig::FromText("  crawlspeed  =  5  \n# note = x\n[section]\n=orphan");
    EXPECT_EQ(record.Items(),
              (std::vector<std::string>{"crawlspeed=5", "# note=x", "[section]", "=orphan"}));
    std::string line = "a = b = c";
    NormalizeKeyLine(line);
    EXPECT_EQ(line, "a=b = c");
}

TEST(ConfigRecord, DuplicatesReadFirstAndVanishOnSet) {
    cpConfig record = cpConfig::FromText("k=first\nother=1\nK=second");
    EXPECT_EQ(record.Get("k"), "first");
    record.Set("k", "new");
    EXPECT_EQ(record.Items(), (std::vector<std::string>{"k=new", "other=1"}));
    record.RemoveKey("K");
    EXPECT_EQ(record.Items(), (std::vector<std::string>{"other=1"}));
}

TEST(ParseBool, LeadingIntegerOrOneOfTheWords) {
    for (const char* yes : {"1", "-1", "7 days", "y", "YES", "ok", "Sure", "true", "Yes "}) {
        EXPECT_TRUE(ParseBool(yes)) << yes;
    }
    for (const char* no : {"0", "", "no", "false", "on", "yes please", "0x1", "  "}) {
        EXPECT_FALSE(ParseBool(no)) << no;
    }
    cpConfig record = cpConfig::FromText("a=sure");
    EXPECT_TRUE(record.GetBool("a", false));
    EXPECT_TRUE(record.GetBool("missing", true));
    EXPECT_FALSE(record.GetBool("missing", false));
}

TEST(ConfigText, EndsInOneLineEndAndIsStable) {
    cpConfig record = cpConfig::FromText("a=1\nb=2");
    EXPECT_EQ(record.ToText(), "a=1\nb=2\n");
    EXPECT_EQ(record.ToText(), "a=1\nb=2\n");
    EXPECT_EQ(cpConfig().ToText(), "");
    EXPECT_EQ(cpConfig::FromText("no line ends").Count(), 1u);
}

TEST(ConfigFile, LoadThenSaveNormalisesTheFile) {
    testing::TempDir dir;
    ASSERT_TRUE(
        testing::WriteFileBytes(dir.File("in.ini"), "  a  =  1 \n\nb=2\r\nnotes=caf\xe9 \xfc"));
    cpConfig record = cpConfig::LoadFile(dir.File("in.ini"));
    ASSERT_TRUE(record.SaveFile(dir.File("out.ini"), dir.File("out.tmp")));
    EXPECT_EQ(testing::ReadFileBytes(dir.File("out.ini")),
              "a=1\r\n\r\nb=2\r\nnotes=caf\xe9 \xfc\r\n");

    ASSERT_TRUE(testing::WriteFileBytes(dir.File("ended.ini"), "a=1\n"));
    cpConfig ended = cpConfig::LoadFile(dir.File("ended.ini"));
    ASSERT_TRUE(ended.SaveFile(dir.File("ended.ini"), dir.File("ended.tmp")));
    EXPECT_EQ(testing::ReadFileBytes(dir.File("ended.ini")), "a=1\r\n");

    EXPECT_TRUE(cpConfig::LoadFile(dir.File("missing.ini")).Empty());
    cpConfig empty;
    ASSERT_TRUE(empty.SaveFile(dir.File("empty.ini"), dir.File("empty.tmp")));
    EXPECT_EQ(testing::ReadFileBytes(dir.File("empty.ini")), "");
}

// Each way a save can be interrupted leaves the earlier file byte for byte,
// and no temporary file behind.
TEST(ConfigFile, InterruptedSaveKeepsTheEarlierFile) {
    const std::string original = "Distribution_Server=venue.example\r\nkeep=me\r\n";
    for (FileFault fault : {FileFault::OpenFails, FileFault::WriteFails, FileFault::FlushFails,
                            FileFault::ReplaceFails}) {
        testing::TempDir dir;
        ASSERT_TRUE(testing::WriteFileBytes(dir.File("config.ini"), original));
        cpConfig record = cpConfig::LoadFile(dir.File("config.ini"));
        record.Set("Sample_File", "/home/op/lobby.ply");

        testing::FailingFileWrites failing(fault);
        bool saved = record.SaveFile(dir.File("config.ini"), dir.File("config.ini.temp"), failing);

        EXPECT_FALSE(saved) << static_cast<int>(fault);
        EXPECT_EQ(testing::ReadFileBytes(dir.File("config.ini")), original)
            << static_cast<int>(fault);
        EXPECT_FALSE(FileExists(dir.File("config.ini.temp"))) << static_cast<int>(fault);
    }
}

}  // namespace
}  // namespace vantic
