#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "app/app.h"
#include "app/worker.h"
#include "tests/app/app_fixture.h"

namespace vantic {
namespace {

using testing::AppFixture;
namespace c = command;
namespace d = main_dialog;

// A started application whose message loop runs the test's body.
class MainWindow : public AppFixture {
  protected:
    MainWindow() { StoreLogin("operator"); }

    void RunWith(std::function<void()> body) {
        Window().whileRunning = std::move(body);
        app->Run();
    }
    [[nodiscard]] bool ButtonEnabled(int id) {
        return platform->windows.IsEnabled(platform->windows.Item(Window().dialog, id));
    }
    void AddRows(WListView& list, int rows) {
        for (int i = 0; i < rows; ++i) {
            ASSERT_GE(list.InsertRow(std::make_unique<RowData>()), 0);
        }
    }
};

TEST_F(MainWindow, SelectionChangesInEitherListUpdateTheCommands) {
    RunWith([&] {
        EXPECT_FALSE(Window().IsEnabled(c::kDeployToAll));
        EXPECT_FALSE(ButtonEnabled(d::kDeployAllButton));
        EXPECT_FALSE(ButtonEnabled(d::kDeleteButton));
        EXPECT_TRUE(ButtonEnabled(d::kAddButton));

        AddRows(app->Venue(), 2);
        AddRows(app->Playlist(), 1);
        app->Venue().SelectRow(1, true);
        app->Playlist().SelectRow(0, true);
        Window().units.SetEvents(nullptr);  // only the playlist's notification arrives
        Window().playlist.ClickHeader(0);

        EXPECT_TRUE(Window().IsEnabled(c::kDeployToAll));
        EXPECT_TRUE(Window().IsEnabled(c::kDeployToSelected));
        EXPECT_TRUE(ButtonEnabled(d::kDeployButton));
        EXPECT_TRUE(ButtonEnabled(d::kDeployAllButton));
        EXPECT_FALSE(Window().IsEnabled(c::kMoveMediaUp));
        EXPECT_FALSE(Window().IsEnabled(c::kMoveMediaDown));
        EXPECT_TRUE(Window().IsEnabled(c::kDeleteMedia));
        EXPECT_TRUE(ButtonEnabled(d::kDeleteButton));
        EXPECT_TRUE(ButtonEnabled(d::kPreviewButton));
    });
}

TEST_F(MainWindow, DoubleClicksAddOrEditClipsAndHeaderClicksSortUnits) {
    RunWith([&] {
        AddRows(app->Playlist(), 2);
        Window().playlist.DoubleClick(-1);
        Window().playlist.DoubleClick(1);
        Window().units.ClickHeader(2);
    });
    const auto& calls = app->Playlist().calls;
    EXPECT_NE(std::find(calls.begin(), calls.end(), "AddClip"), calls.end());
    EXPECT_EQ(std::find(calls.begin(), calls.end(), "AddClip") + 1,
              std::find(calls.begin(), calls.end(), "EditClip"));
    EXPECT_EQ(app->Venue().calls.back(), "SortByColumn 2");
}

TEST_F(MainWindow, DropsOnThePlaylistAreRoutedAndDropsOnUnitsIgnored) {
    RunWith([&] {
        Window().units.DropFiles({"/shows/night.ply"});
        Window().playlist.DropFiles({"/shows/night.ply"});
        Window().playlist.DropFiles({"/shows/morning.ply", "/media/intro.mpg"});
    });
    const auto& calls = app->Playlist().calls;
    const std::vector<std::string> tail(calls.end() - 3, calls.end());
    EXPECT_EQ(tail,
              (std::vector<std::string>{"OpenFile /shows/night.ply", "AddFile /shows/morning.ply",
                                        "AddFile /media/intro.mpg"}));
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "OpenFile /shows/night.ply"), 1);
}

TEST_F(MainWindow, TabsSwitchTheChannelShown) {
    RunWith([&] { Window().Events().OnTabSelected(2); });
    EXPECT_EQ(app->Playlist().calls.back(), "SelectChannel 2");
}

TEST_F(MainWindow, AnAcceleratorRunsTheSameOperationAsItsMenuItem) {
    RunWith([&] {
        Window().Events().OnCommand(40044);
        Window().Events().OnCommand(c::kNewPlaylist);
        Window().Events().OnCommand(40026);
        Window().Events().OnCommand(c::kMoveMediaUp);
        Window().Events().OnCommand(12345);  // no operation, just the update
    });
    const auto& calls = app->Playlist().calls;
    const std::vector<std::string> tail(calls.end() - 4, calls.end());
    EXPECT_EQ(tail, (std::vector<std::string>{"Close", "Close", "MoveClipsUp", "MoveClipsUp"}));
}

TEST_F(MainWindow, PreviewWithoutASelectionAsksForOne) {
    platform->QueueAnswer(MessageAnswer::Ok, "None Selected");
    RunWith([&] { Window().Events().OnButton(d::kPreviewButton); });
    ASSERT_EQ(platform->ShownMessages().size(), 1u);
    const Message& shown = platform->ShownMessages()[0];
    EXPECT_EQ(shown.text, "Please select a media file in the list...\r\n and press 'Preview'");
    EXPECT_EQ(shown.icon, MessageIcon::Warning);
    EXPECT_EQ(shown.owner, Window().window);
    EXPECT_TRUE(LogHas("clear focus"));
}

TEST_F(MainWindow, TheUserManualOpensOnlyWhenItIsThere) {
    RunWith([&] { Window().Events().OnCommand(c::kUserManual); });
    EXPECT_TRUE(platform->shell.opened.empty());
    ASSERT_TRUE(testing::WriteFileBytes(dir.File("UserManual.pdf"), "%PDF"));
    Window().whileRunning = [&] { Window().Events().OnCommand(c::kUserManual); };
    app->Run();
    ASSERT_EQ(platform->shell.opened.size(), 1u);
    EXPECT_EQ(platform->shell.opened[0].target, dir.File("UserManual.pdf"));
}

TEST_F(MainWindow, TheAboutBoxNamesTheBuildAndItsLinksOpenSiteAndMail) {
    views->about.onOpen = [](AboutLinks& links) {
        links.OpenWebAddress();
        links.ComposeSalesInquiry();
    };
    RunWith([&] { Window().Events().OnCommand(c::kAbout); });
    ASSERT_EQ(views->about.forms.size(), 1u);
    const AboutForm& form = views->about.forms[0];
    EXPECT_EQ(views->about.owners[0], Window().window);
    EXPECT_EQ(form.title, "Vantic Controller 4.1 - www.brindle.example");
    EXPECT_EQ(form.buildLabel + form.buildCode, "Vantic 4.1 Release Build Code: 2900");
    EXPECT_EQ(form.pictureId, 127);
    ASSERT_EQ(platform->shell.opened.size(), 1u);
    EXPECT_EQ(platform->shell.opened[0].target, "www.brindle.example");
    ASSERT_EQ(platform->mail.drafts.size(), 1u);
    EXPECT_EQ(platform->mail.drafts[0].subject, "I have a sales inquiry...");
    EXPECT_EQ(platform->mail.drafts[0].recipientName, "Brindle Sales Manager");
    EXPECT_EQ(platform->mail.drafts[0].recipientAddress, "SMTP:sales@brindle.example");
}

TEST_F(MainWindow, ClosingStoresTheLayoutAndEmptiesBothLists) {
    RunWith([&] {
        AddRows(app->Venue(), 3);
        Window().Events().OnCloseRequest();
        EXPECT_TRUE(Window().quit);
        EXPECT_EQ(app->Venue().ItemCount(), 0);
        EXPECT_EQ(app->Venue().Control(), nullptr);
    });
    EXPECT_EQ(app->GetString("Last_PlayList_File", 260, "unset"), "");
    EXPECT_NE(app->GetInt("Main_Window_Dim_dx", 0), 0);
    EXPECT_TRUE(LogHas("destroy window"));
}

TEST_F(MainWindow, ClosingWaitsOnceForLiveWorkers) {
    std::atomic<bool> release{false};
    RunWith([&] {
        ASSERT_TRUE(StartWorker([&] {
            while (!release) {
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
        }));
        const std::size_t before = platform->clock.Sleeps().size();
        EXPECT_TRUE(app->PrepareToClose());
        ASSERT_EQ(platform->clock.Sleeps().size(), before + 1);
        EXPECT_EQ(platform->clock.Sleeps().back(), 2000);
        release = true;
        while (LiveWorkers() > 0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    });
}

}  // namespace
}  // namespace vantic
