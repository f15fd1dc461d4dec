// vanticctl deploy --dry-run against the reference server: the preview the
// confirmation shows, printed, with nothing changed on the server (its log
// holds only the unit list and media queries).

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "net/hex.h"
#include "net/md5.h"
#include "tests/support/child_process.h"
#include "tests/support/shared_server.h"
#include "tests/support/temp_dir.h"

namespace vantic {
namespace {

using testing::ReadFileBytes;
using testing::WriteFileBytes;

// Every file of the folder, with its bytes.
std::map<std::string, std::string> Snapshot(const std::string& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        const std::string path = entry.path().string();
        if (entry.is_regular_file() && path.find("/tmp/") == std::string::npos &&
            !path.ends_with("server.log")) {
            files[path] = ReadFileBytes(path);
        }
    }
    return files;
}

class VanticctlPreviewTest : public testing::SharedServerTest {
  protected:
    void SetUp() override {
        SharedServerTest::SetUp();
        ASSERT_FALSE(HasFatalFailure());
        // The program runs from a folder of its own, where it keeps its settings.
        std::filesystem::copy_file(testing::BuiltProgram("tools/vanticctl"), program_);
        ASSERT_TRUE(WriteFileBytes(passwordFile_, server_->Administrator().password + "\n"));
        ASSERT_TRUE(StoreUnitList("4\tLobby\tOK\t\t\n9\tBar\tOK\t\t\n17\tDoor\tOK\t\t\n"));
        std::filesystem::create_directories(server_->DataDir() + "/media");
        std::string playlist;
        for (int n = 0; n < 10; ++n) {
            const std::string path = dir_.File("clip" + std::to_string(n) + ".mpg");
            std::string bytes = dir_.Path() + std::string(2000 + 10 * n, '\x5a');
            ASSERT_TRUE(WriteFileBytes(path, bytes));
            if (n < 7) {
                const std::string name = HexEncode(Md5Buffer(AsBytes(bytes)));
                ASSERT_TRUE(WriteFileBytes(server_->DataDir() + "/media/" + name, bytes));
            } else {
                toUpload_ += bytes.size();
            }
            playlist += "0\t" + path + "\tAuto\t\t2 KB\tAll\tloop\tNone\tNone\tA\t\r\n";
        }
        ASSERT_TRUE(WriteFileBytes(playlist_, playlist));
    }

    using Run = testing::ProgramRun;
    Run Deploy(std::vector<std::string> more) {
        more.insert(more.begin(),
                    {"deploy", "--playlist", playlist_, "--channel", "Video", "--units", "4,9"});
        return Ctl(more);
    }
    Run Ctl(const std::vector<std::string>& arguments) {
        return RunVanticctl(program_, server_->Administrator().login, passwordFile_, arguments,
                            "/dev/null", dir_.Path());
    }

    testing::TempDir dir_;
    std::string program_ = dir_.File("vanticctl");
    std::string passwordFile_ = dir_.File("password");
    std::string playlist_ = dir_.File("show.PLY");
    std::size_t toUpload_ = 0;
};

TEST_F(VanticctlPreviewTest, DryRunPrintsThePreviewTheDeploymentShowsAndChangesNothing) {
    const std::map<std::string, std::string> before = Snapshot(server_->DataDir());
    const std::size_t logStart = server_->LogLines("login=").size();

    const Run dry = Deploy({"--dry-run"});
    ASSERT_EQ(dry.code, 0) << dry.err;
    EXPECT_NE(dry.out.find("Units: 2 (4, 9)\nClips: 10\nMedia the server holds: 7\n"),
              std::string::npos)
        << dry.out;
    EXPECT_NE(dry.out.find("Media to upload: 3, " + std::to_string(toUpload_) + " bytes\n"),
              std::string::npos)
        << dry.out;
    EXPECT_EQ(Snapshot(server_->DataDir()), before);
    const std::vector<std::string> log = AwaitLogLines("login=", logStart + 10);
    ASSERT_GT(log.size(), logStart);
    for (std::size_t i = logStart; i < log.size(); ++i) {
        const bool query = log[i].find("name=QueryMedia ") != std::string::npos ||
                           log[i].find("name=GetUnitList ") != std::string::npos;
        EXPECT_TRUE(query) << log[i];
    }

    // The deployment itself shows the same text above its confirmation.
    const Run real = Deploy({"--yes"});
    ASSERT_EQ(real.code, 0) << real.err;
    EXPECT_TRUE(real.err.starts_with(dry.out + "Confirm this Action: ")) << real.err;
    EXPECT_EQ(server_->LogLines("name=PutMedia ").size(), 3u);
}

TEST_F(VanticctlPreviewTest, DryRunIsAnOptionOfDeployOnly) {
    const std::string before = ReadFileBytes(UnitFile(4, "instructions.txt"));
    const Run settings = Ctl({"settings", "--units", "4", "--dry-run", "--yes", "crawl=1"});
    EXPECT_EQ(settings.code, 1);
    EXPECT_EQ(settings.err, "vanticctl: --dry-run is an option of deploy only\n");
    const Run crawl = Ctl({"owner", "Acme", "--units", "4", "--dry-run", "--yes"});
    EXPECT_EQ(crawl.code, 1);
    EXPECT_NE(crawl.err.find("--dry-run is an option of deploy only"), std::string::npos)
        << crawl.err;
    EXPECT_EQ(ReadFileBytes(UnitFile(4, "instructions.txt")), before);
}

}  // namespace
}  // namespace vantic
