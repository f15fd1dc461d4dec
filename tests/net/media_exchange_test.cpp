#include "net/media_exchange.h"

#include <gtest/gtest.h>

#include <random>
#include <thread>
#include <utility>
#include <vector>

#include "tests/net/reference.h"
#include "tests/net/wire_peer.h"

namespace vantic {
namespace {

using namespace std::chrono_literals;
using Report = std::pair<std::uint64_t, std::uint64_t>;

class SendFileTest : public ::testing::Test {
  protected:
    std::string WriteFile(const Bytes& bytes) {
        std::string path = dir_.File("clip.mpg");
        EXPECT_TRUE(testing::WriteFileBytes(path, std::string(bytes.begin(), bytes.end())));
        return path;
    }
    ByteProgress Recorder() {
        return [this](std::uint64_t done, std::uint64_t total) {
            reports_.emplace_back(done, total);
            return false;
        };
    }

    testing::TempDir dir_;
    testing::SocketPair pair_;
    std::vector<Report> reports_;
};

TEST_F(SendFileTest, SendsPiecesOf4096AndReportsAfterEach) {
    std::mt19937 random(4097);
    Bytes bytes = testing::RandomBytes(random, 4097);
    std::string path = WriteFile(bytes);
    EXPECT_TRUE(SendFile(pair_.Client(), path, 1s, Recorder()));
    EXPECT_EQ(testing::PeerRead(pair_.Peer(), 4097), bytes);
    EXPECT_EQ(reports_, (std::vector<Report>{{0, 4097}, {4096, 4097}, {4097, 4097}}));
}

TEST_F(SendFileTest, AnEmptyFileReportsOnceAndSendsNothing) {
    std::string path = WriteFile({});
    EXPECT_TRUE(SendFile(pair_.Client(), path, 1s, Recorder()));
    EXPECT_EQ(reports_, (std::vector<Report>{{0, 0}}));
    pair_.CloseClient();
    EXPECT_TRUE(testing::PeerReadToEnd(pair_.Peer()).empty());
}

TEST_F(SendFileTest, ACancelOrAMissingFileEndsTheSending) {
    std::string path = WriteFile(Bytes(10'000, 9));
    auto cancelAfterFirstPiece = [](std::uint64_t done, std::uint64_t) { return done >= 4096; };
    EXPECT_FALSE(SendFile(pair_.Client(), path, 1s, cancelAfterFirstPiece));
    EXPECT_FALSE(SendFile(pair_.Client(), dir_.File("missing.mpg"), 1s, Recorder()));
    EXPECT_TRUE(reports_.empty());
    pair_.CloseClient();
    EXPECT_EQ(testing::PeerReadToEnd(pair_.Peer()).size(), 4096u);
}

}  // namespace
}  // namespace vantic
