#include "app/update/software_update.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>

#include "core/cpstring.h"
#include "framework/program_path.h"
#include "net/md5.h"
#include "net/update_signature.h"

namespace vantic {

namespace {

constexpr const char* kCurrentSignature = "current.sig";
constexpr const char* kNewSignature = "newupdate.sig";
constexpr const char* kNewProgram = "newupdate.exe";
constexpr std::size_t kDigestSize = 16;

// Beside the program, or the user's folder when that cannot be written.
std::string BesideProgram(const char* name) {
    return WritableFilePath(name);
}

// Written beside the target and renamed over it: the old file stays whole
// until the new one is complete. The new file is never executable.
bool ReplaceFile(const std::string& path, std::string_view bytes) {
    const std::string temp = path + ".temp";
    if (!WriteWholeFile(temp, bytes, true) || !MoveFileOver(temp, path)) {
        std::remove(temp.c_str());
        return false;
    }
    return true;
}

bool MakeRunnable(const std::string& path) {
    return ::chmod(path.c_str(), 0755) == 0;
}

std::string SeriesPath(const char* format, int series) {
    char path[64];
    std::snprintf(path, sizeof path, format, series);
    return path;
}

// Whether the automatic check is due now; stores the first start's time.
bool AutomaticCheckDue(WReg& settings, std::int32_t now) {
    const std::int32_t last = settings.GetInt(kLastUpdateCheckKey, 0);
    if (last == 0) {
        // The first run only starts the clock.
        settings.SetInt(kLastUpdateCheckKey, now);
        return false;
    }
    // Signed: a clock set back delays the check rather than forcing it.
    return static_cast<std::int64_t>(now) - last >= kUpdateIntervalSeconds;
}

// Shows the form; false when the flow stops there.
bool AskHowToCheck(UpdateCheckContext& context, WindowId owner) {
    AutoUpdateForm form;  // option 0, whatever is stored
    if (!context.form.RunAutoUpdateForm(owner, form)) {
        return false;  // "Ask Me Later": nothing stored
    }
    const int chosen = ChosenUpdateOption(form);
    if (chosen != update_option::kAskEachTime) {
        context.settings.SetInt(kUpdateOptionKey, chosen);
    }
    return chosen != update_option::kNever;
}

void ReportCurrent(Platform& platform, WindowId owner) {
    platform.Messages().Show(Message{owner, "No new updates are available at this time",
                                     "Software is Current", MessageIcon::Information,
                                     MessageButtons::Ok});
}

bool AskToInstall(Platform& platform, WindowId owner) {
    return platform.Messages().Show(
               Message{owner, "A new update is available, Would you like to install?",
                       "Install New Update?", MessageIcon::Question, MessageButtons::YesNo}) ==
           MessageAnswer::Yes;
}

bool DownloadWithDialog(UpdateCheckContext& context, WindowId owner, int series) {
    namespace layout = progress_layout;
    WProgress progress(context.platform);
    progress.Open(owner, layout::kDownload, layout::kOverallBar, layout::kOverallLabel, 100);
    const bool done = DownloadUpdate(context.fetcher, series, &progress);
    progress.Close();
    return done;
}

}  // namespace

std::string UpdateSignaturePath(int series) {
    return SeriesPath("downloads/update%d.sig", series);
}

std::string UpdateProgramPath(int series) {
    return SeriesPath("downloads/update%d.exe", series);
}

bool CheckForUpdate(UpdateFetcher& fetcher, const RsaPublicKey& key, int series) {
    std::optional<std::string> offered = fetcher.Fetch(UpdateSignaturePath(series), nullptr);
    if (!offered) {
        return false;
    }
    if (ReadWholeFile(BesideProgram(kCurrentSignature)) == offered) {
        return false;  // the installed release is the one offered
    }
    return VerifyUpdateSignature(AsBytes(*offered), key) &&
           ReplaceFile(BesideProgram(kNewSignature), *offered);
}

bool DownloadUpdate(UpdateFetcher& fetcher, int series, WProgress* progress) {
    std::optional<std::string> program = fetcher.Fetch(UpdateProgramPath(series), progress);
    if (!program) {
        return false;
    }
    const std::string programPath = BesideProgram(kNewProgram);
    if (!ReplaceFile(programPath, *program)) {
        return false;
    }
    const Md5Digest digest = Md5Buffer(AsBytes(*program));
    std::optional<std::string> signature = ReadWholeFile(BesideProgram(kNewSignature));
    if (!signature || signature->size() < kDigestSize ||
        !std::equal(digest.begin(), digest.end(),
                    reinterpret_cast<const std::uint8_t*>(signature->data()))) {
        return false;
    }
    return MakeRunnable(programPath);
}

ProgramStart InstallUpdate(ShellLauncher& shell) {
    return shell.StartProgram(BesideProgram(kNewProgram), "/silent");
}

void RunUpdateCheck(UpdateCheckContext& context, bool requested, WindowId owner, int series) {
    WReg& settings = context.settings;
    const int option = EffectiveUpdateOption(settings.GetInt(kUpdateOptionKey, 0));
    if (!requested && option == update_option::kNever) {
        return;
    }
    // Calendar seconds, cut to 32 bits as they are stored.
    const auto now = static_cast<std::int32_t>(context.platform.Time().Now());
    if (!requested && !AutomaticCheckDue(settings, now)) {
        return;
    }
    const bool skipForm = !requested && option == update_option::kNotifyOnly;
    if (!skipForm && !AskHowToCheck(context, owner)) {
        return;
    }
    settings.SetInt(kLastUpdateCheckKey, now);
    if (!CheckForUpdate(context.fetcher, context.key, series)) {
        if (requested) {
            ReportCurrent(context.platform, owner);
        }
        return;
    }
    if (!AskToInstall(context.platform, owner) || !DownloadWithDialog(context, owner, series)) {
        return;
    }
    if (!context.prepareToClose()) {
        return;
    }
    // Quitting without an installer running would leave the operator with
    // no program at all.
    const ProgramStart installer = InstallUpdate(context.platform.Shell());
    if (installer.started) {
        context.quit();
        return;
    }
    context.resume();
    context.platform.Messages().ShowWithDetails(
        Message{owner, "The update could not be started", "Update Error", MessageIcon::Error,
                MessageButtons::Ok},
        installer.cause);
}

}  // namespace vantic
