// The main window's command table in action: every menu item and
// accelerator runs one operation of the part of the program that owns it.

#include "app/app.h"

namespace vantic {

void App::RunCommand(int commandId) {
    namespace c = command;
    const CommandSpec* spec = FindCommand(commandId);
    if (spec == nullptr) {
        return;
    }
    switch (spec->id) {
        case c::kNewPlaylist:
        case c::kClosePlaylist:
            (void)playlist_.Close();
            break;
        case c::kOpenPlaylist:
            (void)playlist_.Open();
            break;
        case c::kOpenUnitPlaylist:
            if (playlist_.Close()) {
                venue_.OpenSelectedUnitPlaylist();
            }
            break;
        case c::kSavePlaylist:
            (void)playlist_.Save();
            break;
        case c::kSavePlaylistAs:
            (void)playlist_.SaveAs();
            break;
        case c::kExit:
            if (PrepareToClose()) {
                views_->MainWindow().PostQuit();
            }
            break;
        case c::kAddMedia:
            playlist_.AddClip();
            break;
        case c::kDeleteMedia:
            playlist_.DeleteSelectedClips(mainWindow_);
            break;
        case c::kEditMedia:
            if (playlist_.SelectedCount() > 0) {
                playlist_.EditClip();
            }
            break;
        case c::kMoveMediaUp:
            playlist_.MoveClipsUp();
            break;
        case c::kMoveMediaDown:
            playlist_.MoveClipsDown();
            break;
        case c::kLoginInfo:
            ShowLoginForm(mainWindow_);
            break;
        case c::kNewFirmware:
        case c::kNewOwner:
            // Both need the login first; their operations are not built yet.
            (void)EnsureLogin(mainWindow_);
            break;
        case c::kAbout:
            ShowAbout();
            break;
        case c::kUserManual:
            ShowUserManual();
            break;
        case c::kCheckForUpdates:
            RunUpdateCheck(true, mainWindow_, 1);
            break;
        default:
            // Unit editing, deployment, the administration commands and the
            // reports stay in the menu with their enabling rule; their
            // operations are not built yet.
            break;
    }
}

}  // namespace vantic
