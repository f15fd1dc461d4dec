#include "platform/xdg_desktop.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include "platform/spawn.h"
#include "tests/support/temp_dir.h"

namespace vantic {
namespace {

using testing::ReadFileBytes;
using testing::TempDir;
using testing::WriteFileBytes;

// Puts stand-ins for the desktop helpers first on PATH; each writes its
// arguments, one a line, to a file named after it.
class XdgTest : public ::testing::Test {
  protected:
    XdgTest() {
        const char* path = std::getenv("PATH");
        oldPath_ = path == nullptr ? "" : path;
        for (const char* tool : {"xdg-open", "xdg-email", "installer"}) {
            const std::string script = dir_.File(tool);
            WriteFileBytes(script, "#!/bin/sh\nfor a in \"$@\"; do echo \"$a\"; done > \"" +
                                       dir_.File(std::string(tool) + ".args.tmp") + "\"\nmv \"" +
                                       dir_.File(std::string(tool) + ".args.tmp") + "\" \"" +
                                       dir_.File(std::string(tool) + ".args") + "\"\n");
            chmod(script.c_str(), 0755);
        }
        setenv("PATH", (dir_.Path() + ":" + oldPath_).c_str(), 1);
    }
    ~XdgTest() override { setenv("PATH", oldPath_.c_str(), 1); }

    // The arguments the helper was run with, once it has run.
    std::string ArgsOf(const std::string& tool) {
        const std::string file = dir_.File(tool + ".args");
        for (int i = 0; i < 500; ++i) {
            std::string args = ReadFileBytes(file);
            if (!args.empty()) {
                return args;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return {};
    }

    TempDir dir_;
    std::string oldPath_;
};

TEST_F(XdgTest, OpensFilesAndAddressesWithXdgOpen) {
    XdgShell shell;
    ASSERT_TRUE(shell.Open("/manuals/User Manual \xE9.pdf", ""));
    EXPECT_EQ(ArgsOf("xdg-open"), "/manuals/User Manual \xE9.pdf\n");
}

TEST_F(XdgTest, StartsAProgramWithItsParameters) {
    XdgShell shell;
    ASSERT_TRUE(shell.Open(dir_.File("installer"), " /silent  /now"));
    EXPECT_EQ(ArgsOf("installer"), "/silent\n/now\n");
}

TEST_F(XdgTest, AttachesADocumentToANewMessage) {
    XdgMail mail;
    EXPECT_TRUE(mail.Available());
    ASSERT_TRUE(mail.SendDocument(kNoWindow, "/tmp/Vantic-Report-12-06-2026.rtf",
                                  "Vantic-Report-12-06-2026.rtf"));
    EXPECT_EQ(ArgsOf("xdg-email"), "--attach\n/tmp/Vantic-Report-12-06-2026.rtf\n");
}

TEST_F(XdgTest, ComposesToABareAddress) {
    XdgMail mail;
    ASSERT_TRUE(mail.Compose(
        MailDraft{"I have a sales inquiry...", "Sales Manager", "SMTP:sales@example.com"}));
    EXPECT_EQ(ArgsOf("xdg-email"), "--subject\nI have a sales inquiry...\nsales@example.com\n");
}

TEST_F(XdgTest, AMissingHelperIsReported) {
    setenv("PATH", "/nonexistent", 1);
    XdgShell shell;
    EXPECT_FALSE(shell.Open("/tmp/file.pdf", ""));
    EXPECT_FALSE(shell.Open("", ""));
    EXPECT_FALSE(XdgMail().Available());
    // Neither a folder of that name nor a file without the right to run
    // counts; the search goes on past them and past empty entries.
    const std::string sub = dir_.File("sub");
    ::mkdir(sub.c_str(), 0755);
    ::mkdir((sub + "/xdg-email").c_str(), 0755);
    setenv("PATH", sub.c_str(), 1);
    EXPECT_FALSE(XdgMail().Available());
    setenv("PATH", (sub + "::" + dir_.Path()).c_str(), 1);
    EXPECT_TRUE(XdgMail().Available());
    ::chmod(dir_.File("installer").c_str(), 0644);
    EXPECT_FALSE(ProgramOnPath(dir_.File("installer")));
}

}  // namespace
}  // namespace vantic
