// A channel deployment of a 10-clip playlist to 200 units on the reference
// server over loopback, through the same routine the program and vanticctl
// run: media phase, then the per-unit pass with its 50 ms spacing. Each
// unit starts with an instruction file of 10 clips and 20 settings.
//
// One deployment takes about ten seconds, so it runs once. The counters:
//   units_s        the per-unit pass, wall time
//   beyond_ms      per unit, wall time beyond the 50 ms spacing: the
//                  controller, the server (on the same cores) and loopback
//                  together; server_no_sync:1 runs the server without the
//                  fsync before each file it stores
//   own_cpu_ms     per unit, the deploying thread's CPU time in the pass:
//                  the controller's own time
//   media_s        the media phase (10 uploads of 256 KB)
// Build with -DCMAKE_BUILD_TYPE=Release to measure.

#include <benchmark/benchmark.h>

#include <time.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <ostream>
#include <sstream>

#include "platform/console_platform.h"
#include "tests/support/server_runner.h"
#include "units/deploy.h"
#include "units/deploy_interfaces.h"
#include "units/unit_rows.h"
#include "units/upload_progress.h"

namespace {

using namespace vantic;
using Seconds = std::chrono::duration<double>;

constexpr int kUnits = 200;
constexpr int kClips = 10;
constexpr const char* kLogin = "deployer";
constexpr const char* kPassword = "Bench4Deploy";

double ThreadCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

std::string ClipLine(int channel, const std::string& path, int n) {
    return std::to_string(channel) + "\t" + path +
           "\t30.000000\t\t256 KB\tAll\tloop\tNone\tNone\t" + (channel == 3 ? "B" : "A") +
           "\tclip " + std::to_string(n);
}

// The venue: 200 units, each with a file of 10 clips and 20 settings.
bool PrepareVenue(testing::ServerRunner& server) {
    const std::string data = server.DataDir();
    std::string units;
    std::string file;
    for (int i = 0; i < kClips; ++i) {
        file += ClipLine(i % 2, "C:\\Media\\old_" + std::to_string(i) + ".mpg", i) + "\n";
    }
    for (int i = 0; i < 20; ++i) {
        file += "4\tsetting" + std::to_string(i) + "\tvalue " + std::to_string(i) + "\n";
    }
    for (int unit = 1; unit <= kUnits; ++unit) {
        units += std::to_string(5000 + unit) + "\tUnit\tOK\t\t\n";
        const std::string dir = data + "/units/" + std::to_string(5000 + unit);
        std::filesystem::create_directories(dir);
        if (!testing::WriteFileBytes(dir + "/instructions.txt", file)) {
            return false;
        }
    }
    return testing::WriteFileBytes(data + "/units.txt", units) &&
           server.AddAccount(kLogin, kPassword, "*");
}

class TypesYes final : public ConfirmFormView {
  public:
    bool RunConfirmForm(WindowId, ConfirmForm& form, const ConfirmCheck& onOk) override {
        form.typed = form.word;
        return onOk(form);
    }
};

// The server binary of this build tree (<build>/bench/deploy_bench is this
// program) unless VANTIC_BIN_DIR names another build.
void FindServerBinary() {
    if (std::getenv("VANTIC_BIN_DIR") == nullptr) {
        std::error_code error;
        const auto self = std::filesystem::read_symlink("/proc/self/exe", error);
        setenv("VANTIC_BIN_DIR", self.parent_path().parent_path().c_str(), 0);
    }
}

void BM_DeployChannelTo200Units(benchmark::State& state) {
    FindServerBinary();
    testing::ServerRunnerOptions options;
    if (state.range(0) != 0) {
        options.extraArgs = {"--no-sync"};
    }
    testing::ServerRunner server(options);
    if (!server.Ok() || !PrepareVenue(server)) {
        state.SkipWithError("the reference server did not start");
        return;
    }
    testing::TempDir media;
    EntryList clips;
    for (int i = 0; i < kClips; ++i) {
        const std::string path = media.File("clip" + std::to_string(i) + ".mpg");
        (void)testing::WriteFileBytes(path, std::string(256 * 1024, static_cast<char>('a' + i)));
        EntrySet one;
        (void)TextToEntrySet(ClipLine(0, path, i), one);
        clips.push_back(one.List(0).at(0));
    }

    std::ostringstream discard;
    std::istringstream noInput;
    ConsolePlatform platform(discard, noInput, true);
    UploadProgress progress(platform);
    FixedLogin login(ServerAccess{server.Address(), kLogin, kPassword, server.KeyFile()});
    UnitRows units =
        UnitRows::FromUnitListReply(testing::ReadFileBytes(server.DataDir() + "/units.txt"));
    TypesYes confirm;

    auto mediaEnd = std::chrono::steady_clock::now();
    double cpuAtMediaEnd = 0;
    const MediaUploader upload = ServerMediaUploader(login, platform.Messages());
    int uploaded = 0;
    const MediaUploader timedUpload = [&](PlayEntry& clip, OperationProgress& view,
                                          std::string& cause) {
        const bool held = upload(clip, view, cause);
        if (++uploaded == kClips) {
            mediaEnd = std::chrono::steady_clock::now();
            cpuAtMediaEnd = ThreadCpuSeconds();
        }
        return held;
    };
    DeployContext context{platform,
                          kNoWindow,
                          units,
                          login,
                          progress,
                          confirm,
                          [&clips] {
                              return std::optional(ChannelClips{0, clips});
                          },
                          timedUpload};

    for (auto _ : state) {
        uploaded = 0;
        const auto start = std::chrono::steady_clock::now();
        const DeployResult result = Deploy(context, DeployRequest::Channel(DeployTo::AllUnits()));
        const auto end = std::chrono::steady_clock::now();
        const double cpuEnd = ThreadCpuSeconds();
        if (result != DeployResult::Succeeded) {
            state.SkipWithError("the deployment failed");
            return;
        }
        const double pass = Seconds(end - mediaEnd).count();
        state.counters["media_s"] = Seconds(mediaEnd - start).count();
        state.counters["units_s"] = pass;
        state.counters["beyond_ms"] = (pass / kUnits - kUnitSpacingMs / 1000.0) * 1000.0;
        state.counters["own_cpu_ms"] = (cpuEnd - cpuAtMediaEnd) / kUnits * 1000.0;
    }
}
BENCHMARK(BM_DeployChannelTo200Units)
    ->ArgName("server_no_sync")
    ->Arg(0)
    ->Arg(1)
    ->Iterations(1)
    ->Unit(benchmark::kSecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime();

}  // namespace

BENCHMARK_MAIN();
