#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>

#include "core/cpstringarray.h"
#include "net/rsa.h"
#include "net/rsa_key.h"
#include "tests/support/temp_dir.h"
#include "tools/vanticctl/ctl_access.h"
#include "tools/vanticctl/ctl_commands.h"
#include "tools/vanticctl/ctl_format.h"
#include "tools/vanticctl/ctl_options.h"

namespace vantic::ctl {
namespace {

TEST(CtlCommandLineTest, ReadsOptionsAnywhereInBothForms) {
    CommandLine line = ParseCommandLine(
        {"--server", "10.0.0.5:4000", "instructions", "--user=op", "get", "12", "--key", "k"});
    EXPECT_TRUE(line.error.empty());
    EXPECT_EQ(line.options.server, "10.0.0.5:4000");
    EXPECT_EQ(line.options.user, "op");
    EXPECT_EQ(line.options.keyFile, "k");
    EXPECT_FALSE(line.options.passwordFile.has_value());
    EXPECT_EQ(line.words, (std::vector<std::string>{"instructions", "get", "12"}));

    CommandLine ended = ParseCommandLine({"owners", "put", "-", "--", "--odd-file-name"});
    EXPECT_TRUE(ended.error.empty());
    EXPECT_EQ(ended.words, (std::vector<std::string>{"owners", "put", "-", "--odd-file-name"}));
}

TEST(CtlCommandLineTest, RejectsUnknownOptionsAndMissingValues) {
    EXPECT_NE(ParseCommandLine({"units", "--verbose"}).error, "");
    EXPECT_NE(ParseCommandLine({"units", "--server"}).error, "");
    EXPECT_TRUE(ParseCommandLine({"-h"}).options.help);
}

TEST(CtlSubcommandTest, FindsTheLongestMatchingWords) {
    std::vector<std::string> words = {"instructions", "put", "12", "file.txt"};
    std::size_t used = 0;
    const Subcommand* command = FindSubcommand(words, used);
    ASSERT_NE(command, nullptr);
    EXPECT_EQ(command->words, "instructions put");
    EXPECT_EQ(used, 2u);
    std::vector<std::string> partial = {"instructions"};
    EXPECT_EQ(FindSubcommand(partial, used), nullptr);
    // Every row of the table can be found by its own words.
    for (const Subcommand& row : Subcommands()) {
        cpStringArray split = cpStringArray::SplitNew(row.words, " ");
        std::vector<std::string> own(split.begin(), split.end());
        EXPECT_EQ(FindSubcommand(own, used), &row) << row.words;
    }
}

TEST(CtlRunTest, UsageErrorsFailWithOneLineAndTouchNoServer) {
    std::string out, err;
    EXPECT_EQ(RunCtl({}, out, err), 1);
    EXPECT_EQ(RunCtl({"units", "extra"}, out, err), 1);
    EXPECT_EQ(err, "vanticctl: usage: vanticctl units [--match TEXT | --group NAME] [--count]\n");
    EXPECT_EQ(RunCtl({"timing"}, out, err), 1);
    EXPECT_EQ(RunCtl({"frobnicate"}, out, err), 1);
    EXPECT_NE(err.find("unknown command \"frobnicate\""), std::string::npos);
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1);
    EXPECT_TRUE(out.empty());
    EXPECT_EQ(RunCtl({"--help"}, out, err), 0);
    EXPECT_NE(out.find("instructions put N FILE"), std::string::npos);
    for (const Subcommand& command : Subcommands()) {
        EXPECT_NE(out.find("\n  " + std::string(command.words)), std::string::npos)
            << command.words;
    }
    EXPECT_EQ(RunCtl({"--version"}, out, err), 0);
    EXPECT_EQ(out, "vanticctl 4.1\n");
}

TEST(CtlFormatTest, UnitListKeepsUnitRowsAsFiveFields) {
    std::string reply =
        "Unit\tNotes\tStatus\r\n"                                          // heading: no number
        "12\t[Acme] Lobby \xe9\tOK\t01/02/2026 10:00\t01/02/2026 11:00\r"  // CR alone
        "\n"                                                               // blank line
        "0\tnot a unit\n"
        "7\tBar\tLate Calling In\tx\ty\textra\tfields\n"
        "5\tonly notes";
    EXPECT_EQ(FormatUnitList(reply),
              "12\t[Acme] Lobby \xe9\tOK\t01/02/2026 10:00\t01/02/2026 11:00\n"
              "7\tBar\tLate Calling In\tx\ty\n"
              "5\tonly notes\t\t\t\n");
    EXPECT_EQ(FormatUnitList(""), "");
}

class LocalTimeInUtc : public ::testing::Test {
  protected:
    void SetUp() override {
        const char* tz = std::getenv("TZ");
        saved_ = tz ? std::optional<std::string>(tz) : std::nullopt;
        setenv("TZ", "UTC", 1);
        tzset();
    }
    void TearDown() override {
        if (saved_) {
            setenv("TZ", saved_->c_str(), 1);
        } else {
            unsetenv("TZ");
        }
        tzset();
    }
    std::optional<std::string> saved_;
};

TEST_F(LocalTimeInUtc, TimingShowsTheWordsAndBothCallInTimes) {
    EXPECT_EQ(CallInTimeText(1699000000), "Fri Nov 03 08:26:40 2023");
    EXPECT_EQ(CallInTimeText(0), "Unknown");
    TimingInfo info;
    info.words = {7, 1699000000, 0, 0xFFFFFFFF, 0};
    EXPECT_EQ(FormatTiming(info),
              "0\t7\n"
              "1\t1699000000\tlast call-in\tFri Nov 03 08:26:40 2023\n"
              "2\t0\n"
              "3\t4294967295\n"
              "4\t0\tnext call-in\tUnknown\n");
}

class CtlAccessTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::optional<RsaPrivateKey> key = GenerateRsaKey(1024);
        ASSERT_TRUE(key.has_value());
        ASSERT_TRUE(WritePublicKeyFile(keyFile_, key->Public()));
    }
    void WriteConfig(const std::string& text) {
        ASSERT_TRUE(testing::WriteFileBytes(config_, text));
        options_.configFile = config_;
        options_.keyFile = keyFile_;
    }

    testing::TempDir dir_;
    std::string config_ = dir_.File("config.ini");
    std::string keyFile_ = dir_.File("p.key");
    CtlOptions options_;
};

TEST_F(CtlAccessTest, TakesTheControllersSettingsAndARememberedPassword) {
    WriteConfig(
        "Distribution_Server=media.example:4000\r\n"
        "Distribution_Username=Operator\r\n"
        "Distribution_Userpass=s3cret\r\n"
        "Distribution_Userpass_Remember=1\r\n");
    AccessResult result = ResolveAccess(options_);
    ASSERT_TRUE(result.access.has_value()) << result.error;
    EXPECT_EQ(result.access->host, "media.example:4000");
    EXPECT_EQ(result.access->loginName, "operator");  // the server knows the lower-case name
    EXPECT_EQ(result.access->password, "s3cret");
    EXPECT_EQ(result.access->keyFilePath, keyFile_);
}

TEST_F(CtlAccessTest, APasswordNotRememberedMustComeFromAFile) {
    WriteConfig(
        "Distribution_Server=host\nDistribution_Username=op\n"
        "Distribution_Userpass=stale\nDistribution_Userpass_Remember=0\n");
    AccessResult withoutFile = ResolveAccess(options_);
    EXPECT_FALSE(withoutFile.access.has_value());
    EXPECT_NE(withoutFile.error.find("--password-file"), std::string::npos);

    std::string passwordFile = dir_.File("pw");
    ASSERT_TRUE(testing::WriteFileBytes(passwordFile, "fresh\r\nsecond line\n"));
    options_.passwordFile = passwordFile;
    options_.server = "10.1.1.1";
    options_.user = "other";
    AccessResult withFile = ResolveAccess(options_);
    ASSERT_TRUE(withFile.access.has_value()) << withFile.error;
    EXPECT_EQ(withFile.access->password, "fresh");
    EXPECT_EQ(withFile.access->host, "10.1.1.1");
    EXPECT_EQ(withFile.access->loginName, "other");
}

TEST_F(CtlAccessTest, SaysWhatIsMissingOrUnusable) {
    std::string passwordFile = dir_.File("pw");
    ASSERT_TRUE(testing::WriteFileBytes(passwordFile, "pw"));
    // A stored server too long for the controller's buffer reads as empty.
    WriteConfig("Distribution_Server=" + std::string(260, 'h') + "\nDistribution_Username=op\n");
    options_.passwordFile = passwordFile;
    EXPECT_NE(ResolveAccess(options_).error.find("no server"), std::string::npos);

    options_.server = "host:99999";
    EXPECT_NE(ResolveAccess(options_).error.find("HOST:PORT"), std::string::npos);

    options_.server = "host";
    options_.user = std::string(24, 'u');
    EXPECT_NE(ResolveAccess(options_).error.find("23 characters"), std::string::npos);

    options_.user = "op";
    options_.keyFile = dir_.File("missing.key");
    EXPECT_NE(ResolveAccess(options_).error.find("server key"), std::string::npos);

    options_.keyFile = keyFile_;
    EXPECT_TRUE(ResolveAccess(options_).access.has_value());
    options_.configFile = dir_.File("absent.ini");
    EXPECT_NE(ResolveAccess(options_).error.find("settings file"), std::string::npos);
}

TEST_F(CtlAccessTest, AnInstructionFileThatIsNotEntryTextIsNotSent) {
    WriteConfig("");
    std::string passwordFile = dir_.File("pw");
    ASSERT_TRUE(testing::WriteFileBytes(passwordFile, "pw"));
    std::string bad = dir_.File("photo.jpg");
    ASSERT_TRUE(testing::WriteFileBytes(bad, "\xff\xd8\xff\xe0 not\tentry text\n"));
    std::string out, err;
    // The server address leads nowhere; the refusal comes first.
    int code = RunCtl({"--config", config_, "--key", keyFile_, "--server", "127.0.0.1:1", "--user",
                       "op", "--password-file", passwordFile, "instructions", "put", "5", bad},
                      out, err);
    EXPECT_EQ(code, 1);
    EXPECT_NE(err.find("is not an instruction file"), std::string::npos) << err;
}

}  // namespace
}  // namespace vantic::ctl
