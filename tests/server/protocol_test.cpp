// The server's commands, exercised over TCP by a client written from the
// wire formats.

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "core/cpstring.h"
#include "net/envelope.h"
#include "net/hex.h"
#include "net/rsa.h"
#include "tests/server/live_server.h"

namespace vantic::testing {
namespace {

constexpr std::int32_t kHarborFoodCourt = 1012;    // the operator sees it
constexpr std::int32_t kClinicWaitingRoom = 1024;  // the operator does not
constexpr std::int32_t kResetUnit = 1082;          // no instruction file yet

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

std::vector<std::string> Fields(const std::string& line) {
    std::vector<std::string> fields;
    std::size_t from = 0;
    for (std::size_t tab; (tab = line.find('\t', from)) != std::string::npos; from = tab + 1) {
        fields.push_back(line.substr(from, tab - from));
    }
    fields.push_back(line.substr(from));
    return fields;
}

std::string LineOfUnit(const std::string& list, std::int32_t unit) {
    for (const std::string& line : Lines(list)) {
        if (line.starts_with(std::to_string(unit) + "\t")) {
            return line;
        }
    }
    return "";
}

std::uint32_t WordAt(const std::string& bytes, std::size_t index) {
    const auto* b = reinterpret_cast<const unsigned char*>(bytes.data() + 4 * index);
    return (std::uint32_t{b[0]} << 24) | (std::uint32_t{b[1]} << 16) | (std::uint32_t{b[2]} << 8) |
           b[3];
}

class ServerProtocol : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(server_.Ok()) << server_.Error(); }

    std::string StoredFile(const std::string& relative) {
        return ReadFileBytes(server_.DataDir() + "/" + relative);
    }

    LiveServer server_;
};

TEST_F(ServerProtocol, UnitListShowsEachAccountItsUnits) {
    Download all = server_.AdminClient().Fetch(17, -1);
    ASSERT_EQ(all.kind, Download::Kind::Payload);
    std::vector<std::string> lines = Lines(all.payload);
    EXPECT_EQ(lines.size(), 12u);
    for (const std::string& line : lines) {
        EXPECT_EQ(Fields(line).size(), 5u) << line;
    }
    std::vector<std::string> food = Fields(LineOfUnit(all.payload, kHarborFoodCourt));
    ASSERT_EQ(food.size(), 5u);
    EXPECT_EQ(food[1], "[Harbor Mall] food court");
    EXPECT_EQ(food[2], "OK");
    for (const char* status : {"Late Calling In", "Check Network Connection", "Factory Defaults"}) {
        EXPECT_NE(all.payload.find(std::string("\t") + status + "\t"), std::string::npos) << status;
    }

    Download mine = server_.OperatorClient().Fetch(17, -1);
    ASSERT_EQ(mine.kind, Download::Kind::Payload);
    EXPECT_EQ(Lines(mine.payload).size(), server_.Operator().units.size());
    EXPECT_FALSE(LineOfUnit(mine.payload, kHarborFoodCourt).empty());
    EXPECT_TRUE(LineOfUnit(mine.payload, kClinicWaitingRoom).empty());
}

TEST_F(ServerProtocol, UnitDownloadsServeTheStoredFiles) {
    WireClient client = server_.AdminClient();
    const std::string unitDir = "units/" + std::to_string(kHarborFoodCourt) + "/";
    const std::pair<std::int32_t, const char*> files[] = {
        {2, "instructions.txt"}, {3, "playlist.txt"}, {4, "runtime.txt"}, {6, "info.txt"}};
    for (const auto& [command, file] : files) {
        Download got = client.Fetch(command, kHarborFoodCourt);
        ASSERT_EQ(got.kind, Download::Kind::Payload) << "command " << command;
        EXPECT_EQ(got.payload, StoredFile(unitDir + file)) << "command " << command;
        EXPECT_FALSE(got.payload.empty());
    }
    EXPECT_NE(client.Fetch(6, kHarborFoodCourt).payload.find("notes=[Harbor Mall] food court\n"),
              std::string::npos);

    Download timing = client.Fetch(5, kHarborFoodCourt);
    ASSERT_EQ(timing.kind, Download::Kind::Payload);
    ASSERT_EQ(timing.payload.size(), 20u);
    const auto now = static_cast<std::uint32_t>(std::time(nullptr));
    const std::uint32_t last = WordAt(timing.payload, 1);
    EXPECT_LE(last, now);
    EXPECT_GT(last, now - 86400);
    EXPECT_EQ(WordAt(timing.payload, 4), last + WordAt(timing.payload, 2));
    EXPECT_EQ(server_.AwaitLog({"command=5", "unit=1012", "outcome=sent"}).size(), 1u);
}

TEST_F(ServerProtocol, NothingStoredIsAbsentAndOtherUnitsAreRefused) {
    WireClient admin = server_.AdminClient();
    EXPECT_EQ(admin.Fetch(2, kResetUnit).kind, Download::Kind::Absent);
    EXPECT_EQ(admin.Fetch(4, kResetUnit).kind, Download::Kind::Absent);
    EXPECT_EQ(admin.Fetch(2, 999999).kind, Download::Kind::Absent);
    // The client acknowledged with 0xFFFFFFFF, and the server saw it.
    EXPECT_EQ(server_.AwaitLog({"unit=1082", "outcome=absent "}, 2).size(), 2u);

    WireClient operatorClient = server_.OperatorClient();
    for (std::int32_t command : {2, 3, 4, 5, 6}) {
        Download refused = operatorClient.Fetch(command, kClinicWaitingRoom);
        EXPECT_EQ(refused.kind, Download::Kind::Refused) << "command " << command;
        EXPECT_EQ(refused.status, 1);
    }
    EXPECT_EQ(operatorClient.Fetch(2, kHarborFoodCourt).kind, Download::Kind::Payload);
}

TEST_F(ServerProtocol, InstructionFileUploadIsStoredByteForByte) {
    WireClient client = server_.OperatorClient();
    const std::string text =
        "0\tC:\\Media\\caf\xe9\\men\xfc.jpg\t10.000000\t0123456789abcdef0123456789abcdef\t"
        "12 KB\tAll\tloop\tNone\tNone\tA\tnotes \xa9 \xff\n"
        "4\tnotes\t[Harbor Mall] food court \xe9t\xe9";
    EXPECT_EQ(client.Store(8, kHarborFoodCourt, text), 0u);
    EXPECT_EQ(client.Fetch(2, kHarborFoodCourt).payload, text);
    EXPECT_EQ(StoredFile("units/1012/instructions.txt"), text);
    EXPECT_EQ(server_.AwaitLog({"login=operator", "command=8", "outcome=stored"}).size(), 1u);

    // An empty file is a file: it comes back as an empty payload, not absent.
    EXPECT_EQ(client.Store(8, kHarborFoodCourt, ""), 0u);
    Download empty = client.Fetch(2, kHarborFoodCourt);
    EXPECT_EQ(empty.kind, Download::Kind::Payload);
    EXPECT_EQ(empty.length, 48u);
    EXPECT_EQ(empty.payload, "");
}

TEST_F(ServerProtocol, InstructionUploadsThatWouldBreakAUnitAreRefused) {
    const std::string before = StoredFile("units/1012/instructions.txt");
    WireClient admin = server_.AdminClient();
    EXPECT_EQ(admin.Store(8, kHarborFoodCourt, "0\tonly\tfive\tfields\there"), 1u);
    EXPECT_EQ(admin.Store(8, kHarborFoodCourt, "4\tnotes\tok\n   \n"), 1u);
    EXPECT_EQ(StoredFile("units/1012/instructions.txt"), before);
    EXPECT_EQ(admin.Store(8, 999999, "4\tnotes\tx"), 1u);
    EXPECT_FALSE(FileExists(server_.DataDir() + "/units/999999/instructions.txt"));

    const std::string clinic = StoredFile("units/1024/instructions.txt");
    EXPECT_EQ(server_.OperatorClient().Store(8, kClinicWaitingRoom, "4\tnotes\tmine now"), 1u);
    EXPECT_EQ(StoredFile("units/1024/instructions.txt"), clinic);
    EXPECT_EQ(server_.AwaitLog({"unit=1024", "outcome=refused:not-permitted"}).size(), 1u);
}

TEST_F(ServerProtocol, OwnerTableRoundTripsAndShowsInTheUnitList) {
    WireClient admin = server_.AdminClient();
    Download table = admin.Fetch(18, -1);
    ASSERT_EQ(table.kind, Download::Kind::Payload);
    EXPECT_NE(table.payload.find("1012=Harbor Mall\n"), std::string::npos);

    const std::string changed = "1059=BakeryCo\n" + table.payload;
    EXPECT_EQ(admin.Store(19, -1, changed), 0u);
    EXPECT_EQ(admin.Fetch(18, -1).payload, changed);
    EXPECT_EQ(Fields(LineOfUnit(admin.Fetch(17, -1).payload, 1059))[1],
              "[BakeryCo] Main St. bakery window");

    // Only an account that sees every unit may rewrite the table, and the
    // others read only the lines of their units.
    EXPECT_EQ(server_.OperatorClient().Store(19, -1, "1012=Me\n"), 1u);
    EXPECT_EQ(admin.Fetch(18, -1).payload, changed);
    const std::string mine = server_.OperatorClient().Fetch(18, -1).payload;
    EXPECT_TRUE(mine.starts_with("1059=BakeryCo\n1012=Harbor Mall\n")) << mine;
    EXPECT_EQ(mine.find("1024="), std::string::npos) << mine;
}

TEST_F(ServerProtocol, MediaIsStoredOnlyUnderItsOwnDigest) {
    std::string bytes;
    for (int i = 0; i < 10000; ++i) {
        bytes += static_cast<char>((i * 7919) & 0xFF);
    }
    const Md5Digest digest = DigestOf(bytes);
    const std::string path = server_.DataDir() + "/media/" + HexEncode(ByteView(digest));
    WireClient client = server_.OperatorClient();

    EXPECT_EQ(client.Query(digest), 0u);
    EXPECT_EQ(client.PutMedia(digest, bytes), 0u);
    EXPECT_EQ(client.Query(digest), 1u);
    EXPECT_EQ(ReadFileBytes(path), bytes);
    EXPECT_EQ(client.PutMedia(digest, bytes), 0u);
    EXPECT_EQ(server_.AwaitLog({"command=7", "outcome=already-held"}).size(), 1u);

    const Md5Digest other = DigestOf("something else");
    EXPECT_EQ(client.PutMedia(other, bytes), std::nullopt);  // not stored: no reply word
    EXPECT_FALSE(FileExists(server_.DataDir() + "/media/" + HexEncode(ByteView(other))));
    EXPECT_EQ(server_.AwaitLog({"command=7", "rejected:digest-mismatch"}).size(), 1u);
    EXPECT_EQ(client.Query(other), 0u);

    const Md5Digest nothing = DigestOf("");
    EXPECT_EQ(client.PutMedia(nothing, ""), 0u);
    EXPECT_EQ(client.Query(nothing), 1u);
}

// Bodies much larger than the server's receive buffers: the digest runs
// beside the receiving, and must still cover every byte in order.
TEST_F(ServerProtocol, LargeMediaIsDigestedWhole) {
    std::string bytes(3 * 1024 * 1024 + 4099, '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<char>((i * 2654435761u) >> 13);
    }
    const Md5Digest digest = DigestOf(bytes);
    WireClient client = server_.AdminClient();
    EXPECT_EQ(client.PutMedia(digest, bytes), 0u);
    EXPECT_EQ(ReadFileBytes(server_.DataDir() + "/media/" + HexEncode(ByteView(digest))), bytes);

    // One byte changed near the end is noticed, and the log names the
    // digest of what actually arrived.
    std::string changed = bytes;
    changed[changed.size() - 5000] ^= 1;
    EXPECT_EQ(client.PutMedia(DigestOf("announced"), changed), std::nullopt);
    EXPECT_EQ(server_
                  .AwaitLog({"command=7",
                             "rejected:digest-mismatch:" + HexEncode(ByteView(DigestOf(changed)))})
                  .size(),
              1u);
    EXPECT_EQ(client.Query(DigestOf("announced")), 0u);
}

TEST_F(ServerProtocol, AShortMediaBodyLeavesNoFile) {
    // Cut within the first receive buffer, and after several of them.
    const std::pair<std::size_t, std::size_t> cuts[] = {{50000, 9000}, {3000000, 1300000}};
    WireClient client = server_.AdminClient();
    for (const auto& [size, sent] : cuts) {
        const std::string bytes(size, 'v');
        const Md5Digest digest = DigestOf(bytes);
        {
            std::optional<WireClient::Session> session = client.Login(7, -1, &digest);
            ASSERT_TRUE(session);
            ASSERT_TRUE(session->socket.SendAll(WordText(static_cast<std::uint32_t>(size)) +
                                                WordText(0) + bytes.substr(0, sent)));
        }  // closes mid-body
        EXPECT_EQ(server_
                      .AwaitLog({"command=7", "outcome=peer-closed:body",
                                 "bytes-in=" + std::to_string(sent + 8 + 129)})
                      .size(),
                  1u);
        EXPECT_EQ(client.Query(digest), 0u);
    }
    std::vector<std::string> leftovers;
    for (const auto& item : std::filesystem::directory_iterator(server_.DataDir() + "/tmp")) {
        if (item.path().extension() != ".lock") {  // the store's and the accounts' locks
            leftovers.push_back(item.path().string());
        }
    }
    EXPECT_TRUE(leftovers.empty()) << leftovers.front();
}

// Sends a login block and reports whether the server hung up without
// sending anything more.
bool ServerHangsUp(LiveServer& server, const std::string& block) {
    WireSocket socket = ConnectTo("127.0.0.1", server.Port());
    std::optional<std::string> nonce = socket.Receive(16, 5);
    if (!nonce || !socket.SendAll(block)) {
        return false;
    }
    std::size_t received = 0;
    return socket.ClosedWithin(5, &received) && received == 0;
}

std::string SealedBlock(const std::string& record, const std::string& keyFile) {
    std::optional<Bytes> sealed = RsaSeal(AsBytes(record), keyFile);
    std::string block(129, '\0');
    block[0] = static_cast<char>(sealed ? sealed->size() : 0);
    if (sealed) {
        block.replace(1, sealed->size(), std::string(sealed->begin(), sealed->end()));
    }
    return block;
}

TEST_F(ServerProtocol, BadLoginsAreClosedAndLogged) {
    WireClient wrongPassword("127.0.0.1", server_.Port(), server_.KeyFile(), "sovra", "guess");
    EXPECT_EQ(wrongPassword.Fetch(17, -1).kind, Download::Kind::Failed);
    EXPECT_EQ(server_.AwaitLog({"login=sovra", "outcome=bad-login"}).size(), 1u);

    const std::string key(16, 'k');
    const std::string staleNonce(16, '\x01');
    EXPECT_TRUE(ServerHangsUp(
        server_, SealedBlock(LoginRecord(17, -1, nullptr, "sovra", server_.Administrator().password,
                                         staleNonce, key),
                             server_.KeyFile())));
    EXPECT_EQ(server_.AwaitLog({"outcome=wrong-nonce"}).size(), 1u);

    EXPECT_TRUE(ServerHangsUp(server_, std::string(129, '\x80')));
    std::string zeroLength(129, '\x55');
    zeroLength[0] = 0;
    EXPECT_TRUE(ServerHangsUp(server_, zeroLength));
    EXPECT_EQ(server_.AwaitLog({"outcome=bad-login-block"}, 2).size(), 2u);

    WireClient admin = server_.AdminClient();
    std::optional<WireClient::Session> unknown = admin.Login(1, -1);
    ASSERT_TRUE(unknown);
    EXPECT_TRUE(unknown->socket.ClosedWithin(5));
    EXPECT_EQ(server_.AwaitLog({"command=1 ", "outcome=unknown-command"}).size(), 1u);

    // None of it disturbed the server.
    EXPECT_EQ(admin.Fetch(17, -1).kind, Download::Kind::Payload);
}

TEST_F(ServerProtocol, MalformedUploadFramesAreDropped) {
    WireClient admin = server_.AdminClient();
    std::optional<WireClient::Session> session = admin.Login(19, -1);
    ASSERT_TRUE(session);
    ASSERT_TRUE(session->socket.SendAll(WordText(48) + WordText(7)));
    EXPECT_TRUE(session->socket.ClosedWithin(5));

    session = admin.Login(8, kHarborFoodCourt);
    ASSERT_TRUE(session);
    ASSERT_TRUE(session->socket.SendAll(WordText(20000001) + WordText(0)));
    EXPECT_TRUE(session->socket.ClosedWithin(5));
    EXPECT_EQ(server_.AwaitLog({"outcome=malformed-frame"}, 2).size(), 2u);

    // An envelope under another key is read in full and refused.
    session = admin.Login(19, -1);
    ASSERT_TRUE(session);
    AesKey wrong = session->key;
    wrong[3] ^= 1;
    const Bytes envelope = SealPayload(AsBytes(std::string("1012=Nobody\n")), wrong);
    ASSERT_TRUE(session->socket.SendAll(WordText(static_cast<std::uint32_t>(envelope.size())) +
                                        WordText(0) +
                                        std::string(envelope.begin(), envelope.end())));
    EXPECT_EQ(session->socket.ReceiveWord(5), 1u);
    EXPECT_EQ(server_.AwaitLog({"outcome=refused:undecryptable"}).size(), 1u);
    EXPECT_EQ(admin.Fetch(18, -1).payload.find("Nobody"), std::string::npos);
}

}  // namespace
}  // namespace vantic::testing
