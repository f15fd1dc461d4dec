// The session against the reference distribution server over loopback TCP:
// real data both ways, and each of the server's fault modes.

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <thread>

#include "core/cpconfig.h"
#include "net/envelope.h"
#include "net/hex.h"
#include "net/login_block.h"
#include "net/login_settings.h"
#include "net/media_exchange.h"
#include "net/payload_exchange.h"
#include "net/session.h"
#include "net/timing_info.h"
#include "tests/net/reference.h"
#include "tests/net/wire_peer.h"
#include "tests/support/memory_login_store.h"
#include "tests/support/shared_server.h"

namespace vantic {
namespace {

using namespace std::chrono_literals;
using testing::ReadFileBytes;
using testing::SecondsSince;

class SessionServerTest : public testing::SharedServerTest {
  protected:
    static std::size_t LogCount(const std::string& needle) {
        return server_->LogLines(needle).size();
    }
    // The first log line with needle after the `before` there were.
    static std::string AwaitLogLine(const std::string& needle, std::size_t before) {
        std::vector<std::string> lines = AwaitLogLines(needle, before);
        return lines.size() > before ? lines[before] : std::string();
    }
};

constexpr std::int32_t kUnit = 1012;       // a seeded unit with every file
constexpr std::int32_t kResetUnit = 1082;  // a seeded unit without an instruction file

TEST_F(SessionServerTest, EveryDownloadBringsTheStoredData) {
    struct Case {
        ServerCommand command;
        const char* file;
    };
    for (Case c : {Case{ServerCommand::GetInstructionFile, "instructions.txt"},
                   Case{ServerCommand::GetPlaylistInfo, "playlist.txt"},
                   Case{ServerCommand::GetRuntimeReport, "runtime.txt"},
                   Case{ServerCommand::GetUnitInfo, "info.txt"}}) {
        SCOPED_TRACE(c.file);
        FetchResult result = FetchPayload(AdminAccess(), c.command, kUnit);
        ASSERT_EQ(result.outcome, FetchOutcome::Ok);
        EXPECT_FALSE(result.payload.empty());
        EXPECT_EQ(result.Text(), ReadFileBytes(UnitFile(kUnit, c.file)));
    }
    FetchResult owners = FetchPayload(AdminAccess(), ServerCommand::GetOwnerMap, kNoUnit);
    ASSERT_EQ(owners.outcome, FetchOutcome::Ok);
    EXPECT_EQ(owners.Text(), ReadFileBytes(server_->DataDir() + "/owners.txt"));
}

TEST_F(SessionServerTest, TimingWordsMatchTheUnitsRecord) {
    FetchResult result = FetchPayload(AdminAccess(), ServerCommand::GetTimingInfo, kUnit);
    ASSERT_EQ(result.outcome, FetchOutcome::Ok);
    ASSERT_GE(result.payload.size(), 20u);
    cpConfig record = cpConfig::FromText(ReadFileBytes(UnitFile(kUnit, "timing.txt")));
    TimingInfo info = ReadTimingInfo(result.payload);
    EXPECT_EQ(std::to_string(info.LastCallIn()), record.Get("last"));
    EXPECT_EQ(std::to_string(info.NextCallIn()), record.Get("next"));
    EXPECT_NE(info.LastCallIn(), 0);
}

TEST_F(SessionServerTest, UploadsRoundTrip) {
    std::string instructions =
        "0\tC:\\Media\\caf\xe9.mpg\t30\t0123456789abcdef0123456789abcdef\t1024\tAll\tloop\t\t\t0\t"
        "\r\n4\tcrawl\tHello\r\n";
    ASSERT_TRUE(
        StorePayload(AdminAccess(), ServerCommand::PutInstructionFile, kUnit, instructions));
    FetchResult back = FetchPayload(OperatorAccess(), ServerCommand::GetInstructionFile, kUnit);
    ASSERT_EQ(back.outcome, FetchOutcome::Ok);
    EXPECT_EQ(back.Text(), instructions);

    std::string owners = "1012=Harbor\n1017=Other Owner\n";
    ASSERT_TRUE(StorePayload(AdminAccess(), ServerCommand::PutOwnerMap, kNoUnit, owners));
    EXPECT_EQ(FetchPayload(AdminAccess(), ServerCommand::GetOwnerMap, kNoUnit).Text(), owners);
}

TEST_F(SessionServerTest, AnUploadTheServerDoesNotAnswerFails) {
    ASSERT_TRUE(server_->SetFaults({"refuse-upload"}));
    EXPECT_FALSE(StorePayload(testing::WithLimits(AdminAccess(), 1s), ServerCommand::PutOwnerMap,
                              kNoUnit, "1012=X\n"));
    // A slow reply within the limit is still a reply.
    ASSERT_TRUE(server_->SetFaults({"stall-reply=1"}));
    EXPECT_TRUE(StorePayload(testing::WithLimits(AdminAccess(), 3s), ServerCommand::PutOwnerMap,
                             kNoUnit, "1012=Y\n"));
}

TEST_F(SessionServerTest, MediaIsQueriedAndUploadedByDigest) {
    std::mt19937 random(static_cast<unsigned>(server_->Port()));
    Bytes content = testing::RandomBytes(random, 4097);  // pieces of 4096 and 1
    testing::TempDir dir;
    std::string path = dir.File("clip.mpg");
    ASSERT_TRUE(testing::WriteFileBytes(path, std::string(content.begin(), content.end())));
    Md5Digest digest = Md5Buffer(content);

    EXPECT_EQ(MediaOnServer(AdminAccess(), digest), std::optional<bool>(false));
    std::vector<std::pair<std::uint64_t, std::uint64_t>> reports;
    ASSERT_TRUE(
        PutMediaFile(AdminAccess(), digest, path, [&](std::uint64_t done, std::uint64_t all) {
            reports.emplace_back(done, all);
            return false;
        }));
    EXPECT_EQ(reports.size(), 3u);
    EXPECT_EQ(MediaOnServer(AdminAccess(), digest), std::optional<bool>(true));
    EXPECT_EQ(ReadFileBytes(server_->DataDir() + "/media/" + HexEncode(digest)),
              std::string(content.begin(), content.end()));

    // The server checks the bytes against the digest of the login.
    Md5Digest wrong = digest;
    wrong[0] ^= 1;
    EXPECT_FALSE(PutMediaFile(AdminAccess(), wrong, path));  // not stored: it does not answer
    EXPECT_EQ(MediaOnServer(AdminAccess(), wrong), std::optional<bool>(false));
}

TEST_F(SessionServerTest, TwoLoginsForTheSameRequestGetDifferentKeys) {
    std::vector<AesKey> keys;
    for (int i = 0; i < 2; ++i) {
        Socket socket = OpenServerConnection(server_->Address());
        ASSERT_TRUE(socket.Valid());
        std::optional<AesKey> key =
            SendLogin(socket, AdminAccess(), ServerCommand::GetInstructionFile, kUnit);
        ASSERT_TRUE(key.has_value());
        // The server took this key: the body opens under it.
        EXPECT_EQ(ReceiveDownload(socket, *key).outcome, FetchOutcome::Ok);
        keys.push_back(*key);
    }
    EXPECT_NE(keys[0], keys[1]);
}

// Closing with the greeting unread may reach the server as a reset rather
// than an orderly close; either way it ends waiting for the login block.
TEST_F(SessionServerTest, AnOverlongNameClosesWithoutALoginBlock) {
    const std::string closed = ":login-block ";
    std::size_t before = LogCount(closed);
    ServerAccess access = AdminAccess();
    access.loginName = std::string(24, 'n');
    EXPECT_EQ(FetchPayload(access, ServerCommand::GetUnitList, kNoUnit).outcome,
              FetchOutcome::Failed);
    std::string line = AwaitLogLine(closed, before);
    EXPECT_NE(line.find("bytes-in=0 "), std::string::npos) << line;
    access = AdminAccess();
    access.password = std::string(24, 'p');
    EXPECT_FALSE(StorePayload(access, ServerCommand::PutOwnerMap, kNoUnit, "1=x\n"));
    line = AwaitLogLine(closed, before + 1);
    EXPECT_NE(line.find("bytes-in=0 "), std::string::npos) << line;
}

TEST_F(SessionServerTest, AGreetingThatNeverComes) {
    ASSERT_TRUE(server_->SetFaults({"close-before-nonce"}));
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(FetchPayload(testing::WithLimits(AdminAccess(), testing::kLongLimit),
                           ServerCommand::GetUnitList, kNoUnit)
                  .outcome,
              FetchOutcome::Failed);
    EXPECT_LT(SecondsSince(start), testing::kWellBeforeTheLongLimit);

    ASSERT_TRUE(server_->SetFaults({"no-nonce=10"}));
    start = std::chrono::steady_clock::now();
    EXPECT_EQ(
        FetchPayload(testing::WithLimits(AdminAccess(), 1s), ServerCommand::GetUnitList, kNoUnit)
            .outcome,
        FetchOutcome::Failed);
    double elapsed = SecondsSince(start);
    EXPECT_GE(elapsed, 1.0);
    EXPECT_LT(elapsed, 3.0);
}

// Each failure carries its cause for the operator, and its kind, which the
// status bar names.
TEST_F(SessionServerTest, AFailureSaysWhy) {
    ServerAccess nobody = AdminAccess();
    nobody.host = "127.0.0.1:1";
    const FetchResult away = FetchPayload(nobody, ServerCommand::GetUnitList, kNoUnit);
    EXPECT_EQ(away.cause, "Connection refused by 127.0.0.1:1");
    EXPECT_EQ(FaultSummary(away.fault, nobody.host), "Connection refused by 127.0.0.1:1");

    ServerAccess wrong = AdminAccess();
    wrong.password += "x";
    FetchResult refused = FetchPayload(wrong, ServerCommand::GetUnitList, kNoUnit);
    EXPECT_EQ(refused.outcome, FetchOutcome::Failed);
    EXPECT_EQ(refused.cause, "The server refused the login name or password");
    EXPECT_EQ(FaultSummary(refused.fault, wrong.host), "Login refused");

    ASSERT_TRUE(server_->SetFaults({"status-1"}));
    const FetchResult status = FetchPayload(AdminAccess(), ServerCommand::GetUnitList, kNoUnit);
    EXPECT_EQ(status.cause, "The server answered with status 1");
    EXPECT_FALSE(KeepsServerAway(status.fault));

    ASSERT_TRUE(server_->SetFaults({"no-nonce=10"}));
    std::string cause;
    EXPECT_FALSE(StorePayload(testing::WithLimits(AdminAccess(), 1s), ServerCommand::PutOwnerMap,
                              kNoUnit, "1=x\n", cause));
    EXPECT_EQ(cause, "No answer within 1 second");
}

// bytes-in in the log counts what the controller sent: 129 is the login
// block alone, 133 the login block and one answer word.
TEST_F(SessionServerTest, RefusalsAndAbsenceAndWhatIsSentBack) {
    // Each case asks for its own unit, so its log line is told apart.
    auto fetch = [](const char* fault, std::int32_t unit, std::string& line) {
        EXPECT_TRUE(server_->SetFaults(fault[0] ? std::vector<std::string>{fault}
                                                : std::vector<std::string>{}));
        std::string needle = "name=GetInstructionFile unit=" + std::to_string(unit) + " ";
        std::size_t before = LogCount(needle);
        FetchResult result = FetchPayload(AdminAccess(), ServerCommand::GetInstructionFile, unit);
        line = AwaitLogLine(needle, before);
        return result;
    };
    std::string line;
    EXPECT_EQ(fetch("status-1", 1017, line).outcome, FetchOutcome::Failed);
    EXPECT_NE(line.find("bytes-in=129 "), std::string::npos) << line;

    EXPECT_EQ(fetch("", kResetUnit, line).outcome, FetchOutcome::Absent);
    EXPECT_NE(line.find("outcome=absent "), std::string::npos) << line;
    EXPECT_NE(line.find("bytes-in=133 "), std::string::npos) << line;

    EXPECT_EQ(fetch("absent", 1023, line).outcome, FetchOutcome::Absent);
    EXPECT_NE(line.find("outcome=absent "), std::string::npos) << line;

    FetchResult bad = fetch("bad-envelope", 1024, line);
    EXPECT_EQ(bad.outcome, FetchOutcome::Undecryptable);
    EXPECT_TRUE(bad.payload.empty());
    EXPECT_NE(line.find("bytes-in=129 "), std::string::npos) << line;

    EXPECT_EQ(fetch("oversize", 1031, line).outcome, FetchOutcome::Failed);
    EXPECT_NE(line.find("bytes-in=129 "), std::string::npos) << line;

    FetchResult cut = fetch("cut-body", 1046, line);
    EXPECT_EQ(cut.outcome, FetchOutcome::Failed);
    EXPECT_TRUE(cut.payload.empty());
    EXPECT_NE(line.find("bytes-in=129 "), std::string::npos) << line;
}

TEST_F(SessionServerTest, ANameStoredWithCapitalsLogsInOnALaterStart) {
    std::string typed = server_->Operator().login;
    typed[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(typed[0])));
    ASSERT_NE(typed, server_->Operator().login);
    testing::MemoryLoginStore store;
    store.values = {{"Distribution_Server", server_->Address()},
                    {"Distribution_Username", typed},
                    {"Distribution_Userpass", server_->Operator().password},
                    {"Distribution_Userpass_Remember", "1"}};
    LoginSettings restarted(store, server_->KeyFile());
    FetchResult result = FetchPayload(restarted.Access(), ServerCommand::GetOwnerMap, kNoUnit);
    EXPECT_EQ(result.outcome, FetchOutcome::Ok);
    EXPECT_EQ(store.Value("Distribution_Username"), typed);
}

TEST_F(SessionServerTest, TheLargestBodyIsAccepted) {
    // An envelope of exactly 20,000,000 bytes: 16 * floor(n / 16) + 48.
    std::string record(kMaxDownloadLength - 48, 'x');
    record.replace(0, 6, "notes=");
    ASSERT_TRUE(testing::WriteFileBytes(UnitFile(kUnit, "info.txt"), record));
    ASSERT_EQ(EnvelopeLength(record.size()), kMaxDownloadLength);
    FetchResult result = FetchPayload(AdminAccess(), ServerCommand::GetUnitInfo, kUnit);
    ASSERT_EQ(result.outcome, FetchOutcome::Ok);
    EXPECT_EQ(result.payload.size(), record.size());
    EXPECT_TRUE(result.Text() == record);
}

TEST_F(SessionServerTest, AStallInsideTheBodyCountsAgainstItsPiece) {
    std::string record = "notes=" + std::string(20'000, 'n');  // several pieces
    ASSERT_TRUE(testing::WriteFileBytes(UnitFile(kUnit, "info.txt"), record));
    const ServerAccess access = testing::WithLimits(AdminAccess(), 2s);
    ASSERT_TRUE(server_->SetFaults({"stall-during-body=1"}));
    EXPECT_EQ(FetchPayload(access, ServerCommand::GetUnitInfo, kUnit).Text(), record);
    ASSERT_TRUE(server_->SetFaults({"stall-during-body=4"}));
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(FetchPayload(access, ServerCommand::GetUnitInfo, kUnit).outcome,
              FetchOutcome::Failed);
    EXPECT_LT(SecondsSince(start), 3.5);
}

TEST_F(SessionServerTest, HostsByNameByDottedAddressAndUnknown) {
    std::string port = std::to_string(server_->Port());
    EXPECT_TRUE(FetchPayload({"127.0.0.1:" + port, AdminAccess().loginName, AdminAccess().password,
                              server_->KeyFile()},
                             ServerCommand::GetOwnerMap, kNoUnit)
                    .Ok());
    std::optional<Ipv4Address> local = LookUpHostName("localhost");
    if (local && local->ToText() == "127.0.0.1") {
        EXPECT_TRUE(FetchPayload({"localhost:" + port, AdminAccess().loginName,
                                  AdminAccess().password, server_->KeyFile()},
                                 ServerCommand::GetOwnerMap, kNoUnit)
                        .Ok());
    }
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(FetchPayload({"no-such-host.invalid:" + port, AdminAccess().loginName,
                            AdminAccess().password, server_->KeyFile()},
                           ServerCommand::GetOwnerMap, kNoUnit)
                  .outcome,
              FetchOutcome::Failed);
    EXPECT_LT(SecondsSince(start), 5.0);
}

}  // namespace
}  // namespace vantic
