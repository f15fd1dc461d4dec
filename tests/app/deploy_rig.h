#pragma once

// The application's deployment on the scripted platform, with the real unit
// list, login settings, playlist document and progress dialog, and scripted
// forms for the typed confirmation, the login and the clip editor. Media
// files are read through a counting file service, and their digests kept
// in the rig's folder ("cache/digests").

#include <cstdint>
#include <string>
#include <vector>

#include "app/deployment.h"
#include "framework/wreg.h"
#include "net/server_login.h"
#include "platform/progress_window.h"
#include "tests/support/counting_file_service.h"
#include "tests/support/memory_login_store.h"
#include "tests/support/scripted_form.h"
#include "tests/support/scripted_form_views.h"
#include "tests/support/scripted_platform.h"
#include "tests/support/temp_dir.h"

namespace vantic::testing {

class DeployRig {
  public:
    explicit DeployRig(const std::string& keyFile = "p.key");

    void LogIn(const std::string& host, const std::string& login, const std::string& password);
    // Rows as a unit list reply would bring them, then the selection.
    void ShowUnits(const std::string& reply) { venue.MergeReply(reply); }
    void Select(const std::vector<std::uint32_t>& units);
    // Opens text as a .PLY file and shows channel.
    [[nodiscard]] bool OpenPlaylist(const std::string& text, int channel);

    DeployResult Deploy(bool selectedOnly, std::optional<EntryList> changeList = std::nullopt,
                        bool channelConfirmation = true, bool quiet = false) {
        return deployment.Deploy(selectedOnly, std::move(changeList), channelConfirmation, quiet);
    }

    // The messages shown, as "caption: text".
    [[nodiscard]] std::vector<std::string> Messages() const;
    // The progress dialog's status lines, in order.
    [[nodiscard]] std::vector<std::string> StatusLines() const;

    TempDir dir;
    ScriptedPlatform platform;
    WindowId mainWindow = kNoWindow;
    MemoryLoginStore store;
    LoginSettings login;
    ScriptedLoginView loginView;
    ServerLogin serverLogin;
    ScriptedListControl unitControl;
    VenueList venue;
    WReg settings;
    ScriptedClipEditor clipEditor;
    ScriptedListControl playlistControl;
    PlayList playlist;
    ScriptedConfirmView confirm;
    CountingFileService files;
    std::string digestCache = dir.File("cache/digests");
    Deployment deployment;
};

inline DeployRig::DeployRig(const std::string& keyFile)
    : login(store, keyFile),
      serverLogin(login, loginView, [] {}),
      venue(platform, login),
      playlist(settings, platform, clipEditor),
      deployment(platform, venue, serverLogin, playlist, confirm, &settings, files, digestCache) {
    mainWindow = platform.windows.NewWindow(kNoWindow, Rect{100, 100, 900, 700});
    settings.SetSettingsLocation({dir.Path(), {}});
    venue.Attach(&unitControl);
    playlist.SetWindows(mainWindow, nullptr);
    playlist.AttachList(&playlistControl);
    deployment.SetMainWindow(mainWindow);
}

inline void DeployRig::LogIn(const std::string& host, const std::string& name,
                             const std::string& password) {
    store.values = {{"Distribution_Server", host},
                    {"Distribution_Username", name},
                    {"Distribution_Userpass", password},
                    {"Distribution_Userpass_Remember", "1"}};
}

inline void DeployRig::Select(const std::vector<std::uint32_t>& units) {
    venue.DeselectAll();
    for (std::uint32_t unit : units) {
        int row = -1;
        if (venue.FindUnit(unit, row)) {
            venue.SelectRow(row, true);
        }
    }
}

inline bool DeployRig::OpenPlaylist(const std::string& text, int channel) {
    const std::string path = dir.File("deploy.PLY");
    if (!WriteFileBytes(path, text) || !playlist.OpenFile(path)) {
        return false;
    }
    playlist.SelectChannel(channel);
    return true;
}

inline std::vector<std::string> DeployRig::Messages() const {
    std::vector<std::string> shown;
    for (const Message& message : platform.ShownMessages()) {
        shown.push_back(message.caption + ": " + message.text);
    }
    return shown;
}

inline std::vector<std::string> DeployRig::StatusLines() const {
    std::vector<std::string> lines;
    for (const auto& record : platform.progress.Records()) {
        auto found = record->texts.find(progress_layout::kStatusLine);
        if (found != record->texts.end()) {
            lines.insert(lines.end(), found->second.begin(), found->second.end());
        }
    }
    return lines;
}

}  // namespace vantic::testing
