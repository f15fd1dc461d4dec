#include "framework/program_path.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>

#include "core/cpstring.h"
#include "framework/wreg.h"
#include "tests/support/temp_dir.h"

namespace vantic {
namespace {

TEST(FilePlaces, ASystemInstallIsKnownByItsBinFolder) {
    EXPECT_EQ(InstallRootOf("/usr/bin/"), "");
    EXPECT_EQ(InstallRootOf("/tmp/root/usr/bin"), "/tmp/root");
    EXPECT_EQ(InstallRootOf("/usr/local/bin/"), "");
    EXPECT_FALSE(InstallRootOf("/opt/vantic/").has_value());
    EXPECT_FALSE(InstallRootOf("/home/op/usr/binaries/").has_value());
}

TEST(FilePlaces, WrittenFilesGoBesideTheProgramOnlyOutsideASystemInstall) {
    EXPECT_EQ(WritableDirectoryFor("/opt/vantic/", true, "/xdg", "/home/op"), "/opt/vantic/");
    EXPECT_EQ(WritableDirectoryFor("/opt/vantic/", false, "/xdg", "/home/op"), "/xdg/vantic");
    // Even root, who may write /usr/bin, keeps its files in its own folder.
    EXPECT_EQ(WritableDirectoryFor("/usr/bin/", true, nullptr, "/root"), "/root/.config/vantic");
    EXPECT_EQ(WritableDirectoryFor("/opt/", false, "relative", "/home/op"),
              "/home/op/.config/vantic");
    EXPECT_EQ(WritableDirectoryFor("/opt/", false, nullptr, nullptr), "/opt/");
}

// A package unpacked under a scratch root, run with a scratch XDG folder.
class UnpackedInstall : public ::testing::Test {
  protected:
    UnpackedInstall() {
        ::mkdir(root.File("usr").c_str(), 0755);
        ::mkdir(bin().c_str(), 0755);
        ::mkdir(root.File("etc").c_str(), 0755);
        ::mkdir(root.File("etc/vantic-controller").c_str(), 0755);
        SetProgramDirectoryForTesting(bin());
        const char* old = std::getenv("XDG_CONFIG_HOME");
        oldXdg = old != nullptr ? old : "";
        ::setenv("XDG_CONFIG_HOME", xdg.Path().c_str(), 1);
    }
    ~UnpackedInstall() override {
        SetProgramDirectoryForTesting("");
        ::setenv("XDG_CONFIG_HOME", oldXdg.c_str(), 1);
    }
    std::string bin() const { return root.File("usr/bin"); }

    testing::TempDir root;
    testing::TempDir xdg;
    std::string oldXdg;
};

TEST_F(UnpackedInstall, ReadsBesideTheProgramFirstThenTheSystemFolder) {
    const std::string system = root.File("etc/vantic-controller/p.key");
    EXPECT_EQ(InstalledFileCandidates("p.key"),
              (std::vector<std::string>{bin() + "/p.key", system, "/etc/vantic-controller/p.key"}));
    ASSERT_TRUE(testing::WriteFileBytes(system, "k"));
    EXPECT_EQ(FindInstalledFile("p.key"), system);
    ASSERT_TRUE(testing::WriteFileBytes(bin() + "/p.key", "k"));
    EXPECT_EQ(FindInstalledFile("p.key"), bin() + "/p.key");
    EXPECT_FALSE(FindInstalledFile("UserManual.pdf").has_value());
}

TEST_F(UnpackedInstall, FindsTheManualInTheSystemFolderElseThePackagesDocumentationFolder) {
    const std::string system = root.File("etc/vantic-controller/UserManual.pdf");
    const std::string packaged = root.File("usr/share/doc/vantic-controller/UserManual.pdf");
    EXPECT_EQ(DocumentCandidates("UserManual.pdf"),
              (std::vector<std::string>{bin() + "/UserManual.pdf", system,
                                        "/etc/vantic-controller/UserManual.pdf", packaged,
                                        "/usr/share/doc/vantic-controller/UserManual.pdf"}));
    std::filesystem::create_directories(root.File("usr/share/doc/vantic-controller"));
    ASSERT_TRUE(testing::WriteFileBytes(packaged, "%PDF"));
    EXPECT_EQ(FindDocument("UserManual.pdf"), packaged);
    // One the administrator put in the system folder comes first.
    ASSERT_TRUE(testing::WriteFileBytes(system, "%PDF"));
    EXPECT_EQ(FindDocument("UserManual.pdf"), system);
}

TEST_F(UnpackedInstall, EveryWrittenFileAndThePrivateSettingsGoToTheUserFolder) {
    EXPECT_EQ(WritableFilePath("crawl.dat"), xdg.File("vantic/crawl.dat"));
    EXPECT_EQ(WritableFilePath("newupdate.exe"), xdg.File("vantic/newupdate.exe"));

    // An old, world-readable file does not keep its mode across a save.
    ::mkdir(xdg.File("vantic").c_str(), 0700);
    ASSERT_TRUE(testing::WriteFileBytes(xdg.File("vantic/config.ini"), "a=1\r\n"));
    ASSERT_TRUE(testing::WriteFileBytes(xdg.File("vantic/config.ini.temp"), "stale"));
    ::chmod(xdg.File("vantic/config.ini").c_str(), 0644);
    ::chmod(xdg.File("vantic/config.ini.temp").c_str(), 0644);
    WReg store;
    ASSERT_TRUE(store.SetString("Distribution_Userpass", "secret"));
    struct stat info {};
    ASSERT_EQ(::stat(xdg.File("vantic/config.ini").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    EXPECT_EQ(testing::ReadFileBytes(xdg.File("vantic/config.ini")),
              "Distribution_Userpass=secret\r\na=1\r\n");
    EXPECT_FALSE(FileExists(bin() + "/config.ini"));
}

TEST_F(UnpackedInstall, AFreshAccountsFolderIsMadePrivateBeforeTheFirstFile) {
    ::setenv("XDG_CONFIG_HOME", xdg.File("fresh/config").c_str(), 1);
    const std::string path = WritableFilePath("Vantic-Report-12-08-2026.rtf");
    EXPECT_EQ(path, xdg.File("fresh/config/vantic/Vantic-Report-12-08-2026.rtf"));
    EXPECT_TRUE(ReplaceWholeFile(path, "{\\rtf1 }"));
    struct stat info {};
    ASSERT_EQ(::stat(xdg.File("fresh/config/vantic").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
}

}  // namespace
}  // namespace vantic
