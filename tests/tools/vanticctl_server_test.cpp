// vanticctl as a program against the reference distribution server: its
// output, its error line and its exit codes.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <thread>

#include "core/cpstring.h"
#include "tests/support/child_process.h"
#include "tests/support/shared_server.h"
#include "tests/support/temp_dir.h"

namespace vantic {
namespace {

using namespace std::chrono_literals;
using testing::ReadFileBytes;
using testing::WriteFileBytes;

using CtlRun = testing::ProgramRun;

class VanticctlServerTest : public testing::SharedServerTest {
  protected:
    void SetUp() override {
        SharedServerTest::SetUp();
        ASSERT_FALSE(HasFatalFailure());
        ASSERT_TRUE(WriteFileBytes(passwordFile_, server_->Administrator().password + "\n"));
    }

    // Runs vanticctl with the server, login and key given as options. No
    // password may reach what it prints (checked by the runner).
    CtlRun Ctl(const std::vector<std::string>& arguments, const std::string& input = "/dev/null") {
        return RunVanticctl(testing::BuiltProgram("tools/vanticctl"),
                            server_->Administrator().login, passwordFile_, arguments, input,
                            dir_.Path());
    }
    CtlRun Bare(const std::vector<std::string>& arguments, const std::string& input = "/dev/null") {
        return RunVanticctlBare(testing::BuiltProgram("tools/vanticctl"), arguments, input,
                                dir_.Path());
    }
    static void ExpectOneErrorLine(const CtlRun& run) {
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
        EXPECT_TRUE(run.err.starts_with("vanticctl: ")) << run.err;
    }

    testing::TempDir dir_;
    std::string passwordFile_ = dir_.File("password");
};

TEST_F(VanticctlServerTest, DownloadsPrintWhatTheServerHolds) {
    CtlRun units = Ctl({"units"});
    EXPECT_EQ(units.code, 0) << units.err;
    EXPECT_NE(units.out.find("1012\t[Harbor Mall] food court\tOK\t"), std::string::npos);
    EXPECT_EQ(std::count(units.out.begin(), units.out.end(), '\n'), 12);
    EXPECT_EQ(units.err, "");

    struct Case {
        const char* command;
        const char* file;
    };
    for (Case c : {Case{"instructions", "instructions.txt"}, Case{"playlist", "playlist.txt"},
                   Case{"runtime", "runtime.txt"}, Case{"info", "info.txt"}}) {
        std::vector<std::string> words = {c.command, "1012"};
        if (std::string(c.command) == "instructions") {
            words.insert(words.begin() + 1, "get");
        }
        CtlRun run = Ctl(words);
        EXPECT_EQ(run.code, 0) << c.command << run.err;
        EXPECT_EQ(run.out, ReadFileBytes(UnitFile(1012, c.file))) << c.command;
    }
    CtlRun owners = Ctl({"owners", "get"});
    EXPECT_EQ(owners.code, 0);
    EXPECT_EQ(owners.out, ReadFileBytes(server_->DataDir() + "/owners.txt"));

    CtlRun timing = Ctl({"timing", "1012"});
    EXPECT_EQ(timing.code, 0);
    EXPECT_EQ(std::count(timing.out.begin(), timing.out.end(), '\n'), 5);
    EXPECT_NE(timing.out.find("\tlast call-in\t"), std::string::npos);
    EXPECT_EQ(timing.out.find("Unknown"), std::string::npos) << timing.out;
}

TEST_F(VanticctlServerTest, WritesTheActivityReportOfTheUnitList) {
    const std::string report = dir_.File("activity.rtf");
    CtlRun run = Ctl({"report", "activity", "--out", report});
    EXPECT_EQ(run.code, 0) << run.err;
    const std::string text = ReadFileBytes(report);
    EXPECT_TRUE(text.starts_with("{\\rtf1\\ansi\\ansicpg1252")) << text;
    EXPECT_NE(text.find("\\fs36 Owner: Harbor Mall \\par\\fs24\r\n"), std::string::npos) << text;
    EXPECT_TRUE(text.ends_with(std::string("}\r\n") + '\0'));
    EXPECT_EQ(Ctl({"report", "activity"}).code, 1);
}

TEST_F(VanticctlServerTest, UploadsRoundTripFromFilesAndStandardInput) {
    std::string text = "0\tclip.mpg\t30\t\t\tAll\tloop\t\t\t0\tfrom vanticctl\n4\tcrawl\tHi\n";
    std::string file = dir_.File("instructions.txt");
    ASSERT_TRUE(WriteFileBytes(file, text));
    CtlRun put = Ctl({"instructions", "put", "1017", file});
    EXPECT_EQ(put.code, 0) << put.err;
    EXPECT_EQ(Ctl({"instructions", "get", "1017"}).out, text);

    std::string owners = "1012=Stdin Owner\n";
    std::string ownersFile = dir_.File("owners.txt");
    ASSERT_TRUE(WriteFileBytes(ownersFile, owners));
    EXPECT_EQ(Ctl({"owners", "put", "-"}, ownersFile).code, 0);
    EXPECT_EQ(Ctl({"owners", "get"}).out, owners);
}

TEST_F(VanticctlServerTest, MediaIsUploadedOnce) {
    std::string clip = dir_.File("clip.mpg");
    ASSERT_TRUE(WriteFileBytes(clip, std::string(4097, '\x5a') + dir_.Path()));
    CtlRun query = Ctl({"media", "query", clip});
    EXPECT_EQ(query.code, 2);
    EXPECT_TRUE(query.out.ends_with("\tnot held\n")) << query.out;
    ExpectOneErrorLine(query);
    std::string name = query.out.substr(0, 32);

    CtlRun first = Ctl({"media", "put", clip});
    EXPECT_EQ(first.code, 0) << first.err;
    EXPECT_EQ(first.out, name + "\tuploaded\n");
    EXPECT_EQ(ReadFileBytes(server_->DataDir() + "/media/" + name), ReadFileBytes(clip));
    CtlRun second = Ctl({"media", "put", clip});
    EXPECT_EQ(second.out, name + "\talready held\n");
    // Three queries and one upload; the server logs a connection as it ends.
    EXPECT_EQ(AwaitLogLines("digest=" + name, 3).size(), 4u);
    EXPECT_EQ(server_->LogLines("command=7 ").size(), 1u);
    EXPECT_EQ(Ctl({"media", "query", clip}).code, 0);
}

TEST_F(VanticctlServerTest, ExitCodesTellAbsentUndecryptableAndFailed) {
    CtlRun absent = Ctl({"instructions", "get", "1082"});
    EXPECT_EQ(absent.code, 2);
    EXPECT_EQ(absent.out, "");
    ExpectOneErrorLine(absent);

    ASSERT_TRUE(server_->SetFaults({"bad-envelope"}));
    CtlRun bad = Ctl({"info", "1012"});
    EXPECT_EQ(bad.code, 3);
    ExpectOneErrorLine(bad);

    ASSERT_TRUE(server_->SetFaults({"status-1"}));
    CtlRun refused = Ctl({"units"});
    EXPECT_EQ(refused.code, 1);
    EXPECT_EQ(refused.out, "");
    ExpectOneErrorLine(refused);

    ASSERT_TRUE(server_->SetFaults({"refuse-upload"}));
    std::string owners = dir_.File("owners.txt");
    ASSERT_TRUE(WriteFileBytes(owners, "1=x\n"));
    CtlRun notStored = Ctl({"owners", "put", owners});
    EXPECT_EQ(notStored.code, 1);
    ExpectOneErrorLine(notStored);
}

// --match and --group choose units as the window's filter does; a choice
// that matches nothing changes nothing rather than every unit.
TEST_F(VanticctlServerTest, MatchAndGroupChooseTheUnitsTheWindowsFilterShows) {
    CtlRun late = Ctl({"units", "--match", "status:late"});
    EXPECT_EQ(late.code, 0) << late.err;
    EXPECT_EQ(std::count(late.out.begin(), late.out.end(), '\n'), 2) << late.out;
    EXPECT_TRUE(late.out.starts_with("1023\t[Harbor Mall] cinema queue\tLate Calling In\t"));
    EXPECT_NE(late.out.find("\n1058\t"), std::string::npos) << late.out;

    CtlRun counted = Ctl({"units", "--match", "owner:harbor", "--count"});
    EXPECT_EQ(counted.out, "3 units: 2 OK, 1 late\n") << counted.err;

    const std::string config = dir_.File("config.ini");
    ASSERT_TRUE(WriteFileBytes(
        config, "Unit_Group_Harbor late=owner:Harbor status:late\r\nDistribution_Server=" +
                    server_->Address() + "\r\n"));
    CtlRun group = Ctl({"--config", config, "units", "--group", "harbor LATE"});
    EXPECT_EQ(group.code, 0) << group.err;
    EXPECT_TRUE(group.out.starts_with("1023\t")) << group.out;
    EXPECT_EQ(std::count(group.out.begin(), group.out.end(), '\n'), 1);

    for (const std::vector<std::string>& refused :
         {std::vector<std::string>{"units", "--config", config, "--group", "none"},
          {"settings", "--match", "#4242", "--yes", "notes=x"},
          {"settings", "--match", "lobby", "--all", "--yes", "notes=x"},
          {"owners", "get", "--count"}}) {
        CtlRun run = Ctl(refused);
        EXPECT_EQ(run.code, 1) << refused[0];
        ExpectOneErrorLine(run);
    }
}

TEST_F(VanticctlServerTest, ReadsTheControllersSettingsFileWithTheNameAsTyped) {
    std::string config = dir_.File("config.ini");
    std::string typed = server_->Operator().login;
    typed[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(typed[0])));
    ASSERT_TRUE(WriteFileBytes(
        config, "Distribution_Server=" + server_->Address() + "\r\nDistribution_Username=" + typed +
                    "\r\nDistribution_Userpass=" + server_->Operator().password +
                    "\r\nDistribution_Userpass_Remember=1\r\n"));
    CtlRun units = Bare({"--config", config, "--key", server_->KeyFile(), "units"});
    EXPECT_EQ(units.code, 0) << units.err;
    EXPECT_EQ(std::count(units.out.begin(), units.out.end(), '\n'), 8);  // the operator's units
}

}  // namespace
}  // namespace vantic

namespace vantic {
namespace {

TEST_F(VanticctlServerTest, ReportStatusWritesTheDocumentAndTellsItsProgress) {
    const std::string report = dir_.File("status.rtf");
    CtlRun run = Ctl({"report", "status", "--from", "2020-01-01", "--to", "2099-12-31", "--units",
                      "1012,1059", "--out", report});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err,
              "[0.00%] Building Report: Media Player #1012\n"
              "[50.00%] Building Report: Media Player #1059\n");
    const std::string text = ReadFileBytes(report);
    EXPECT_TRUE(text.starts_with("{\\rtf1\\ansi\\ansicpg1252")) << text;
    EXPECT_TRUE(text.ends_with(std::string(" }\r\n") + '\0'));
    EXPECT_NE(text.find("Vantic serial number 1059 \\par\r\n"), std::string::npos);
    EXPECT_NE(text.find("\\fs48 Summary Proof of Run Report"), std::string::npos);

    CtlRun missingOut = Ctl({"report", "status", "--from", "2020-01-01", "--to", "2020-02-30"});
    EXPECT_EQ(missingOut.code, 1);
    ExpectOneErrorLine(missingOut);
    CtlRun deployOption = Ctl({"report", "status", "--from", "2020-01-01", "--to", "2020-02-01",
                               "--all", "--out", report});
    EXPECT_EQ(deployOption.code, 1);
    CtlRun unknownUnit = Ctl({"report", "status", "--from", "2020-01-01", "--to", "2020-02-01",
                              "--units", "77", "--out", report});
    EXPECT_EQ(unknownUnit.code, 1);
    EXPECT_EQ(ReadFileBytes(report), text);  // a failed run leaves the file alone
}

// --chart and --statement are drawn by vantic-chart-render beside vanticctl;
// a build without Qt has none and says so.
TEST_F(VanticctlServerTest, ReportPlaysDrawsItsChartAndStatementThroughTheHelper) {
    const std::string chart = dir_.File("plays.svg");
    const std::string statement = dir_.File("statement.pdf");
    const std::vector<std::string> plays = {"report", "plays",      "--from",  "2020-01-01",
                                            "--to",   "2099-12-31", "--units", "1012"};
    const auto with = [&plays](std::vector<std::string> more) {
        more.insert(more.begin(), plays.begin(), plays.end());
        return more;
    };
    const bool helper = std::filesystem::exists(testing::BuiltProgram("tools/vantic-chart-render"));
    for (const CtlRun& run :
         {Ctl(with({"--chart", chart, "--channel", "Audio A"})),
          Ctl(with({"--statement", "WINTER_clearance.mpg", "--out", statement}))}) {
        EXPECT_EQ(run.code, helper ? 0 : 1) << run.err;
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err.find("vantic-chart-render, which is not installed") != std::string::npos,
                  !helper)
            << run.err;
    }
    if (helper) {
        EXPECT_NE(ReadFileBytes(chart).find("<svg"), std::string::npos);
        EXPECT_TRUE(ReadFileBytes(statement).starts_with("%PDF"));
    }
    CtlRun unknown = Ctl(with({"--statement", "missing.mpg", "--out", statement}));
    EXPECT_EQ(unknown.code, 1);
    // Without the helper nothing is fetched: the missing helper is said first.
    EXPECT_TRUE(unknown.err.ends_with(
        helper ? "vanticctl: no clip named missing.mpg played on those units in those days\n"
               : "vantic-chart-render, which is not installed\n"))
        << unknown.err;
    CtlRun misplaced = Ctl({"units", "--chart", chart});
    EXPECT_EQ(misplaced.err,
              "vanticctl: --chart and --statement are options of report plays only\n");
    CtlRun noFile = Ctl(with({"--statement", "x.mpg"}));
    EXPECT_EQ(noFile.err, "vanticctl: give the statement's file as --out FILE.pdf\n");
}

}  // namespace
}  // namespace vantic
