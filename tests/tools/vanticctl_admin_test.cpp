// vanticctl's administration commands as a program against the reference
// server: the controller's own routines with their forms filled from the
// command line. The program runs from a folder of its own, where it keeps
// crawl.dat and the controller's config.ini.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>

#include "net/hex.h"
#include "net/md5.h"
#include "playlist/entry_set.h"
#include "tests/support/child_process.h"
#include "tests/support/shared_server.h"
#include "tests/support/temp_dir.h"

namespace vantic {
namespace {

using testing::ReadFileBytes;
using testing::WriteFileBytes;

using CtlRun = testing::ProgramRun;

class VanticctlAdminTest : public testing::SharedServerTest {
  protected:
    void SetUp() override {
        SharedServerTest::SetUp();
        std::filesystem::copy_file(testing::BuiltProgram("tools/vanticctl"), program_);
    }

    // Runs the program as the administrator (or the operator), with nothing
    // on standard input.
    CtlRun Ctl(const std::vector<std::string>& arguments, bool asOperator = false) {
        const testing::ServerAccount& account =
            asOperator ? server_->Operator() : server_->Administrator();
        EXPECT_TRUE(WriteFileBytes(passwordFile_, account.password + "\n"));
        return RunVanticctl(program_, account.login, passwordFile_, arguments, "/dev/null",
                            dir_.Path());
    }
    static std::vector<std::string> Settings(int unit) {
        EntrySet set;
        const std::string text = Instructions(unit);
        EXPECT_TRUE(TextToEntrySet(text, set)) << text;
        std::vector<std::string> lines;
        for (const PlayEntry& entry : set.Settings()) {
            lines.push_back(entry.key + "=" + entry.value);
        }
        return lines;
    }

    testing::TempDir dir_;
    std::string passwordFile_ = dir_.File("password");
    std::string program_ = dir_.File("vanticctl");
};

TEST_F(VanticctlAdminTest, CrawlKeepsTheTextBesideTheProgramAndChecksTheInterval) {
    const std::string textFile = dir_.File("crawl.txt");
    const std::string text = "Happy hour <time>\r\n<url:http://www.example.com/c.txt>\r\n";
    ASSERT_TRUE(WriteFileBytes(textFile, text));
    const std::vector<std::string> before = Settings(1012);

    CtlRun refused =
        Ctl({"crawl", "--text-file", textFile, "--refresh", "0", "--units", "1012", "--yes"});
    EXPECT_EQ(refused.code, 1);
    EXPECT_EQ(refused.err,
              "ERROR: Refresh interval must be between 1 and 500000\n"
              "vanticctl: nothing was deployed\n");
    EXPECT_EQ(ReadFileBytes(dir_.File("crawl.dat")), text);
    EXPECT_EQ(Settings(1012), before);
    // A refused interval is not remembered.
    EXPECT_EQ(ReadFileBytes(dir_.File("config.ini")).find("Last_Crawl_Refresh"), std::string::npos);

    CtlRun sent =
        Ctl({"crawl", "--text-file", textFile, "--refresh", "45", "--units", "1012", "--yes"});
    EXPECT_EQ(sent.code, 0) << sent.err;
    const std::string contentName = HexEncode(*Md5File(textFile));
    EXPECT_EQ(ReadFileBytes(server_->DataDir() + "/media/" + contentName), text);
    const std::vector<std::string> after = Settings(1012);
    ASSERT_GE(after.size(), 2u);
    EXPECT_EQ(after[0], "crawldata=" + contentName);
    EXPECT_EQ(after[1], "crawlrefresh=45");

    // The confirmed interval is kept in the controller's settings, and is the
    // next use's default, as in the controller's form.
    EXPECT_NE(ReadFileBytes(dir_.File("config.ini")).find("Last_Crawl_Refresh=45"),
              std::string::npos);
    CtlRun again = Ctl({"crawl", "--text-file", textFile, "--units", "1017", "--yes"});
    EXPECT_EQ(again.code, 0) << again.err;
    EXPECT_EQ(Settings(1017).at(1), "crawlrefresh=45");
}

TEST_F(VanticctlAdminTest, ConfigTimeZoneFirmwareAndOwner) {
    const std::string config = dir_.File("admin.txt");
    ASSERT_TRUE(WriteFileBytes(config, "UpdateFreq=6\n=x\nnovalue\n"));
    EXPECT_EQ(Ctl({"admin-config", "--file", config, "--units", "1017", "--yes"}).code, 0);
    EXPECT_EQ(Settings(1017).at(0), "UpdateFreq=6");

    CtlRun zone = Ctl({"timezone", "pacific", "--units", "1017,1023", "--yes"});
    EXPECT_EQ(zone.code, 0) << zone.err;
    EXPECT_TRUE(zone.err.ends_with("SUCCESS: The deployment completed successfully\n"));
    EXPECT_EQ(Settings(1023).at(0), "TimezonePending=/usr/share/zoneinfo/PST8PDT");

    const std::string archive = dir_.File("fw.tgz");
    ASSERT_TRUE(WriteFileBytes(archive, std::string(5000, '\x8b') + dir_.Path()));
    EXPECT_EQ(Ctl({"firmware", archive, "--units", "1023", "--yes"}).code, 0);
    EXPECT_EQ(Settings(1023).at(0), "FirmwarePending=" + HexEncode(*Md5File(archive)));

    // --all selects every unit the administrator sees.
    CtlRun owner = Ctl({"owner", "Acme  Corp", "--all", "--yes"});
    EXPECT_EQ(owner.code, 0) << owner.err;
    const std::string owners = ReadFileBytes(server_->DataDir() + "/owners.txt");
    for (const char* line : {"1012=AcmeCorp\n", "1017=AcmeCorp\n", "1023=AcmeCorp\n"}) {
        EXPECT_NE(owners.find(line), std::string::npos) << owners;
    }
    CtlRun declined = Ctl({"owner", "Other", "--units", "1012"});
    EXPECT_EQ(declined.code, 1);
    EXPECT_TRUE(declined.err.ends_with("vanticctl: the new owner was not confirmed\n"));
    EXPECT_EQ(ReadFileBytes(server_->DataDir() + "/owners.txt"), owners);

    // The controller offers the owner, firmware and free settings to the
    // administrator only; so does vanticctl.
    CtlRun notAdministrator = Ctl({"owner", "Other", "--units", "1012", "--yes"}, true);
    EXPECT_EQ(notAdministrator.err, "vanticctl: only the administrator may use this command\n");
    EXPECT_EQ(ReadFileBytes(server_->DataDir() + "/owners.txt"), owners);

    for (const std::vector<std::string>& wrong :
         {std::vector<std::string>{"timezone", "Atlantic", "--units", "1012"},
          {"crawl", "--units", "1012"},
          {"owner", "x", "--units", "1012", "--file", config},
          {"firmware", dir_.File("missing.tgz"), "--units", "1012"}}) {
        CtlRun run = Ctl(wrong);
        EXPECT_EQ(run.code, 1) << wrong[0];
        EXPECT_TRUE(run.err.starts_with("vanticctl: ")) << run.err;
    }
}

}  // namespace
}  // namespace vantic
