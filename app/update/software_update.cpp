#include "app/update/software_update.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "app/update/update_files.h"
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

// The installed release's signature file, wherever an install put it: where
// the program keeps its files, or the package's data folder.
bool IsInstalledRelease(const std::string& offered) {
    std::vector<std::string> places = PackageDataCandidates(kCurrentSignature);
    places.insert(places.begin(), BesideProgram(kCurrentSignature));
    return std::any_of(places.begin(), places.end(),
                       [&](const std::string& place) { return ReadWholeFile(place) == offered; });
}

bool DigestMatches(std::string_view program, std::string_view signature) {
    const Md5Digest digest = Md5Buffer(AsBytes(program));
    return signature.size() >= kDigestSize &&
           std::equal(digest.begin(), digest.end(),
                      reinterpret_cast<const std::uint8_t*>(signature.data()));
}

// Both update files as they are on disk right before the start: the
// signature verifies, the program is the one it vouches for, and the
// program's name still leads to the bytes just hashed.
bool VerifiedOnDisk(const std::string& programPath, const RsaPublicKey& key) {
    const std::optional<OwnFile> signature = ReadOwnFile(BesideProgram(kNewSignature));
    const std::optional<OwnFile> program = ReadOwnFile(programPath);
    return signature && program && VerifyUpdateSignature(AsBytes(signature->bytes), key) &&
           DigestMatches(program->bytes, signature->bytes) &&
           StillNames(programPath, program->identity);
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

void ReportBadServer(Platform& platform, WindowId owner, const std::string& problem) {
    platform.Messages().Show(
        Message{owner, problem, "Software Update", MessageIcon::Error, MessageButtons::Ok});
}

void PointToPackageManager(Platform& platform, WindowId owner) {
    platform.Messages().Show(Message{owner, kPackagedUpdateText, "New Update Available",
                                     MessageIcon::Information, MessageButtons::Ok});
}

bool DownloadWithDialog(UpdateCheckContext& context, WindowId owner, int series) {
    WProgress progress(context.platform);
    progress.Open(owner, ProgressLayout::Download, 100);
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
    if (IsInstalledRelease(*offered)) {
        return false;  // the installed release is the one offered
    }
    return VerifyUpdateSignature(AsBytes(*offered), key) &&
           PlaceUpdateFile(BesideProgram(kNewSignature), *offered, kUpdateFileMode);
}

bool DownloadUpdate(UpdateFetcher& fetcher, int series, WProgress* progress) {
    std::optional<std::string> program = fetcher.Fetch(UpdateProgramPath(series), progress);
    if (!program) {
        return false;
    }
    const std::optional<std::string> signature = ReadWholeFile(BesideProgram(kNewSignature));
    const bool genuine = signature && DigestMatches(*program, *signature);
    // A program that differs from its digest is kept for inspection, but
    // never gets its run permission.
    return PlaceUpdateFile(BesideProgram(kNewProgram), *program,
                           genuine ? kVerifiedProgramMode : kUpdateFileMode) &&
           genuine;
}

ProgramStart InstallUpdate(ShellLauncher& shell, const RsaPublicKey& key) {
    const std::string program = BesideProgram(kNewProgram);
    if (!VerifiedOnDisk(program, key)) {
        return ProgramStart{false, program + ": the file no longer matches its signature file"};
    }
    return shell.StartProgram(program, "/silent");
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
    if (!context.serverProblem.empty()) {
        ReportBadServer(context.platform, owner, context.serverProblem);
        return;
    }
    if (!CheckForUpdate(context.fetcher, context.key, series)) {
        if (requested) {
            ReportCurrent(context.platform, owner);
        }
        return;
    }
    if (context.packaged) {
        PointToPackageManager(context.platform, owner);
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
    const ProgramStart installer = InstallUpdate(context.platform.Shell(), context.key);
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
