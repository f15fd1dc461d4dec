#pragma once

// The software update: a check that runs automatically at most once a week
// (or as the operator chose) and on request, a signature file verified
// under the update-signing key, the program downloaded and compared with
// the digest it vouches for, and the installer started.
//
// Files where the program writes its own: "current.sig" (the installed
// release's, only read; a package ships it in its data folder instead),
// "newupdate.sig" and "newupdate.exe" (written here, never deleted).

#include <functional>
#include <string>

#include "app/update/update_fetch.h"
#include "app/update/update_form.h"
#include "framework/wprogress.h"
#include "framework/wreg.h"
#include "net/rsa_key.h"
#include "platform/platform.h"

namespace vantic {

inline constexpr const char* kUpdateOptionKey = "Update_Check_Option";
inline constexpr const char* kLastUpdateCheckKey = "Last_Update_Check_Time";
inline constexpr int kUpdateIntervalSeconds = 604'800;  // 7 days

// Server paths of update series `series`.
[[nodiscard]] std::string UpdateSignaturePath(int series);
[[nodiscard]] std::string UpdateProgramPath(int series);

// True when a new, verified signature file was stored as "newupdate.sig".
// False when the fetch fails, "current.sig" holds the same bytes, the
// signature does not verify, or the file cannot be written.
[[nodiscard]] bool CheckForUpdate(UpdateFetcher& fetcher, const RsaPublicKey& key, int series);

// True when "newupdate.exe" was written and its MD5 equals the digest in
// "newupdate.sig"; only then may it run, and only then does it get its run
// permission. A cancelled or failed fetch gives false.
[[nodiscard]] bool DownloadUpdate(UpdateFetcher& fetcher, int series, WProgress* progress);

// Starts "newupdate.exe" with "/silent", once both update files, read again
// from disk, still verify under key; says why when it did not start.
[[nodiscard]] ProgramStart InstallUpdate(ShellLauncher& shell, const RsaPublicKey& key);

inline constexpr const char* kPackagedUpdateText =
    "A new update is available. Install it through your system's software updates (package "
    "vantic-controller).";

// What the whole flow needs from the program around it.
struct UpdateCheckContext {
    Platform& platform;
    WReg& settings;
    UpdateFetcher& fetcher;
    AutoUpdateFormView& form;
    const RsaPublicKey& key;
    // Offers to save the playlist and stores the layout; false keeps the
    // program open.
    std::function<bool()> prepareToClose;
    // Undoes prepareToClose when the installer could not start: the program
    // goes on as it was.
    std::function<void()> resume;
    // Ends the program with status 0 once the installer runs.
    std::function<void()> quit;
    // Why no request may be made (the update server setting is not a
    // server); empty when the check may go ahead.
    std::string serverProblem;
    // A program a package installed is updated by the system's package
    // manager: an update found is pointed out, not downloaded.
    bool packaged = false;
};

// The whole flow: requested is true for the menu command, false for the
// check when the main window is made; owner is the main window.
void RunUpdateCheck(UpdateCheckContext& context, bool requested, WindowId owner, int series);

}  // namespace vantic
