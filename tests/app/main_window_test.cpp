#include <gtest/gtest.h>
#include <sys/stat.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

#include "app/app.h"
#include "framework/folder_memory.h"
#include "framework/missing_helper.h"
#include "framework/worker.h"
#include "playlist/playlist.h"
#include "tests/app/app_fixture.h"
#include "tests/support/wait_until.h"

namespace vantic {
namespace {

using testing::AppFixture;
using testing::WriteFileBytes;
namespace c = command;

constexpr const char* kTwoUnits =
    "12\t[Harbor] Deli\tOK\tSun 13:52\tSun 15:52\n7\tLobby\tOK\tSun 13:40\tSun 15:40\n";

// A started application whose message loop runs the test's body. The
// operator cancels the login form that the start-up opens.
class MainWindow : public AppFixture {
  protected:
    MainWindow() { StoreLoginNameOnly("operator"); }

    void RunWith(std::function<void()> body) {
        Window().whileRunning = std::move(body);
        app->Run();
    }
    // Whether the button that runs command is enabled.
    [[nodiscard]] bool ButtonEnabled(int command) { return Window().ButtonEnabled(command); }
    // A playlist file with one clip on channel 0.
    std::string WritePlaylist(const std::string& name, const std::string& clip) {
        const std::string path = dir.File(name);
        EXPECT_TRUE(WriteFileBytes(
            path, "0\t" + clip + "\tAuto\t\t12 KB\tAll\tloop\tNone\tNone\tA\tlobby"));
        return path;
    }
    [[nodiscard]] std::vector<std::string> Paths() {
        std::vector<std::string> paths;
        for (int row = 0; row < app->Playlist().ItemCount(); ++row) {
            paths.push_back(app->Playlist().ClipAt(row)->path);
        }
        return paths;
    }
};

TEST_F(MainWindow, ListChangesUpdateTheCommandsAndButtons) {
    RunWith([&] {
        EXPECT_FALSE(Window().IsEnabled(c::kDeployToAll));
        EXPECT_FALSE(ButtonEnabled(c::kDeployToAll));
        EXPECT_FALSE(ButtonEnabled(c::kDeleteMedia));
        EXPECT_FALSE(Window().IsEnabled(c::kSavePlaylist));
        EXPECT_TRUE(ButtonEnabled(c::kAddMedia));

        app->Venue().MergeReply(kTwoUnits);
        Window().playlist.DropFiles({"/media/intro.mpg"});
        EXPECT_TRUE(Window().IsEnabled(c::kDeployToAll));
        EXPECT_TRUE(ButtonEnabled(c::kDeployToAll));
        EXPECT_FALSE(ButtonEnabled(c::kDeployToSelected));
        EXPECT_FALSE(Window().IsEnabled(c::kDeployToSelected));
        EXPECT_TRUE(Window().IsEnabled(c::kSavePlaylist));

        Window().units.ClickRow(1);
        Window().playlist.ClickRow(0);
        EXPECT_TRUE(Window().IsEnabled(c::kDeployToSelected));
        EXPECT_TRUE(Window().IsEnabled(c::kCrawlText));
        EXPECT_TRUE(ButtonEnabled(c::kDeployToSelected));
        // One clip, selected: it can go but not move.
        EXPECT_FALSE(Window().IsEnabled(c::kMoveMediaUp));
        EXPECT_FALSE(Window().IsEnabled(c::kMoveMediaDown));
        EXPECT_TRUE(Window().IsEnabled(c::kDeleteMedia));
        EXPECT_TRUE(ButtonEnabled(c::kDeleteMedia));
        EXPECT_TRUE(ButtonEnabled(c::kPreviewMedia));
    });
}

TEST_F(MainWindow, DoubleClicksAddOrEditClipsAndHeaderClicksSortUnits) {
    platform->QueueFileChoice(std::nullopt);  // Add Media: the operator cancels
    views->clipEditor.script.QueueCancel();
    RunWith([&] {
        Window().playlist.DropFiles({"/media/intro.mpg"});
        Window().playlist.DoubleClick(-1);
        Window().playlist.ClickRow(0);
        Window().playlist.DoubleClick(0);

        app->Venue().MergeReply(kTwoUnits);
        Window().units.ClickHeader(0);
        EXPECT_EQ(app->Venue().UnitNumberAt(0), 7u);
        Window().units.ClickHeader(0);
        EXPECT_EQ(app->Venue().UnitNumberAt(0), 12u);
    });
    ASSERT_EQ(platform->fileDialogs.ShownDialogs().size(), 1u);
    EXPECT_EQ(platform->fileDialogs.ShownDialogs()[0].request.title, "Choose Media File");
    ASSERT_EQ(views->clipEditor.script.Opened().size(), 1u);
}

TEST_F(MainWindow, ASingleLowerCasePlaylistDroppedOnThePlaylistOpensIt) {
    const std::string night = WritePlaylist("night.ply", "/media/night.mpg");
    RunWith([&] {
        Window().units.DropFiles({night});
        EXPECT_EQ(app->Playlist().ItemCount(), 0);

        Window().playlist.DropFiles({night});
        EXPECT_EQ(app->Playlist().FilePath(), night);
        EXPECT_EQ(Paths(), std::vector<std::string>{"/media/night.mpg"});
        EXPECT_EQ(Window().playlistTitle, "Current Playlist: night");
        EXPECT_FALSE(app->Playlist().IsModified());

        // With another file, a playlist is just a file that is not media.
        Window().playlist.DropFiles(
            {WritePlaylist("morning.PLY", "/media/a.mpg"), "/media/intro.mpg"});
        EXPECT_EQ(app->Playlist().FilePath(), night);
        EXPECT_EQ(Paths(), (std::vector<std::string>{"/media/night.mpg", "/media/intro.mpg"}));
        EXPECT_TRUE(app->Playlist().IsModified());
    });
}

TEST_F(MainWindow, TabsSwitchTheChannelShown) {
    RunWith([&] {
        Window().playlist.DropFiles({"/media/intro.mpg"});
        Window().Events().OnTabSelected(2);
        EXPECT_EQ(app->Playlist().Channel(), 2);
        EXPECT_EQ(app->Playlist().ItemCount(), 0);
        EXPECT_FALSE(Window().IsEnabled(c::kSavePlaylist));
        Window().Events().OnTabSelected(0);
        EXPECT_EQ(app->Playlist().ItemCount(), 1);
    });
}

TEST_F(MainWindow, AnAcceleratorRunsTheSameOperationAsItsMenuItem) {
    RunWith([&] {
        Window().playlist.DropFiles({"/media/a.mpg", "/media/b.mpg"});
        Window().playlist.ClickRow(1);
        Window().Events().OnCommand(40026);  // Ctrl+Up
        EXPECT_EQ(Paths(), (std::vector<std::string>{"/media/b.mpg", "/media/a.mpg"}));
        Window().Events().OnCommand(c::kMoveMediaDown);
        EXPECT_EQ(Paths(), (std::vector<std::string>{"/media/a.mpg", "/media/b.mpg"}));

        platform->QueueAnswer(MessageAnswer::Cancel, "Play-List file has un-saved changes");
        Window().Events().OnCommand(40044);  // Ctrl+N
        EXPECT_EQ(app->Playlist().ItemCount(), 2);
        platform->QueueAnswer(MessageAnswer::No, "Play-List file has un-saved changes");
        Window().Events().OnCommand(c::kNewPlaylist);
        EXPECT_EQ(app->Playlist().ItemCount(), 0);

        Window().Events().OnCommand(12345);  // no operation, just the update
    });
    EXPECT_EQ(platform->ShownMessages().size(), 2u);
}

TEST_F(MainWindow, PreviewOpensTheSelectedClipOrAsksForOne) {
    platform->QueueAnswer(MessageAnswer::Ok, "None Selected");
    RunWith([&] {
        Window().Events().OnButton(c::kPreviewMedia);
        Window().playlist.DropFiles({"/media/a.mpg", "/media/b.mpg"});
        Window().playlist.ClickRow(1);
        Window().Events().OnButton(c::kPreviewMedia);
    });
    const Message& shown = platform->ShownMessages()[0];
    EXPECT_EQ(shown.text, "Please select a media file in the list...\r\n and press 'Preview'");
    EXPECT_EQ(shown.icon, MessageIcon::Warning);
    EXPECT_EQ(shown.owner, Window().window);
    ASSERT_EQ(platform->shell.opened.size(), 1u);
    EXPECT_EQ(platform->shell.opened[0].target, "/media/b.mpg");
    EXPECT_TRUE(LogHas("clear focus"));
}

TEST_F(MainWindow, TheUserManualOpensOnlyWhenItIsThere) {
    RunWith([&] {
        Window().Events().OnCommand(c::kUserManual);
        EXPECT_TRUE(platform->shell.opened.empty());
        ASSERT_TRUE(WriteFileBytes(dir.File("UserManual.pdf"), "%PDF"));
        Window().Events().OnCommand(c::kUserManual);
    });
    ASSERT_EQ(platform->shell.opened.size(), 1u);
    EXPECT_EQ(platform->shell.opened[0].target, dir.File("UserManual.pdf"));
}

// Without the desktop's helpers each hand-over says once, over its window,
// what to install; with them a failure (no program for the file) is silent.
TEST_F(MainWindow, AMissingDesktopHelperIsNamedWhereTheOperationFails) {
    ASSERT_TRUE(WriteFileBytes(dir.File("UserManual.pdf"), "%PDF"));
    const WindowId box = platform->windows.NewWindow(kNoWindow, Rect{0, 0, 300, 200});
    views->about.onOpen = [&](AboutLinks& links) {
        links.OpenWebAddress(box);
        links.ComposeSalesInquiry(box);
    };
    platform->shell.result = platform->mail.result = false;
    for (int i = 0; i < 4; ++i) {
        platform->messageBoxes.Queue(MessageAnswer::Ok, std::string(kMissingHelperCaption));
    }
    RunWith([&] {
        Window().playlist.DropFiles({"/media/intro.mpg"});
        Window().playlist.ClickRow(0);
        for (const bool installed : {true, false}) {
            EXPECT_TRUE(platform->messageBoxes.Shown().empty());
            if (!installed) {
                platform->shell.missing = MissingHelper{"xdg-open", "xdg-utils"};
                platform->mail.missing = MissingHelper{"xdg-email", "xdg-utils"};
            }
            Window().Events().OnButton(c::kPreviewMedia);
            Window().Events().OnCommand(c::kUserManual);
            Window().Events().OnCommand(c::kAbout);
        }
    });
    std::vector<std::string> texts;
    for (const Message& shown : platform->messageBoxes.Shown()) {
        texts.push_back(shown.text.substr(0, shown.text.find(':')) +
                        (shown.owner == box ? " (about box)" : ""));
    }
    EXPECT_EQ(texts,
              (std::vector<std::string>{"The media file could not be opened",
                                        "The user manual could not be opened",
                                        "The web site could not be opened (about box)",
                                        "The mail program could not be started (about box)"}));
    EXPECT_EQ(platform->messageBoxes.Shown()[3].text,
              "The mail program could not be started: the desktop helper program \"xdg-email\" "
              "is not installed.\r\n\r\nInstall the package \"xdg-utils\" and try again.");
}

// Each kind of file opens where one was last chosen, the home folder the
// first time or when that folder is gone; the settings store keeps it.
TEST_F(MainWindow, FileDialogsOpenWhereTheirKindWasLastChosen) {
    const std::string clips = dir.File("clips");
    ASSERT_EQ(::mkdir(clips.c_str(), 0755), 0);
    platform->QueueFileChoice(clips + "/intro.mpg");
    for (int cancelled = 0; cancelled < 3; ++cancelled) {
        platform->QueueFileChoice(std::nullopt);
    }
    views->clipEditor.script.QueueCancel();
    FileDialogRequest report;
    report.kind = FileKind::Report;
    RunWith([&] {
        Window().Events().OnCommand(c::kAddMedia);
        Window().Events().OnCommand(c::kAddMedia);
        (void)platform->Files().ChooseSaveFile(report);
        ASSERT_EQ(::rmdir(clips.c_str()), 0);
        Window().Events().OnCommand(c::kAddMedia);
    });
    std::vector<std::string> openedIn;
    for (const auto& shown : platform->fileDialogs.ShownDialogs()) {
        openedIn.push_back(shown.request.initialFolder);
    }
    const std::string home = StartFolder("");
    EXPECT_EQ(openedIn, (std::vector<std::string>{home, clips, home, home}));
    EXPECT_EQ(app->GetString(LastFolderKey(FileKind::Media), 4096), clips);
}

TEST_F(MainWindow, TheAboutBoxNamesTheBuildAndItsLinksOpenSiteAndMail) {
    views->about.onOpen = [](AboutLinks& links) {
        links.OpenWebAddress(kNoWindow);
        links.ComposeSalesInquiry(kNoWindow);
    };
    RunWith([&] { Window().Events().OnCommand(c::kAbout); });
    ASSERT_EQ(views->about.forms.size(), 1u);
    const AboutForm& form = views->about.forms[0];
    EXPECT_EQ(views->about.owners[0], Window().window);
    EXPECT_EQ(form.title, "Vantic Controller 4.1 - www.brindle.example");
    EXPECT_EQ(form.buildLabel + form.buildCode, "Vantic 4.1 Release Build Code: 2900");
    EXPECT_EQ(form.pictureId, 127);
    ASSERT_EQ(platform->shell.opened.size(), 1u);
    EXPECT_EQ(platform->shell.opened[0].target, "https://www.brindle.example");
    ASSERT_EQ(platform->mail.drafts.size(), 1u);
    EXPECT_EQ(platform->mail.drafts[0].subject, "I have a sales inquiry...");
    EXPECT_EQ(platform->mail.drafts[0].recipientName, "Brindle Sales Manager");
    EXPECT_EQ(platform->mail.drafts[0].recipientAddress, "SMTP:sales@brindle.example");
}

TEST_F(MainWindow, CancellingTheSaveQuestionKeepsTheWindowButStoresThePlaylistPath) {
    const std::string night = WritePlaylist("night.ply", "/media/night.mpg");
    RunWith([&] {
        Window().playlist.DropFiles({night});
        Window().playlist.DropFiles({"/media/intro.mpg"});
        platform->QueueAnswer(MessageAnswer::Cancel, "Play-List file has un-saved changes");
        Window().Events().OnCloseRequest();
        EXPECT_FALSE(Window().quit);
        EXPECT_EQ(app->GetString(kLastPlaylistFileKey, 260), night);
        EXPECT_EQ(app->Playlist().ItemCount(), 2);
        EXPECT_NE(app->Playlist().Control(), nullptr);
        EXPECT_EQ(app->GetInt("Main_Window_Dim_dx", 0), 0);  // nothing else stored

        platform->QueueAnswer(MessageAnswer::No, "Play-List file has un-saved changes");
        Window().Events().OnCommand(c::kExit);
        EXPECT_TRUE(Window().quit);
    });
}

TEST_F(MainWindow, ClosingStoresTheLayoutAndEmptiesBothLists) {
    RunWith([&] {
        app->Venue().MergeReply(kTwoUnits);
        Window().Events().OnCloseRequest();
        EXPECT_TRUE(Window().quit);
        EXPECT_EQ(app->Venue().ItemCount(), 0);
        EXPECT_EQ(app->Venue().Control(), nullptr);
        EXPECT_EQ(Window().units.RowCount(), 0);
    });
    EXPECT_EQ(app->GetString(kLastPlaylistFileKey, 260, "unset"), "");
    EXPECT_NE(app->GetInt("Main_Window_Dim_dx", 0), 0);
    EXPECT_EQ(app->GetInt("Venue_Widths_col0", 0), 60);
    EXPECT_EQ(app->GetInt(std::string(kPlayWidthsName) + "_col1", 0), 70);
    EXPECT_TRUE(LogHas("destroy window"));
}

// While an operation waits for the server the window keeps dispatching its
// events: a command among them would start a second operation and is
// ignored; a close cancels the operation, which ends without a message,
// and then closes.
TEST_F(MainWindow, CommandsDuringAnOperationAreIgnoredAndACloseCancelsItFirst) {
    platform->blocking.whileWaiting = [&] {
        Window().Events().OnCommand(c::kAbout);
        Window().Events().OnButton(c::kPreviewMedia);
        Window().Events().OnCloseRequest();
        EXPECT_FALSE(Window().quit);  // not before the operation has ended
    };
    RunWith([&] {
        app->Venue().MergeReply(kTwoUnits);
        Window().units.ClickRow(0);
        Window().Events().OnCommand(c::kOpenUnitPlaylist);
    });
    EXPECT_EQ(platform->blocking.calls, 1);
    EXPECT_TRUE(views->about.forms.empty());
    EXPECT_TRUE(Window().quit);
    EXPECT_TRUE(platform->ShownMessages().empty());  // neither "None Selected" nor the failure
}

// A worker gets the close wait to end on its own; then it is asked to stop
// and joined, so closing leaves none behind.
TEST_F(MainWindow, ClosingWaitsForLiveWorkersThenStopsAndJoinsThem) {
    std::atomic<bool> stopAsked{false};
    RunWith([&] {
        ASSERT_TRUE(StartWorker([&] {
            while (!WorkerStopRequested()) {
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
            stopAsked = true;
        }));
        EXPECT_TRUE(app->PrepareToClose());
        EXPECT_EQ(LiveWorkers(), 0);
        EXPECT_TRUE(stopAsked);
    });
}

}  // namespace
}  // namespace vantic
