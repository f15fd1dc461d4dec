// vanticctl deploy, settings and unit as programs against the reference server:
// the program's own deployment on a console, with the confirmation typed
// on standard input and every message on standard error.

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <memory>

#include "playlist/entry_set.h"
#include "tests/support/child_process.h"
#include "tests/support/shared_server.h"
#include "tests/support/temp_dir.h"

namespace vantic {
namespace {

using testing::ReadFileBytes;
using testing::WriteFileBytes;

EntrySet Parse(const std::string& text) {
    EntrySet set;
    EXPECT_TRUE(TextToEntrySet(text, set)) << text;
    return set;
}

using CtlRun = testing::ProgramRun;

class VanticctlDeployTest : public testing::SharedServerTest {
  protected:
    // An account that sees one unit.
    static void SetUpTestSuite() { SetUpTestSuiteWithAccount("kiosk", "K1osk9pw", "1012"); }

    void SetUp() override {
        SharedServerTest::SetUp();
        ASSERT_FALSE(HasFatalFailure());
        ASSERT_TRUE(WriteFileBytes(passwordFile_, server_->Administrator().password + "\n"));
    }

    // Runs vanticctl as the administrator (or login, whose password is in
    // the password file) with input as standard input.
    CtlRun Ctl(const std::vector<std::string>& arguments, const std::string& input = "",
               const std::string& login = "") {
        const std::string inputFile = dir_.File("in");
        EXPECT_TRUE(WriteFileBytes(inputFile, input));
        // No password may reach what it prints (checked by the runner).
        return RunVanticctl(testing::BuiltProgram("tools/vanticctl"),
                            login.empty() ? server_->Administrator().login : login, passwordFile_,
                            arguments, inputFile, dir_.Path());
    }

    testing::TempDir dir_;
    std::string passwordFile_ = dir_.File("password");
};

TEST_F(VanticctlDeployTest, DeployPutsTheChannelOnTheUnitsNamed) {
    const std::string clip = dir_.File("jingle.mp3");
    ASSERT_TRUE(WriteFileBytes(clip, std::string(6000, '\x21') + dir_.Path()));
    const std::string playlist = dir_.File("show.PLY");
    const std::string line = "2\t" + clip + "\tAuto\t\t6 KB\tAll\tloop\tNone\tNone\tA\t";
    ASSERT_TRUE(
        WriteFileBytes(playlist, line + "1\r\n" + line + "2\r\n" +
                                     "0\tvideo.mpg\tAuto\t\t1 KB\tAll\tloop\tNone\tNone\tA\t"));
    const std::string before1012 = Instructions(1012);
    const std::string before1023 = Instructions(1023);

    CtlRun run = Ctl({"deploy", "--playlist", playlist, "--channel", "audio a", "--units",
                      "1017,1012", "--yes"});
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("Confirm this Action: Only the current channel's playlist will be "
                           "changed."),
              std::string::npos);
    EXPECT_NE(run.err.find("] Media Player #1017 - Uploading New Configuration\n"),
              std::string::npos);
    EXPECT_TRUE(run.err.ends_with("SUCCESS: The deployment completed successfully\n")) << run.err;

    EntrySet expected = Parse(before1012);
    expected.List(2) = Parse(ReadFileBytes(playlist)).List(2);
    const EntrySet after = Parse(Instructions(1012));
    ASSERT_EQ(after.List(2).size(), 2u);
    for (PlayEntry& clipEntry : expected.List(2)) {
        clipEntry.contentName = after.List(2)[0].contentName;
    }
    EXPECT_EQ(after, expected);
    EXPECT_EQ(after.List(2)[0].contentName.size(), 32u);
    EXPECT_EQ(Parse(Instructions(1017)).List(2), expected.List(2));
    EXPECT_EQ(Instructions(1023), before1023);
}

TEST_F(VanticctlDeployTest, TheConfirmationIsReadFromTheInput) {
    const std::string before = Instructions(1023);
    CtlRun declined = Ctl({"settings", "--units", "1023", "crawl=1"}, "no\nye\n");
    EXPECT_EQ(declined.code, 1);
    EXPECT_TRUE(declined.err.ends_with("vanticctl: the deployment was not confirmed\n"))
        << declined.err;
    EXPECT_EQ(Instructions(1023), before);

    CtlRun confirmed =
        Ctl({"settings", "--units", "1023", "crawl=1", "notes=Cinema, level 2"}, "ye\n  YES \n");
    EXPECT_EQ(confirmed.code, 0) << confirmed.err;
    const EntrySet after = Parse(Instructions(1023));
    ASSERT_GE(after.Settings().size(), 2u);
    EXPECT_EQ(after.Settings()[0].key + "=" + after.Settings()[0].value, "crawl=1");
    EXPECT_EQ(after.Settings()[1].value, "Cinema, level 2");
    EXPECT_EQ(after.List(0), Parse(before).List(0));
}

TEST_F(VanticctlDeployTest, RefusalsAndFailuresAreMessagesAndAnExitStatus) {
    CtlRun all = Ctl({"settings", "--all", "--yes", "crawl=0"});
    EXPECT_EQ(all.code, 1);
    EXPECT_EQ(all.err,
              "Not Allowed: Deploy-To-All not allowed as Admin user!!\n"
              "vanticctl: the deployment was refused\n");

    ASSERT_TRUE(server_->SetFaults({"refuse-upload@8"}));
    CtlRun refused = Ctl({"settings", "--units", "1012", "--yes", "crawl=0"});
    EXPECT_EQ(refused.code, 1);
    EXPECT_NE(refused.err.find("Error Deploying: Unable to upload instruction file\n"),
              std::string::npos)
        << refused.err;
    EXPECT_EQ(refused.err.find("SUCCESS"), std::string::npos);

    for (const std::vector<std::string>& wrong :
         {std::vector<std::string>{"settings", "--units", "99", "crawl=0"},
          {"settings", "--units", "1012", "crawl"},
          {"settings", "--units", "1012", "--all", "crawl=0"},
          {"deploy", "--units", "1012", "--channel", "5", "--playlist", "x.PLY"},
          {"units", "--yes"}}) {
        CtlRun run = Ctl(wrong);
        EXPECT_EQ(run.code, 1) << wrong[0];
        EXPECT_TRUE(run.err.starts_with("vanticctl: ")) << run.err;
        EXPECT_EQ(run.err.find("Confirm"), std::string::npos);
    }
}

TEST_F(VanticctlDeployTest, UnitShowAndSetGoThroughTheEditorsForm) {
    const std::string dir = server_->DataDir() + "/units/1023";
    const std::string channels = "0\tclip.mpg\tAuto\t\t1 KB\tAll\tloop\tNone\tNone\tA\tcaf\xe9";
    ASSERT_TRUE(WriteFileBytes(dir + "/instructions.txt",
                               channels + "\n4\tcrawlspeed\t3\n4\tPassword\tpw\n4\tcustom\tx"));

    CtlRun show = Ctl({"unit", "show", "1023"});
    EXPECT_EQ(show.code, 0) << show.err;
    EXPECT_TRUE(show.out.starts_with("notes=\t(default)\nlocation1=\t(default)\n")) << show.out;
    EXPECT_NE(show.out.find("\ncrawlspeed=3\n"), std::string::npos);
    EXPECT_NE(show.out.find("\ncrawlsize=8\t(default)\n"), std::string::npos);
    EXPECT_NE(show.out.find("\nPassword=pw\n"), std::string::npos);
    EXPECT_TRUE(show.out.ends_with("\ncustom=x\n")) << show.out;

    CtlRun set = Ctl({"unit", "set", "1023", "crawlforeground=00FF7f", "notes=line\tone",
                      "crawlsize=12", "FirmwarePending=abc"});
    EXPECT_EQ(set.code, 0) << set.err;
    EXPECT_EQ(set.err.find("SUCCESS"), std::string::npos);  // quiet, as the editor's OK
    const EntrySet after = Parse(Instructions(1023));
    std::map<std::string, std::string> values;
    for (const PlayEntry& entry : after.Settings()) {
        values[entry.key] = entry.value;
    }
    EXPECT_EQ(values["crawlforeground"], "00ff7f");
    EXPECT_EQ(values["notes"], "line one");  // a tab would have shifted the fields
    EXPECT_EQ(values["crawlsize"], "12");
    EXPECT_EQ(values["crawlspeed"], "3");
    EXPECT_EQ(values["Password"], "pw");
    EXPECT_EQ(values["FirmwarePending"], "abc");
    EXPECT_EQ(values["custom"], "x");
    EXPECT_EQ(values["crawlbackground"], "000080");
    EXPECT_TRUE(Instructions(1023).starts_with(channels + "\n"));

    // Refused: a value the field cannot take, and a unit the account may not see.
    const std::string before = Instructions(1023);
    for (const char* wrong : {"crawlspeed=11", "crawlforeground=fff", "RestrictedPlayStop=24:00"}) {
        CtlRun run = Ctl({"unit", "set", "1023", wrong});
        EXPECT_EQ(run.code, 1) << wrong;
    }
    ASSERT_TRUE(WriteFileBytes(passwordFile_, "K1osk9pw\n"));
    CtlRun hidden = Ctl({"unit", "set", "1023", "crawl=1"}, "", "kiosk");
    EXPECT_EQ(hidden.code, 1);
    EXPECT_EQ(hidden.err, "vanticctl: Error getting config information from server\n");
    EXPECT_EQ(Instructions(1023), before);
}

}  // namespace
}  // namespace vantic
