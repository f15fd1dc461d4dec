// The writers of every file the controller or the server replaces, driven
// for the kill test (scripts/crash-test):
//   crash_writer KIND DIR loop [STATE]
//                                 rewrite the file for ever, alternating
//                                 between two versions (until killed); with
//                                 STATE, that one-byte file says at every
//                                 moment whether a write is under way ('1')
//   crash_writer KIND DIR stop STEP WRITE
//                                 rewrite the file as loop does, and kill
//                                 itself (SIGKILL) when the WRITE-th write
//                                 reaches STEP: opened (the temporary is
//                                 open), half (half the body written) or
//                                 rename (just before the rename)
//   crash_writer KIND DIR once    write the first version once and exit
//   crash_writer KIND DIR check   exit 0 when the file is whole: byte for
//                                 byte one of the two versions
//   crash_writer KIND DIR clean   exit 0 when DIR holds no temporary file
// KIND: config, playlist, crawl, colours, report, instructions, media. Each
// writer is the program's own code; the versions (but the colours' fixed 64
// bytes) are large enough that a kill often lands mid-write.

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <set>
#include <string>
#include <string_view>

#include "core/cpstring.h"
#include "core/write_steps.h"
#include "framework/program_path.h"
#include "framework/wreg.h"
#include "net/hex.h"
#include "net/md5.h"
#include "playlist/entry_set.h"
#include "reports/report_window.h"
#include "server/store.h"
#include "units/admin_commands.h"
#include "units/colour_pick.h"

namespace vantic {
namespace {

namespace fs = std::filesystem;

// Version 0 is short, version 1 long, so a torn long file is never mistaken
// for the short one.
std::string Payload(int version) {
    std::string text = version == 0 ? "short version" : "";
    for (int line = 0; version == 1 && line < 4000; ++line) {
        text += "line " + std::to_string(line) + " of the long version; ";
    }
    return text;
}

bool WriteConfig(const std::string& dir, int version) {
    WReg settings;
    settings.SetSettingsLocation(SettingsLocation{dir, ""});
    return settings.SetString("Payload", Payload(version));
}

bool WritePlaylist(const std::string& dir, int version) {
    EntrySet set;
    for (int clip = 0; clip < (version == 0 ? 1 : 400); ++clip) {
        PlayEntry entry;
        entry.isClip = true;
        entry.kind = clip % 4;
        entry.path = "/media/clip" + std::to_string(clip) + ".mpg";
        entry.notes = "clip of version " + std::to_string(version);
        set.List(entry.kind).push_back(entry);
    }
    const std::optional<cpStringArray> lines = EntrySetToLines(set);
    const std::string path = dir + "/show.PLY";
    const std::optional<std::string> temporary = CreateUniqueFile(dir, "vtc", path);
    return lines && temporary && lines->SaveLines(path, temporary);
}

// The crawl form's OK keeps the typed text in crawl.dat beside the program.
bool WriteCrawl(const std::string& dir, int version) {
    SetProgramDirectoryForTesting(dir);
    return ReplaceWholeFile(CrawlFilePath(), Payload(version));
}

// The operator leaves the colour chooser with every custom colour changed.
class ScriptedChooser final : public ColourChooser {
  public:
    explicit ScriptedChooser(int version) : version_(version) {}
    bool ChooseColour(WindowId, std::uint32_t& colour, CustomColours& customs) override {
        for (std::size_t slot = 0; slot < customs.size(); ++slot) {
            customs[slot] = version_ == 0 ? static_cast<std::uint32_t>(slot)
                                          : 0x00FFFFFFu - static_cast<std::uint32_t>(slot);
        }
        colour = customs[0];
        return true;
    }

  private:
    int version_;
};

bool WriteColours(const std::string& dir, int version) {
    SetProgramDirectoryForTesting(dir);
    ScriptedChooser chooser(version);
    std::uint32_t colour = 0;
    return PickColour(chooser, kNoWindow, colour) &&
           FileExists(WritableFilePath(kCustomColoursFile));
}

bool WriteReport(const std::string& dir, int version) {
    return WriteReportFile(dir + "/report.rtf", "{\\rtf1 " + Payload(version) + "}");
}

std::unique_ptr<server::Store> OpenStore(const std::string& dir) {
    std::string error;
    std::unique_ptr<server::Store> store = server::Store::Open(dir, false, error);
    if (!store) {
        std::fprintf(stderr, "store: %s\n", error.c_str());
    }
    return store;
}

bool WriteInstructions(server::Store& store, int version) {
    return store.WriteUnitFile(101, server::UnitFile::Instructions, Payload(version));
}

// Every media write is new content under its own name.
bool WriteMedia(server::Store& store, int serial) {
    const std::string bytes = Payload(1) + std::to_string(serial);
    const Md5Digest digest = Md5Buffer(AsBytes(bytes));
    server::Digest name{};
    std::copy(digest.begin(), digest.end(), name.begin());
    return store.WriteMedia(name, bytes);
}

std::string TargetOf(std::string_view kind, const std::string& dir) {
    if (kind == "config") {
        return dir + "/config.ini";
    }
    if (kind == "playlist") {
        return dir + "/show.PLY";
    }
    if (kind == "report") {
        return dir + "/report.rtf";
    }
    if (kind == "crawl") {
        return dir + "/crawl.dat";
    }
    if (kind == "colours") {
        return dir + "/customcolor.dat";
    }
    return dir + "/units/101/instructions.txt";
}

std::optional<std::string> ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    return std::string{std::istreambuf_iterator<char>(in), {}};
}

bool Write(std::string_view kind, const std::string& dir, int serial) {
    if (kind == "config") {
        return WriteConfig(dir, serial % 2);
    }
    if (kind == "playlist") {
        return WritePlaylist(dir, serial % 2);
    }
    if (kind == "report") {
        return WriteReport(dir, serial % 2);
    }
    if (kind == "crawl") {
        return WriteCrawl(dir, serial % 2);
    }
    if (kind == "colours") {
        return WriteColours(dir, serial % 2);
    }
    static std::unique_ptr<server::Store> store = OpenStore(dir);
    if (!store) {
        return false;
    }
    return kind == "media" ? WriteMedia(*store, serial) : WriteInstructions(*store, serial % 2);
}

// Each stored medium's name is the digest of what it holds.
bool MediaWhole(const std::string& dir) {
    for (const auto& entry : fs::directory_iterator(dir + "/media")) {
        const std::optional<std::string> bytes = ReadAll(entry.path().string());
        if (!bytes || HexEncode(Md5Buffer(AsBytes(*bytes))) != entry.path().filename().string()) {
            std::fprintf(stderr, "torn: %s\n", entry.path().c_str());
            return false;
        }
    }
    return true;
}

// The file matches one of the versions as the same writer makes it afresh.
bool Whole(std::string_view kind, const std::string& dir) {
    if (kind == "media") {
        return MediaWhole(dir);
    }
    const std::optional<std::string> now = ReadAll(TargetOf(kind, dir));
    if (!now) {
        std::fprintf(stderr, "missing: %s\n", TargetOf(kind, dir).c_str());
        return false;
    }
    const std::string scratch = dir + ".versions";
    for (int version = 0; version < 2; ++version) {
        fs::remove_all(scratch);
        fs::create_directories(scratch);
        if (kind == "instructions") {
            std::unique_ptr<server::Store> store = OpenStore(scratch);
            if (!store || !WriteInstructions(*store, version)) {
                return false;
            }
        } else if (!Write(kind, scratch, version)) {
            return false;
        }
        if (ReadAll(TargetOf(kind, scratch)) == now) {
            fs::remove_all(scratch);
            return true;
        }
    }
    fs::remove_all(scratch);
    std::fprintf(stderr, "torn: %s (%zu bytes)\n", TargetOf(kind, dir).c_str(), now->size());
    return false;
}

// Only the target (and the store's own folders and lock) may remain.
bool Clean(std::string_view kind, const std::string& dir) {
    const std::set<std::string> allowed = {"config.ini",      "show.PLY", "report.rtf", "crawl.dat",
                                           "customcolor.dat", "units",    "media",      "tmp",
                                           "server.lock"};
    bool clean = true;
    for (const auto& entry : fs::recursive_directory_iterator(dir)) {
        const std::string name = entry.path().filename().string();
        const bool inMedia = entry.path().parent_path().filename() == "media";
        const bool inUnit = name == "101" || name == "instructions.txt";
        if (!allowed.contains(name) && !(inMedia && kind == "media") && !inUnit) {
            std::fprintf(stderr, "left over: %s\n", entry.path().c_str());
            clean = false;
        }
    }
    return clean;
}

// The write under way, counted from 1, and where the kill test wants the
// writer to stop or to record its progress.
int g_write = 0;
int g_stopWrite = 0;
WriteStep g_stopStep = WriteStep::TemporaryOpened;
int g_stateFd = -1;

void RecordState(char state) {
    if (::pwrite(g_stateFd, &state, 1, 0) != 1) {
        std::perror("state");
    }
}

void RecordStep(WriteStep step) {
    RecordState(step == WriteStep::Renamed ? '0' : '1');
}

void StopAtStep(WriteStep step) {
    if (g_write == g_stopWrite && step == g_stopStep) {
        ::raise(SIGKILL);
    }
}

std::optional<WriteStep> StepNamed(std::string_view name) {
    if (name == "opened") {
        return WriteStep::TemporaryOpened;
    }
    if (name == "half") {
        return WriteStep::BodyHalfWritten;
    }
    if (name == "rename") {
        return WriteStep::BeforeRename;
    }
    return std::nullopt;
}

// Either way, the writer only ever stops by being killed.
int Loop(std::string_view kind, const std::string& dir) {
    for (g_write = 1;; ++g_write) {
        if (!Write(kind, dir, g_write)) {
            std::fprintf(stderr, "write %d failed\n", g_write);
            return 1;
        }
        if (g_stateFd >= 0) {
            RecordState('0');
        }
    }
}

int LoopRecording(std::string_view kind, const std::string& dir, const char* statePath) {
    g_stateFd = ::open(statePath, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (g_stateFd < 0) {
        std::perror(statePath);
        return 2;
    }
    RecordState('0');
    SetWriteStepObserverForTesting(RecordStep);
    return Loop(kind, dir);
}

int LoopUntilStep(std::string_view kind, const std::string& dir, std::string_view step,
                  const char* write) {
    const std::optional<WriteStep> stopStep = StepNamed(step);
    g_stopWrite = std::atoi(write);
    if (!stopStep || g_stopWrite < 1) {
        std::fprintf(stderr, "crash_writer: no step %.*s or write %s\n",
                     static_cast<int>(step.size()), step.data(), write);
        return 2;
    }
    g_stopStep = *stopStep;
    SetWriteStepObserverForTesting(StopAtStep);
    return Loop(kind, dir);
}

}  // namespace
}  // namespace vantic

int main(int argc, char** argv) {
    using namespace vantic;
    if (argc < 4 || argc > 6) {
        std::fprintf(stderr,
                     "usage: crash_writer KIND DIR loop [STATE]|stop STEP WRITE|once|"
                     "check|clean\n");
        return 2;
    }
    const std::string_view kind = argv[1];
    const std::string dir = argv[2];
    const std::string_view mode = argv[3];
    if (mode == "check") {
        return Whole(kind, dir) ? 0 : 1;
    }
    if (mode == "clean") {
        return Clean(kind, dir) ? 0 : 1;
    }
    if (mode == "once") {
        return Write(kind, dir, 0) ? 0 : 1;
    }
    if (mode == "stop" && argc == 6) {
        return LoopUntilStep(kind, dir, argv[4], argv[5]);
    }
    return argc == 5 ? LoopRecording(kind, dir, argv[4]) : Loop(kind, dir);
}
