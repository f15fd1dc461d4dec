// The vantic-server program as scripts and the controller's tests use it:
// through tests/support/server_runner.h.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <thread>

#include "net/envelope.h"
#include "net/hex.h"
#include "tests/server/wire_client.h"
#include "tests/support/server_runner.h"

namespace vantic::testing {
namespace {

WireClient AdminOf(const ServerRunner& server) {
    return WireClient(server.Host(), server.Port(), server.KeyFile(), server.Administrator().login,
                      server.Administrator().password, 5);
}

// Output and exit status of a shell command (bounded by timeout(1)).
std::pair<std::string, int> RunCommand(const std::string& command) {
    std::string output;
    std::FILE* pipe = ::popen(("timeout 20 " + command + " 2>&1").c_str(), "r");
    if (pipe == nullptr) {
        return {"", -1};
    }
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
        output.append(buffer, n);
    }
    int status = ::pclose(pipe);
    return {output, WIFEXITED(status) ? WEXITSTATUS(status) : -1};
}

std::vector<std::string> PartialFiles(const std::string& dataDir) {
    std::vector<std::string> found;
    for (const auto& item : std::filesystem::recursive_directory_iterator(dataDir)) {
        if (item.path().extension() == ".partial") {
            found.push_back(item.path().string());
        }
    }
    return found;
}

TEST(ServerProgram, HelpDocumentsEveryOptionAndFaultMode) {
    auto [help, status] = RunCommand(ServerBinary() + " --help");
    EXPECT_EQ(status, 0);
    for (const char* word : {"seed-demo DIR",
                             "serve",
                             "--data",
                             "--listen",
                             "--simulate",
                             "--fault",
                             "--fault-file",
                             "--log",
                             "--piece-timeout",
                             "--media-timeout",
                             "--workers",
                             "account add LOGIN",
                             "account passwd LOGIN",
                             "default /var/lib/vantic-server",
                             "--units",
                             "--hash-iterations",
                             "no-nonce",
                             "close-before-nonce",
                             "status-1",
                             "oversize",
                             "bad-envelope",
                             "absent",
                             "cut-body",
                             "stall-before-body",
                             "stall-during-body",
                             "refuse-upload",
                             "stall-reply"}) {
        EXPECT_NE(help.find(word), std::string::npos) << word;
    }
    EXPECT_NE(RunCommand(ServerBinary() + " serve").second, 0);
}

TEST(ServerProgram, ServesTheSeededVenueAndStopsCleanly) {
    ServerRunner server;
    ASSERT_TRUE(server.Ok()) << server.Error();
    EXPECT_TRUE(std::filesystem::exists(server.DataDir() + "/server.key"));
    EXPECT_EQ(server.Operator().login, "operator");
    EXPECT_EQ(server.Administrator().login, "sovra");

    WireClient admin = AdminOf(server);
    Download list = admin.Fetch(17, -1);
    ASSERT_EQ(list.kind, Download::Kind::Payload);
    EXPECT_NE(list.payload.find("1012\t[Harbor Mall] food court\t"), std::string::npos);

    // A second server on the same directory is turned away.
    auto [output, status] =
        RunCommand(ServerBinary() + " serve --listen 127.0.0.1:0 --data " + server.DataDir());
    EXPECT_NE(status, 0);
    EXPECT_NE(output.find("in use"), std::string::npos) << output;

    EXPECT_TRUE(server.Stop()) << server.ErrorOutput();
    EXPECT_EQ(server.LogLines("login=sovra command=17 name=GetUnitList").size(), 1u);
    EXPECT_EQ(server.LogLines("event=stop").size(), 1u);
}

TEST(ServerProgram, SeedDemoRefusesAnExistingVenue) {
    ServerRunner server;
    ASSERT_TRUE(server.Ok()) << server.Error();
    auto [output, status] = RunCommand(ServerBinary() + " seed-demo " + server.DataDir());
    EXPECT_NE(status, 0);
    EXPECT_EQ(output.find("account "), std::string::npos);
}

TEST(ServerProgram, ControlFileSwitchesFaultsOfARunningServer) {
    ServerRunner server;
    ASSERT_TRUE(server.Ok()) << server.Error();
    WireClient admin = AdminOf(server);
    ASSERT_TRUE(server.SetFaults({"absent@2"}));
    EXPECT_EQ(admin.Fetch(2, 1012).kind, Download::Kind::Absent);
    EXPECT_EQ(admin.Fetch(3, 1012).kind, Download::Kind::Payload);
    ASSERT_TRUE(server.SetFaults({}));
    EXPECT_EQ(admin.Fetch(2, 1012).kind, Download::Kind::Payload);
}

TEST(ServerProgram, StopsPromptlyWhileAClientIsStalled) {
    ServerRunnerOptions options;
    options.faults = {"stall-before-body=60"};
    ServerRunner server(options);
    ASSERT_TRUE(server.Ok()) << server.Error();
    WireClient admin = AdminOf(server);
    std::optional<WireClient::Session> session = admin.Login(17, -1);
    ASSERT_TRUE(session);
    ASSERT_TRUE(session->socket.ReceiveWord(5));  // the header came; the body waits
    const auto began = std::chrono::steady_clock::now();
    EXPECT_TRUE(server.Stop()) << server.ErrorOutput();
    EXPECT_LT(std::chrono::steady_clock::now() - began, std::chrono::seconds(8));
}

TEST(ServerProgram, AKilledServerLeavesNoPartialFileAndRestartsWithItsData) {
    ServerRunner server;
    ASSERT_TRUE(server.Ok()) << server.Error();
    WireClient admin = AdminOf(server);
    const std::string instructions = admin.Fetch(2, 1012).payload;
    ASSERT_FALSE(instructions.empty());
    const std::string owners = admin.Fetch(18, -1).payload;

    const std::string media(3000000, '\x7e');
    const Md5Digest digest = DigestOf(media);
    std::optional<WireClient::Session> upload = admin.Login(7, -1, &digest);
    ASSERT_TRUE(upload);
    ASSERT_TRUE(upload->socket.SendAll(WordText(3000000) + WordText(0) + media.substr(0, 1000000)));

    std::optional<WireClient::Session> replace = admin.Login(8, 1012);
    ASSERT_TRUE(replace);
    const Bytes envelope = SealPayload(AsBytes(std::string(20000, 'x')), replace->key);
    ASSERT_TRUE(replace->socket.SendAll(WordText(static_cast<std::uint32_t>(envelope.size())) +
                                        WordText(0) +
                                        std::string(envelope.begin(), envelope.begin() + 9000)));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));  // let the bytes land

    server.Kill();
    const std::string mediaPath = server.DataDir() + "/media/" + HexEncode(ByteView(digest));
    EXPECT_FALSE(std::filesystem::exists(mediaPath));
    EXPECT_EQ(ReadFileBytes(server.DataDir() + "/units/1012/instructions.txt"), instructions);

    ASSERT_TRUE(server.Restart()) << server.Error();
    EXPECT_TRUE(PartialFiles(server.DataDir()).empty());
    admin = AdminOf(server);
    EXPECT_EQ(admin.Fetch(2, 1012).payload, instructions);
    EXPECT_EQ(admin.Fetch(18, -1).payload, owners);
    EXPECT_EQ(admin.Query(digest), 0u);
    EXPECT_EQ(admin.PutMedia(digest, media), 0u);
    EXPECT_EQ(ReadFileBytes(mediaPath), media);
}

}  // namespace
}  // namespace vantic::testing
