// Every entry of the command table (menu item and accelerator) and every
// button of the main dialog runs its own operation, under the operator's
// login and under the administrator's. Each row's operation is known by
// what it shows the operator first (a form, a question, a file dialog, a
// report window) or by what it does to the playlist; the test's operator
// turns every form and question down, so the lists stay as they were.

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>

#include "app/app.h"
#include "core/cpstring.h"
#include "tests/app/app_fixture.h"
#include "tests/support/server_runner.h"

namespace vantic {
namespace {

using testing::AppFixture;
using testing::ReadFileBytes;
using testing::ServerRunner;
using testing::WriteFileBytes;
namespace c = command;

class CommandWalk : public AppFixture, public ::testing::WithParamInterface<bool> {
  protected:
    // What one row's operation shows first: arm queues the operator's
    // answer, reached tells afterwards whether the operation ran.
    struct Reach {
        std::function<void()> arm;
        std::function<bool()> reached;
    };

    CommandWalk() {
        EXPECT_TRUE(server.Ok()) << server.Error();
        EXPECT_TRUE(CopyFileOver(server.KeyFile(), dir.File("p.key")));
        const testing::ServerAccount& account =
            Administrator() ? server.Administrator() : server.Operator();
        StoreLogin(server.Address(), account.login, account.password);
        app->SetString("Update_Server", kNoServer);
        playlistPath = dir.File("walk.ply");
        EXPECT_TRUE(WriteFileBytes(dir.File("UserManual.pdf"), "%PDF-1.4"));
    }

    [[nodiscard]] static bool Administrator() { return GetParam(); }

    // Unit 1 selected; the playlist file's two clips, the second selected,
    // nothing unsaved.
    void Reset() {
        PlayList& playlist = app->Playlist();
        if (playlist.IsModified()) {
            ASSERT_TRUE(playlist.Save());
        }
        ASSERT_TRUE(WriteFileBytes(playlistPath,
                                   "0\t/media/a.mpg\tAuto\t\t1 KB\tAll\tloop\tNone\tNone\tA\t\r\n"
                                   "0\t/media/b.mpg\tAuto\t\t1 KB\tAll\tloop\tNone\tNone\tA\t"));
        ASSERT_TRUE(playlist.OpenFile(playlistPath));
        Window().playlist.ClickRow(1);
        int row = -1;
        ASSERT_TRUE(app->Venue().FindUnit(1, row));
        Window().units.ClickRow(row);
    }

    [[nodiscard]] std::size_t Shown(const std::string& caption) const {
        std::size_t count = 0;
        for (const Message& message : platform->ShownMessages()) {
            count += message.caption == caption ? 1 : 0;
        }
        return count;
    }
    [[nodiscard]] std::size_t FileDialogs(const std::string& title) const {
        std::size_t count = 0;
        for (const auto& shown : platform->fileDialogs.ShownDialogs()) {
            count += shown.request.title == title ? 1 : 0;
        }
        return count;
    }
    // The operator answers the next question captioned caption.
    Reach Question(const std::string& caption, MessageAnswer answer) {
        return {[=, this] { platform->QueueAnswer(answer, caption); },
                Grew([=, this] { return Shown(caption); })};
    }
    Reach FileDialog(const std::string& title) {
        return {[this] { platform->QueueFileChoice(std::nullopt); },
                Grew([=, this] { return FileDialogs(title); })};
    }
    template <class Script>
    Reach Form(Script& script) {
        return {[&script] { script.QueueCancel(); },
                Grew([&script] { return script.Opened().size(); })};
    }
    // True once count() has grown past what it was when this was made.
    static std::function<bool()> Grew(std::function<std::size_t()> count) {
        return [count, before = count()] { return count() > before; };
    }

    // The operation of every menu item and button, by id.
    std::map<int, std::function<Reach()>> Operations() {
        auto emptied = [this] {
            return Reach{[] {}, [this] { return app->Playlist().ItemCount() == 0; }};
        };
        auto up = [this] {
            return Reach{[] {},
                         [this] { return app->Playlist().ClipAt(0)->path == "/media/b.mpg"; }};
        };
        auto addMedia = [this] { return FileDialog("Choose Media File"); };
        auto deleteMedia = [this] { return Question("PERMANENT DELETE", MessageAnswer::No); };
        // The administrator may not deploy to all units.
        auto toAll = [this] {
            return Administrator() ? Question("Not Allowed", MessageAnswer::Ok)
                                   : Form(views->confirmation.script);
        };
        auto toSelected = [this] { return Form(views->confirmation.script); };
        auto& forms = views->adminForms;
        return {
            {c::kNewPlaylist, emptied},
            {c::kOpenPlaylist, [this] { return FileDialog("Choose Play List to Open"); }},
            {c::kOpenUnitPlaylist,
             [this] {
                 return Reach{[] {},
                              [this] {
                                  return app->Playlist().FilePath().empty() &&
                                         app->Playlist().ClipAt(0)->path ==
                                             "C:\\Media\\Office\\test_pattern.mpg";
                              }};
             }},
            {c::kClosePlaylist, emptied},
            {c::kSavePlaylist,
             [this] {
                 return Reach{[this] { ASSERT_TRUE(WriteFileBytes(playlistPath, "stale")); },
                              [this] { return ReadFileBytes(playlistPath) != "stale"; }};
             }},
            {c::kSavePlaylistAs, [this] { return FileDialog("Choose Playlist File name"); }},
            {c::kExit,
             [this] {
                 return Reach{[] {}, [this] { return Window().quit; }};
             }},
            {c::kEditUnit, [this] { return Form(views->unitEditor.script); }},
            {c::kAddMedia, addMedia},
            {c::kDeleteMedia, deleteMedia},
            {c::kEditMedia, [this] { return Form(views->clipEditor.script); }},
            {c::kMoveMediaUp, up},
            {c::kMoveMediaDown,
             [this] {
                 return Reach{[this] { Window().playlist.ClickRow(0); },
                              [this] {
                                  return app->Playlist().ClipAt(1)->path == "/media/a.mpg" &&
                                         app->Playlist().IsModified();
                              }};
             }},
            {c::kLoginInfo, [this] { return Form(views->login.script); }},
            {c::kDeployToAll, toAll},
            {c::kDeployToSelected, toSelected},
            {c::kCrawlText, [&forms, this] { return Form(forms.crawl); }},
            {c::kAdminConfig, [&forms, this] { return Form(forms.adminConfig); }},
            {c::kNewFirmware, [this] { return FileDialog(std::string(kFirmwareChooserTitle)); }},
            {c::kNewTimezone, [&forms, this] { return Form(forms.timezone); }},
            {c::kNewOwner, [&forms, this] { return Form(forms.ownerForm); }},
            {c::kStatusReport, [this] { return Form(views->reportDates.script); }},
            {c::kActivityReport,
             [this] {
                 return Reach{[] {}, Grew([this] { return views->reportWindow.owners.size(); })};
             }},
            {c::kDayPlan,
             [this] {
                 return Reach{[] {}, Grew([this] { return views->dayPlan.shown.size(); })};
             }},
            {c::kAbout,
             [this] {
                 return Reach{[] {}, Grew([this] { return views->about.forms.size(); })};
             }},
            {c::kUserManual,
             [this] {
                 return Reach{[] {},
                              [this] {
                                  return !platform->shell.opened.empty() &&
                                         platform->shell.opened.back().target ==
                                             dir.File("UserManual.pdf");
                              }};
             }},
            {c::kCheckForUpdates, [this] { return Form(views->autoUpdates.script); }},
            {c::kSelectShownUnits,
             [this] {
                 return Reach{
                     [] {},
                     [this] { return app->Venue().SelectedCount() == app->Venue().ItemCount(); }};
             }},
            // With no filter typed there is nothing to save: it says so.
            {c::kSaveGroup, [this] { return Question("Save Filter as Group", MessageAnswer::Ok); }},
            // The Preview button's own command; the other buttons run menu commands.
            {c::kPreviewMedia,
             [this] {
                 return Reach{[] {},
                              [this] {
                                  return !platform->shell.opened.empty() &&
                                         platform->shell.opened.back().target == "/media/b.mpg";
                              }};
             }},
        };
    }

    // Runs one entry by the way the window sends it and checks its operation ran.
    void Walk(const std::function<Reach()>& operation, const std::function<void()>& send,
              const std::string& name) {
        Reset();
        Reach reach = operation();
        reach.arm();
        send();
        EXPECT_TRUE(reach.reached()) << name << " did not reach its operation";
    }

    ServerRunner server;
    std::string playlistPath;
};

TEST_P(CommandWalk, EveryMenuItemAcceleratorAndButtonReachesItsOperation) {
    Window().whileRunning = [&] {
        ASSERT_GT(app->Venue().ItemCount(), 0);
        const auto operations = Operations();
        auto operationOf = [&](int id) -> std::function<Reach()> {
            const auto found = operations.find(id);
            if (found == operations.end()) {
                ADD_FAILURE() << "no operation known for " << id;
                return [] { return Reach{[] {}, [] { return true; }}; };
            }
            return found->second;
        };
        auto& events = Window().Events();
        std::size_t walked = 0;
        for (const CommandItem& item : CommandTable()) {
            const std::string label(item.label);
            if (item.id == c::kExit) {
                continue;  // last: it empties the lists
            }
            if (!Window().InMenu(item.id)) {
                EXPECT_TRUE(item.administratorOnly && !Administrator()) << label;
                continue;
            }
            Walk(
                operationOf(item.id), [&] { events.OnCommand(item.id); }, label);
            ++walked;
            if (item.acceleratorId != 0) {
                Walk(
                    operationOf(item.id), [&] { events.OnCommand(item.acceleratorId); },
                    label + " (accelerator)");
            }
        }
        for (const ButtonItem& button : ButtonTable()) {
            Walk(
                operationOf(button.command), [&] { events.OnButton(button.command); },
                std::string(button.text));
        }
        Walk(
            operationOf(c::kExit), [&] { events.OnCommand(c::kExit); }, "Exit");
        const auto hidden = CommandsHiddenFrom(Administrator() ? "sovra" : "operator");
        EXPECT_EQ(walked + 1 + hidden.size(), CommandTable().size());
    };
    app->Run();
}

INSTANTIATE_TEST_SUITE_P(Logins, CommandWalk, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return info.param ? "Administrator" : "Operator";
                         });

}  // namespace
}  // namespace vantic
