// Where the crawl text is kept.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "framework/program_path.h"
#include "tests/support/temp_dir.h"
#include "units/admin_commands.h"

namespace vantic {
namespace {

// An installed program never writes beside itself: the crawl text goes to
// the user's folder with the settings, or the crawl form could never save.
TEST(CrawlFile, AnInstalledProgramKeepsItInTheUserFolder) {
    testing::TempDir root;
    testing::TempDir xdg;
    ::mkdir(root.File("usr").c_str(), 0755);
    ::mkdir(root.File("usr/bin").c_str(), 0755);
    SetProgramDirectoryForTesting(root.File("usr/bin"));
    const char* old = std::getenv("XDG_CONFIG_HOME");
    const std::optional<std::string> oldXdg = old != nullptr ? std::optional(old) : std::nullopt;
    ::setenv("XDG_CONFIG_HOME", xdg.Path().c_str(), 1);

    EXPECT_EQ(CrawlFilePath(), xdg.File("vantic/crawl.dat"));

    SetProgramDirectoryForTesting(root.Path());
    EXPECT_EQ(CrawlFilePath(), root.File("crawl.dat"));  // a writable folder of its own
    SetProgramDirectoryForTesting("");
    if (oldXdg) {
        ::setenv("XDG_CONFIG_HOME", oldXdg->c_str(), 1);
    } else {
        ::unsetenv("XDG_CONFIG_HOME");
    }
}

}  // namespace
}  // namespace vantic
