// UploadMedia against the reference server: what reaches the server (its
// connection log and media store), what the progress dialog is told, and
// what the operator is shown.

#include "net/upload_media.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <random>
#include <sstream>
#include <thread>

#include "net/hex.h"
#include "net/md5.h"
#include "net/media_exchange.h"
#include "tests/net/reference.h"
#include "tests/support/scripted_platform.h"
#include "tests/support/shared_server.h"

namespace vantic {
namespace {

using namespace std::chrono_literals;
using Events = std::vector<std::string>;

const WindowId kDialog = reinterpret_cast<WindowId>(0x115);

// A progress dialog that writes down every call. It is cancelled from the
// call whose event is `cancelAt` onwards, as a real one is once its Cancel
// button has been pressed.
// A clip as the upload sees it.
struct MediaClip {
    std::string path;
    std::string contentName;
};

class RecordingProgress final : public OperationProgress {
  public:
    bool Open(WindowId /*owner*/, ProgressLayout /*layout*/, std::uint32_t maximum) override {
        return Note("open " + std::to_string(maximum));
    }
    bool SetOverall(std::uint32_t position, std::uint32_t maximum) override {
        return Note("overall " + std::to_string(position) + " " + std::to_string(maximum));
    }
    bool StepOverall() override { return Note("step overall"); }
    bool StartItem(std::uint32_t itemMax) override {
        return Note("start item " + std::to_string(itemMax));
    }
    bool StartTransferItem(std::uint32_t itemMax) override {
        return Note("start transfer " + std::to_string(itemMax));
    }
    bool SetItem(std::uint32_t position, std::uint32_t maximum) override {
        return Note("item " + std::to_string(position) + " " + std::to_string(maximum));
    }
    bool StepItem() override { return Note("step item"); }
    bool FinishItem() override { return Note("finish"); }
    void SetLine(ProgressLine line, const std::string& text) override {
        Note((line == ProgressLine::Status ? "status " : "transfer ") + text);
    }
    void Close() override { Note("close"); }
    bool PumpMessages() override { return cancelled_; }
    [[nodiscard]] bool Cancelled() const override { return cancelled_; }
    [[nodiscard]] WindowId Dialog() const override { return kDialog; }

    std::string cancelAt;
    Events events;

  private:
    bool Note(std::string event) {
        cancelled_ = cancelled_ || event == cancelAt;
        events.push_back(std::move(event));
        return cancelled_;
    }
    bool cancelled_ = false;
};

// What the dialog hears about one file of `size` bytes whose digest is
// computed and which is then uploaded: the digest item, and the transfer
// item with a report before the first piece and after each of 4096 bytes.
Events DigestEvents(const std::string& name, std::uint64_t size) {
    Events events{"start item 100", "status Processing " + name};
    for (std::uint64_t done = 0;; done = std::min(done + kMd5FilePiece, size)) {
        events.push_back("item " + std::to_string(done) + " " + std::to_string(size));
        if (done == size) {
            break;
        }
    }
    events.push_back("finish");
    return events;
}

Events UploadEvents(const std::string& name, std::uint64_t size) {
    Events events{"start transfer 100", "status Uploading " + name};
    for (std::uint64_t done = 0;; done = std::min<std::uint64_t>(done + 4096, size)) {
        events.push_back("item " + std::to_string(done) + " " + std::to_string(size));
        if (done == size) {
            break;
        }
    }
    events.push_back("finish");
    return events;
}

Events Joined(Events first, const Events& second) {
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

class UploadMediaTest : public testing::SharedServerTest {
  protected:
    static ServerAccess Access() { return AdminAccess(); }

    // A clip whose file holds `size` fresh random bytes.
    MediaClip Clip(const std::string& name, std::size_t size) {
        Bytes bytes = testing::RandomBytes(random_, size);
        MediaClip clip;
        clip.path = dir_.File(name);
        EXPECT_TRUE(testing::WriteFileBytes(clip.path, std::string(bytes.begin(), bytes.end())));
        return clip;
    }
    static std::string DigestText(const std::string& path) {
        std::optional<Md5Digest> digest = Md5File(path);
        return digest ? HexEncode(*digest) : std::string();
    }
    static std::string Stored(const std::string& contentName) {
        return testing::ReadFileBytes(server_->DataDir() + "/media/" + contentName);
    }

    // The exchanges the server logged for a digest, as "COMMAND OUTCOME" in
    // sorted order, once at least `expected` are there and every earlier
    // connection has been logged, so that an extra one shows. A line is
    // written as a connection ends, which may be just after our side
    // returned, so the order of the lines of two quick connections is not
    // theirs.
    Events Exchanges(const std::string& contentName, std::size_t expected) {
        EXPECT_TRUE(testing::WaitUntil([&] { return Logged(contentName).size() >= expected; }));
        AwaitEarlierConnections();
        return Logged(contentName);
    }
    // Returns once the server has logged every connection made before: a
    // query for a digest no clip has, made now, is logged after them.
    void AwaitEarlierConnections() {
        Md5Digest marker;
        for (std::uint8_t& byte : marker) {
            byte = static_cast<std::uint8_t>(random_());
        }
        EXPECT_EQ(MediaOnServer(Access(), marker), std::optional<bool>(false));
        EXPECT_FALSE(AwaitLogLines("digest=" + HexEncode(marker), 0).empty());
    }

    bool Upload(MediaClip& clip, OperationProgress* progress) {
        return UploadMedia(Access(), platform_.Messages(), clip.path, clip.contentName, progress);
    }

    testing::ScriptedPlatform platform_;
    testing::TempDir dir_;
    std::mt19937 random_{std::random_device{}()};
    RecordingProgress progress_;

  private:
    static Events Logged(const std::string& contentName) {
        Events exchanges;
        for (const std::string& line : server_->LogLines("digest=" + contentName)) {
            std::string command, outcome;
            std::istringstream fields(line);
            for (std::string field; fields >> field;) {
                if (field.starts_with("command=")) {
                    command = field.substr(8);
                } else if (field.starts_with("outcome=")) {
                    outcome = field.substr(8);
                }
            }
            exchanges.push_back(command + " " + outcome);
        }
        std::sort(exchanges.begin(), exchanges.end());
        return exchanges;
    }
};

TEST_F(UploadMediaTest, AMissingFileIsUploadedOnceAndStoredUnderItsDigest) {
    MediaClip clip = Clip("clip.mpg", 4097);
    clip.contentName = "stale";
    const std::string digest = DigestText(clip.path);

    ASSERT_TRUE(Upload(clip, &progress_));
    EXPECT_EQ(clip.contentName, digest);
    EXPECT_EQ(progress_.events,
              Joined(DigestEvents("clip.mpg", 4097), UploadEvents("clip.mpg", 4097)));
    EXPECT_EQ(Exchanges(digest, 2), (Events{"0 not-held", "7 stored"}));
    // The server keeps exactly the local bytes, under the announced digest.
    const std::string stored = Stored(digest);
    EXPECT_EQ(stored, testing::ReadFileBytes(clip.path));
    EXPECT_EQ(HexEncode(Md5Buffer(
                  ByteView(reinterpret_cast<const std::uint8_t*>(stored.data()), stored.size()))),
              digest);

    // Held now: one short query, no upload, with or without a dialog.
    progress_.events.clear();
    ASSERT_TRUE(Upload(clip, &progress_));
    EXPECT_EQ(progress_.events, DigestEvents("clip.mpg", 4097));
    ASSERT_TRUE(Upload(clip, nullptr));
    EXPECT_EQ(Exchanges(digest, 4), (Events{"0 held", "0 held", "0 not-held", "7 stored"}));
    EXPECT_TRUE(platform_.ShownMessages().empty());
}

TEST_F(UploadMediaTest, AnEmptyFileIsSentAsSizeZeroWithOneReport) {
    MediaClip clip = Clip("empty.mpg", 0);
    const std::string digest = DigestText(clip.path);
    ASSERT_TRUE(Upload(clip, &progress_));
    EXPECT_EQ(progress_.events, Joined(DigestEvents("empty.mpg", 0), UploadEvents("empty.mpg", 0)));
    EXPECT_EQ(Exchanges(digest, 2), (Events{"0 not-held", "7 stored"}));
    EXPECT_TRUE(std::filesystem::exists(server_->DataDir() + "/media/" + digest));
    EXPECT_EQ(Stored(digest), "");
}

TEST_F(UploadMediaTest, WithoutTheFileTheContentNameDecides) {
    MediaClip held = Clip("held.mpg", 5000);
    ASSERT_TRUE(Upload(held, nullptr));
    MediaClip gone;
    gone.path = dir_.File("gone.mpg");
    gone.contentName = held.contentName;
    EXPECT_TRUE(Upload(gone, &progress_));
    EXPECT_EQ(gone.contentName, held.contentName);
    // Nothing was read; the item still finishes before the query.
    EXPECT_EQ(progress_.events, (Events{"start item 100", "status Processing gone.mpg", "finish"}));
    EXPECT_EQ(Exchanges(held.contentName, 3), (Events{"0 held", "0 not-held", "7 stored"}));

    const std::string unknown = "0123456789abcdef0123456789abcdef";
    gone.contentName = unknown;
    EXPECT_FALSE(Upload(gone, nullptr));
    EXPECT_EQ(Exchanges(unknown, 1), (Events{"0 not-held"}));

    // Without 32 hexadecimal digits there is nothing to ask about (a 'g'
    // once counted as 0 and asked after the digest ending in f0).
    for (const std::string& name : {unknown.substr(1), unknown.substr(1) + "g"}) {
        gone.contentName = name;
        EXPECT_FALSE(Upload(gone, nullptr));
    }
    EXPECT_TRUE(Exchanges(unknown.substr(1), 0).empty());
    EXPECT_TRUE(Exchanges(unknown.substr(1) + "0", 0).empty());
    EXPECT_TRUE(platform_.ShownMessages().empty());
}

TEST_F(UploadMediaTest, AServerThatCannotBeAskedGetsNothing) {
    MediaClip clip = Clip("clip.mpg", 100);
    ServerAccess wrongPassword = Access();
    wrongPassword.password += "x";
    EXPECT_FALSE(
        UploadMedia(wrongPassword, platform_.Messages(), clip.path, clip.contentName, &progress_));
    EXPECT_EQ(clip.contentName, DigestText(clip.path));
    EXPECT_EQ(progress_.events, DigestEvents("clip.mpg", 100));
    EXPECT_TRUE(Stored(clip.contentName).empty());
}

// The limit guards only what would be sent: the digest and the server's
// answer come first, so a file the server holds passes whatever its size.
TEST_F(UploadMediaTest, AFileAboveTheLimitIsNeverSentButPassesWhenHeld) {
    MediaClip clip = Clip("huge.mpg", 0);
    std::filesystem::resize_file(clip.path, kMaxMediaFileSize + 1);  // sparse

    // Not held: the whole digest, the question, the warning over the
    // dialog, and no upload connection.
    platform_.QueueAnswer(MessageAnswer::Ok, "Warning: Cannot upload file");
    EXPECT_FALSE(Upload(clip, &progress_));
    const std::string digest = clip.contentName;
    ASSERT_EQ(digest.size(), 32u);
    ASSERT_EQ(platform_.ShownMessages().size(), 1u);
    const Message& warning = platform_.ShownMessages()[0];
    EXPECT_EQ(warning.text, "The maximum file size is 2000000000");
    EXPECT_EQ(warning.icon, MessageIcon::Warning);
    EXPECT_EQ(warning.owner, kDialog);
    EXPECT_EQ(progress_.events, DigestEvents("huge.mpg", kMaxMediaFileSize + 1));
    EXPECT_EQ(Exchanges(digest, 1), (Events{"0 not-held"}));

    // Held: accepted without a message or an upload. The digest is cut
    // short here, so the content name just computed stands in for it.
    ASSERT_TRUE(testing::WriteFileBytes(server_->DataDir() + "/media/" + digest, "x"));
    progress_.cancelAt = "item 0 2000000001";
    EXPECT_TRUE(Upload(clip, &progress_));
    EXPECT_EQ(Exchanges(digest, 2), (Events{"0 held", "0 not-held"}));
    EXPECT_EQ(platform_.ShownMessages().size(), 1u);
}

TEST_F(UploadMediaTest, ACancelDuringTheDigestStillAsksByContentName) {
    MediaClip held = Clip("held.mpg", 3000);
    ASSERT_TRUE(Upload(held, nullptr));

    MediaClip clip = Clip("clip.mpg", 100'000);
    const std::string ownDigest = DigestText(clip.path);
    clip.contentName = held.contentName;
    progress_.cancelAt = "item 32768 100000";
    EXPECT_TRUE(Upload(clip, &progress_));
    EXPECT_EQ(clip.contentName, held.contentName);
    EXPECT_EQ(Exchanges(held.contentName, 3), (Events{"0 held", "0 not-held", "7 stored"}));

    // Not held: the answer is asked for, and nothing more happens.
    clip.contentName = "ffeeddccbbaa99887766554433221100";
    EXPECT_FALSE(Upload(clip, &progress_));
    EXPECT_EQ(Exchanges(clip.contentName, 1), (Events{"0 not-held"}));
    EXPECT_TRUE(Exchanges(ownDigest, 0).empty());
    EXPECT_TRUE(platform_.ShownMessages().empty());
}

TEST_F(UploadMediaTest, ACancelDuringTheUploadStopsTheSending) {
    MediaClip clip = Clip("clip.mpg", 40'000);
    const std::string digest = DigestText(clip.path);
    progress_.cancelAt = "item 8192 40000";
    EXPECT_FALSE(Upload(clip, &progress_));
    Events expected = DigestEvents("clip.mpg", 40'000);
    for (const char* event :
         {"start transfer 100", "status Uploading clip.mpg", "item 0 40000", "item 4096 40000"}) {
        expected.push_back(event);
    }
    expected.push_back(progress_.cancelAt);
    EXPECT_EQ(progress_.events, expected);
    // The server saw a short body and stored nothing.
    Events exchanges = Exchanges(digest, 2);
    ASSERT_EQ(exchanges.size(), 2u);
    EXPECT_EQ(exchanges[0], "0 not-held");
    EXPECT_TRUE(exchanges[1].starts_with("7 ")) << exchanges[1];
    EXPECT_NE(exchanges[1], "7 stored");
    EXPECT_FALSE(std::filesystem::exists(server_->DataDir() + "/media/" + digest));
    EXPECT_TRUE(platform_.ShownMessages().empty());
}

}  // namespace
}  // namespace vantic
