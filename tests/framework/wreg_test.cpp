#include "framework/wreg.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "core/cpstring.h"
#include "framework/program_path.h"
#include "tests/support/failing_file_writes.h"
#include "tests/support/temp_dir.h"

namespace vantic {
namespace {

class FakeWindow : public PlacedWindow {
  public:
    explicit FakeWindow(Rect rect) : rect_(rect) {}
    std::optional<Rect> NormalRect() const override { return rect_; }
    void MoveTo(int x, int y) override {
        rect_ = {x, y, x + rect_.Width(), y + rect_.Height()};
        resized_ = false;
    }
    void MoveResize(int x, int y, int width, int height) override {
        rect_ = {x, y, x + width, y + height};
        resized_ = true;
    }
    Rect rect_;
    bool resized_ = false;
};

class FakeDisplays : public Displays {
  public:
    std::optional<std::vector<Rect>> MonitorRects() const override { return monitors_; }
    Rect WorkArea() const override { return workArea_; }
    std::optional<std::vector<Rect>> monitors_ = std::vector<Rect>(1, Rect{0, 0, 1920, 1080});
    Rect workArea_{0, 0, 1920, 1040};
};

class FakeColumns : public ColumnWidths {
  public:
    explicit FakeColumns(std::vector<int> widths) : widths_(std::move(widths)) {}
    int ColumnWidth(int column) const override {
        return column < static_cast<int>(widths_.size()) ? widths_[column] : 0;
    }
    void SetColumnWidth(int column, int width) override { widths_[column] = width; }
    std::vector<int> widths_;
};

class SettingsStore : public ::testing::Test {
  protected:
    SettingsStore() { store_.SetSettingsLocation({dir_.Path(), {}}); }

    std::string ConfigBytes() const { return testing::ReadFileBytes(dir_.File("config.ini")); }
    void WriteConfig(const std::string& bytes) {
        ASSERT_TRUE(testing::WriteFileBytes(dir_.File("config.ini"), bytes));
        store_.SetSettingsLocation({dir_.Path(), {}});  // forget what was loaded
    }

    testing::TempDir dir_;
    testing::FailingFileWrites writes_;
    WReg store_{writes_};
};

TEST_F(SettingsStore, ReadsLenientlyAndRewritesSqueezed) {
    WriteConfig("  Last_Crawl_Refresh =  7\r\nUpdate_Check_Option=2\r\n");
    EXPECT_EQ(store_.GetInt("Last_Crawl_Refresh", 5), 7);
    EXPECT_EQ(store_.GetInt("last_crawl_refresh", 5), 7);
    EXPECT_EQ(store_.GetInt("Missing", 5), 5);
    EXPECT_EQ(store_.GetBool("Update_Check_Option", false), true);
    EXPECT_EQ(store_.GetInt("Update_Check_Option", 0), 2);

    ASSERT_TRUE(store_.SetString("Distribution_Server", "venue.example"));
    EXPECT_EQ(ConfigBytes(),
              "Distribution_Server=venue.example\r\nLast_Crawl_Refresh=7\r\n"
              "Update_Check_Option=2\r\n");
    EXPECT_FALSE(testing::ReadFileBytes(dir_.File("config.ini.temp")).size());
}

TEST_F(SettingsStore, IntegersRoundTripIncludingNegatives) {
    ASSERT_TRUE(store_.SetInt("Main_Window_Dim_x", -3));
    EXPECT_EQ(ConfigBytes(), "Main_Window_Dim_x=-3\r\n");
    EXPECT_EQ(store_.GetInt("Main_Window_Dim_x", 0), -3);
    WriteConfig("a=12abc\r\nb=abc\r\n");
    EXPECT_EQ(store_.GetInt("a", 9), 12);
    EXPECT_EQ(store_.GetInt("b", 9), 0);
}

TEST_F(SettingsStore, TooLongValuesReadAsEmpty) {
    ASSERT_TRUE(store_.SetString("Distribution_Username", std::string(24, 'n')));
    EXPECT_EQ(store_.GetString("Distribution_Username", 24), "");
    EXPECT_EQ(store_.GetString("Distribution_Username", 25), std::string(24, 'n'));
    EXPECT_EQ(store_.GetString("Missing", 4, "long default"), "");
}

TEST_F(SettingsStore, SettingAKeyReplacesEveryEarlierLineOfIt) {
    WriteConfig("k=first\r\nother=1\r\nK=second\r\n");
    EXPECT_EQ(store_.GetString("k", 260), "first");
    ASSERT_TRUE(store_.SetString("k", "third"));
    EXPECT_EQ(ConfigBytes(), "k=third\r\nother=1\r\n");
}

TEST_F(SettingsStore, FailedSaveKeepsFileAndWritesValueNextTime) {
    ASSERT_TRUE(store_.SetString("a", "1"));
    const std::string before = ConfigBytes();
    writes_.fault = testing::FileFault::ReplaceFails;
    EXPECT_FALSE(store_.SetString("b", "2"));
    writes_.fault.reset();
    EXPECT_EQ(ConfigBytes(), before);
    EXPECT_EQ(store_.GetString("b", 10), "2");
    ASSERT_TRUE(store_.SetString("c", "3"));
    EXPECT_EQ(ConfigBytes(), "c=3\r\nb=2\r\na=1\r\n");
}

TEST_F(SettingsStore, ReadOnlyConfigIsStillReplaced) {
    WriteConfig("a=1\r\n");
    ASSERT_EQ(::chmod(dir_.File("config.ini").c_str(), 0444), 0);
    ASSERT_TRUE(store_.SetString("a", "2"));
    EXPECT_EQ(ConfigBytes(), "a=2\r\n");
}

TEST_F(SettingsStore, PlacementOffEveryMonitorComesBackTopLeftWithItsSize) {
    FakeWindow saved({5000, 5000, 5800, 5600});
    store_.SaveWindowPlacement("Main_Window_Dim", saved, true);
    EXPECT_EQ(store_.GetInt("Main_Window_Dim_dx", 0), 800);

    FakeWindow restored({10, 10, 110, 110});
    FakeDisplays displays;
    store_.RestoreWindowPlacement("Main_Window_Dim", restored, displays, true);
    EXPECT_EQ(restored.rect_, (Rect{0, 0, 800, 600}));
}

TEST_F(SettingsStore, PlacementKeepsVisiblePositionsAndMinimumSize) {
    store_.SetInt("W_x", 1899);  // 21 pixels from the right edge: still visible
    store_.SetInt("W_y", 100);
    store_.SetInt("W_dx", 3);
    store_.SetInt("W_dy", -50);
    FakeDisplays twoScreens;
    twoScreens.monitors_ = std::vector<Rect>{{0, 0, 1920, 1080}, {1920, 0, 3840, 1080}};
    FakeWindow window({0, 0, 100, 100});
    store_.RestoreWindowPlacement("W", window, twoScreens, true);
    EXPECT_EQ(window.rect_, (Rect{1899, 100, 1919, 120}));

    store_.SetInt("W_x", 1900);  // 20 pixels from the edge is too close
    FakeDisplays oneScreen;
    store_.RestoreWindowPlacement("W", window, oneScreen, false);
    EXPECT_FALSE(window.resized_);
    EXPECT_EQ(window.rect_.left, 0);

    FakeDisplays noEnumeration;
    noEnumeration.monitors_.reset();
    store_.SetInt("W_x", 1901);
    store_.SetInt("W_y", -7);
    store_.RestoreWindowPlacement("W", window, noEnumeration, false);
    EXPECT_EQ(window.rect_.left, 0);
    EXPECT_EQ(window.rect_.top, 0);
}

TEST_F(SettingsStore, ColumnWidthsStopAtAMissingColumnAndStayAtLeastTen) {
    FakeColumns shown({120, 80, 0, 60});
    store_.StoreColumnWidths("Venue_Widths", shown, 5);
    EXPECT_EQ(store_.GetInt("Venue_Widths_col1", -1), 80);
    EXPECT_EQ(store_.GetInt("Venue_Widths_col3", -1), -1);

    store_.SetInt("Sample_Widths_col0", 3);
    store_.SetInt("Sample_Widths_col1", 0);
    store_.SetInt("Sample_Widths_col2", 200);
    FakeColumns list({50, 50, 50});
    store_.ApplyColumnWidths("Sample_Widths", list, 10);
    EXPECT_EQ(list.widths_, (std::vector<int>{10, 10, 200}));
}

TEST(SettingsLocation, FallsBackToTheUserConfigDirectory) {
    SettingsLocation beside = ChooseSettingsLocation("/opt/vantic/", true, "/x", "/home/op");
    EXPECT_EQ(beside.directory, "/opt/vantic/");
    EXPECT_TRUE(beside.seedFile.empty());

    SettingsLocation xdg = ChooseSettingsLocation("/opt/vantic/", false, "/xdg", "/home/op");
    EXPECT_EQ(xdg.directory, "/xdg/vantic");
    EXPECT_EQ(xdg.seedFile, "/opt/vantic/config.ini");
    EXPECT_EQ(ChooseSettingsLocation("/opt/", false, "", "/home/op").directory,
              "/home/op/.config/vantic");
    EXPECT_EQ(ChooseSettingsLocation("/opt/", false, "relative", "/home/op").directory,
              "/home/op/.config/vantic");
}

TEST(SettingsLocation, SeedsFromBesideTheProgramAndSavesInTheUserDirectory) {
    testing::TempDir program;
    testing::TempDir home;
    ASSERT_TRUE(testing::WriteFileBytes(program.File("config.ini"), "Distribution_Server=s\r\n"));
    WReg store;
    store.SetSettingsLocation(
        ChooseSettingsLocation(program.Path() + "/", false, nullptr, home.Path().c_str()));
    EXPECT_EQ(store.GetString("Distribution_Server", 260), "s");
    ASSERT_TRUE(store.SetString("Sample_File", "/p.ply"));
    EXPECT_EQ(testing::ReadFileBytes(home.File(".config/vantic/config.ini")),
              "Sample_File=/p.ply\r\nDistribution_Server=s\r\n");
    EXPECT_EQ(testing::ReadFileBytes(program.File("config.ini")), "Distribution_Server=s\r\n");
}

TEST(ProgramPath, PlacesFilesBesideTheProgram) {
    EXPECT_EQ(PathBeside(std::string("/opt/vantic/vantic-controller"), "p.key"),
              "/opt/vantic/p.key");
    EXPECT_EQ(PathBeside(std::nullopt, "p.key"), "./p.key");
    EXPECT_EQ(PathBeside("/" + std::string(kMaxPathLength, 'd') + "/prog", "p.key"), "./p.key");

    testing::TempDir dir;
    SetProgramDirectoryForTesting(dir.Path());
    EXPECT_FALSE(ProgramFilePath("p.key", true).has_value());
    ASSERT_TRUE(testing::WriteFileBytes(dir.File("p.key"), "k"));
    EXPECT_EQ(ProgramFilePath("p.key", true), dir.File("p.key"));
    SetProgramDirectoryForTesting("");
}

}  // namespace
}  // namespace vantic
