// Every fault mode, as a client sees it on the wire.

#include <gtest/gtest.h>

#include "net/envelope.h"
#include "server/faults.h"
#include "tests/server/live_server.h"

namespace vantic::testing {
namespace {

using server::FaultMode;

TEST(FaultSpec, ReadsModeSecondsAndCommands) {
    std::string error;
    std::optional<server::Fault> fault = server::ParseFault("stall-during-body=7@2,17", error);
    ASSERT_TRUE(fault) << error;
    EXPECT_EQ(fault->mode, FaultMode::StallDuringBody);
    EXPECT_EQ(fault->seconds, 7);
    EXPECT_TRUE(fault->AppliesTo(2));
    EXPECT_FALSE(fault->AppliesTo(3));
    EXPECT_EQ(server::FaultName(*fault), "stall-during-body=7@2,17");

    fault = server::ParseFault("absent", error);
    ASSERT_TRUE(fault);
    EXPECT_TRUE(fault->AppliesTo(0) && fault->AppliesTo(19));

    for (const char* bad : {"", "absent=3", "stall-reply=x", "cut-body@", "cut-body@2,b",
                            "teleport", "stall-reply=-1"}) {
        EXPECT_FALSE(server::ParseFault(bad, error)) << bad;
        EXPECT_FALSE(error.empty());
    }
}

class ServerFaults : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(server_.Ok()) << server_.Error(); }

    // A logged-in download up to its reply header.
    struct Header {
        std::optional<WireClient::Session> session;
        std::uint32_t length = 0;
        std::uint32_t status = 0;
    };
    Header StartDownload(std::int32_t command, std::int32_t unit) {
        Header header;
        header.session = client_.Login(command, unit);
        if (!header.session) {
            return header;
        }
        std::optional<std::uint32_t> length = header.session->socket.ReceiveWord(5);
        std::optional<std::uint32_t> status = header.session->socket.ReceiveWord(5);
        header.length = length.value_or(0);
        header.status = status.value_or(0xDEAD);
        return header;
    }

    LiveServer server_;
    WireClient client_ = server_.AdminClient(5);
};

TEST_F(ServerFaults, ConnectionFaultsWithholdTheNonce) {
    ASSERT_TRUE(server_.SetFaults({"close-before-nonce"}));
    WireSocket closed = ConnectTo("127.0.0.1", server_.Port());
    std::size_t received = 0;
    EXPECT_TRUE(closed.ClosedWithin(5, &received));
    EXPECT_EQ(received, 0u);

    ASSERT_TRUE(server_.SetFaults({"no-nonce=20"}));
    WireSocket silent = ConnectTo("127.0.0.1", server_.Port());
    EXPECT_FALSE(silent.Receive(1, 1.0));
    silent.Close();  // the client gives up; the server lets go at once
    EXPECT_EQ(server_.AwaitLog({"outcome=no-nonce:peer-closed"}).size(), 1u);

    ASSERT_TRUE(server_.SetFaults({}));
    EXPECT_EQ(client_.Fetch(17, -1).kind, Download::Kind::Payload);
}

TEST_F(ServerFaults, HeaderFaultsEndDownloadsBeforeAnyBody) {
    ASSERT_TRUE(server_.SetFaults({"status-1@17"}));
    Download refused = client_.Fetch(17, -1);
    EXPECT_EQ(refused.kind, Download::Kind::Refused);
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(client_.Fetch(18, -1).kind, Download::Kind::Payload);  // not in the filter

    ASSERT_TRUE(server_.SetFaults({"oversize"}));
    Header oversize = StartDownload(2, 1012);
    ASSERT_TRUE(oversize.session);
    EXPECT_EQ(oversize.length, 20000001u);
    EXPECT_EQ(oversize.status, 0u);
    std::size_t body = 0;
    EXPECT_TRUE(oversize.session->socket.ClosedWithin(5, &body));
    EXPECT_EQ(body, 0u);

    ASSERT_TRUE(server_.SetFaults({"absent"}));
    EXPECT_EQ(client_.Fetch(17, -1).kind, Download::Kind::Absent);
    EXPECT_EQ(client_.Fetch(2, 1012).kind, Download::Kind::Absent);
    EXPECT_EQ(server_.AwaitLog({"outcome=absent ", "fault=absent"}, 2).size(), 2u);
}

TEST_F(ServerFaults, BodyFaultsSpoilOrCutTheBody) {
    ASSERT_TRUE(server_.SetFaults({"bad-envelope"}));
    Download spoiled = client_.Fetch(2, 1012);
    EXPECT_EQ(spoiled.kind, Download::Kind::Undecryptable);
    EXPECT_GE(spoiled.length, 48u);
    EXPECT_EQ(spoiled.length % 16, 0u);
    EXPECT_EQ(server_.AwaitLog({"fault=bad-envelope", "outcome=sent:no-ack"}).size(), 1u);

    ASSERT_TRUE(server_.SetFaults({"cut-body"}));
    Header cut = StartDownload(2, 1012);
    ASSERT_TRUE(cut.session);
    ASSERT_EQ(cut.status, 0u);
    std::size_t body = 0;
    EXPECT_TRUE(cut.session->socket.ClosedWithin(5, &body));
    EXPECT_EQ(body, cut.length / 2);
}

TEST_F(ServerFaults, StallsHoldTheBodyThenDeliverIt) {
    ASSERT_TRUE(server_.SetFaults({"stall-before-body=2"}));
    Header before = StartDownload(17, -1);
    ASSERT_TRUE(before.session);
    ASSERT_EQ(before.status, 0u);
    WireSocket& early = before.session->socket;
    EXPECT_FALSE(early.Receive(1, 1.0));  // nothing during the stall
    std::optional<std::string> body = early.Receive(before.length, 5);
    ASSERT_TRUE(body);
    EXPECT_TRUE(OpenPayload(AsBytes(*body), before.session->key));

    ASSERT_TRUE(server_.SetFaults({"stall-during-body=2"}));
    Header during = StartDownload(17, -1);
    ASSERT_TRUE(during.session);
    ASSERT_EQ(during.status, 0u);
    WireSocket& late = during.session->socket;
    std::optional<std::string> first = late.Receive(during.length / 2, 5);
    ASSERT_TRUE(first);
    EXPECT_FALSE(late.Receive(1, 1.0));
    std::optional<std::string> rest = late.Receive(during.length - during.length / 2, 5);
    ASSERT_TRUE(rest);
    EXPECT_TRUE(OpenPayload(AsBytes(*first + *rest), during.session->key));
}

TEST_F(ServerFaults, RefusedUploadsStoreNothingAndGetNoReply) {
    ASSERT_TRUE(server_.SetFaults({"refuse-upload"}));
    const std::string before = ReadFileBytes(server_.DataDir() + "/units/1012/instructions.txt");
    EXPECT_FALSE(client_.Store(8, 1012, "4\tnotes\trefused"));
    EXPECT_EQ(ReadFileBytes(server_.DataDir() + "/units/1012/instructions.txt"), before);
    const std::string media = "refused media";
    EXPECT_FALSE(client_.PutMedia(DigestOf(media), media));
    EXPECT_EQ(server_.AwaitLog({"outcome=refused:fault", "fault=refuse-upload"}, 2).size(), 2u);

    ASSERT_TRUE(server_.SetFaults({}));
    EXPECT_EQ(client_.Query(DigestOf(media)), 0u);
    EXPECT_EQ(client_.Store(8, 1012, "4\tnotes\taccepted"), 0u);
}

TEST_F(ServerFaults, StalledReplyWordArrivesLate) {
    ASSERT_TRUE(server_.SetFaults({"stall-reply=2@0"}));
    const Md5Digest digest = DigestOf("anything");
    std::optional<WireClient::Session> query = client_.Login(0, -1, &digest);
    ASSERT_TRUE(query);
    EXPECT_FALSE(query->socket.ReceiveWord(1.0));
    EXPECT_EQ(query->socket.ReceiveWord(5), 0u);
}

TEST(ServerFaultOptions, CommandLineFaultsApplyWithoutAControlFile) {
    server::ServeOptions options;
    std::string error;
    options.faults.push_back(*server::ParseFault("absent@6", error));
    LiveServer server(options);
    ASSERT_TRUE(server.Ok()) << server.Error();
    WireClient client = server.AdminClient(5);
    EXPECT_EQ(client.Fetch(6, 1012).kind, Download::Kind::Absent);
    EXPECT_EQ(client.Fetch(2, 1012).kind, Download::Kind::Payload);
}

}  // namespace
}  // namespace vantic::testing
