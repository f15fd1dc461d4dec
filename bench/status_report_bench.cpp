// The status report of 200 units on the reference server over loopback,
// through the routine the program and vanticctl run. Every unit reports
// what the demo venue's food-court player does: an information record,
// timing words, a playlist and 30 days of proof of play.
//
// The pause that closes each page is counted, not slept (its 150 ms are
// the same on any machine). The counters:
//   requests_ms  per unit, the four requests (controller, server and
//                loopback together, on the same cores)
//   own_ms       per unit, the controller's own time: the run's wall time
//                less its requests and pauses (target: under 5 ms)
//   own_cpu_ms   per unit, the building thread's CPU time less that of
//                the requests
//   doc_bytes    the finished document
// Build with -DCMAKE_BUILD_TYPE=Release to measure. Measured on two
// shared cores at load 8: own_ms 1.07-1.21, own_cpu_ms 1.00-1.13,
// requests_ms 5.9-6.3, a document of 260 KB.

#include <benchmark/benchmark.h>

#include <time.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "framework/wprogress.h"
#include "platform/console_platform.h"
#include "reports/status_report.h"
#include "tests/support/server_runner.h"
#include "units/unit_rows.h"
#include "units/upload_progress.h"

namespace {

using namespace vantic;
using Seconds = std::chrono::duration<double>;

constexpr int kUnits = 200;
constexpr std::uint32_t kModelUnit = 1012;

double ThreadCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

// The system's clock, but a pause is only added up.
class PauseCountingClock final : public Clock {
  public:
    explicit PauseCountingClock(Clock& real) : real_(real) {}
    [[nodiscard]] std::int64_t Now() const override { return real_.Now(); }
    [[nodiscard]] LocalTime ToLocal(std::int64_t seconds) const override {
        return real_.ToLocal(seconds);
    }
    [[nodiscard]] std::uint32_t TickMs() const override { return real_.TickMs(); }
    void Sleep(int milliseconds) override { pausedMs += milliseconds; }
    long long pausedMs = 0;

  private:
    Clock& real_;
};

// 200 units, each a copy of the demo's food-court player.
bool PrepareVenue(testing::ServerRunner& server) {
    const std::filesystem::path data = server.DataDir();
    const std::filesystem::path model = data / "units" / std::to_string(kModelUnit);
    std::string units;
    for (int i = 1; i <= kUnits; ++i) {
        const std::string unit = std::to_string(7000 + i);
        units += unit + "\tUnit " + unit + "\tOK\t\t\n";
        std::error_code error;
        std::filesystem::copy(model, data / "units" / unit,
                              std::filesystem::copy_options::recursive, error);
        if (error) {
            return false;
        }
    }
    return testing::WriteFileBytes((data / "units.txt").string(), units);
}

void FindServerBinary() {
    if (std::getenv("VANTIC_BIN_DIR") == nullptr) {
        std::error_code error;
        const auto self = std::filesystem::read_symlink("/proc/self/exe", error);
        setenv("VANTIC_BIN_DIR", self.parent_path().parent_path().c_str(), 0);
    }
}

void BM_StatusReportOf200Units(benchmark::State& state) {
    FindServerBinary();
    testing::ServerRunner server(testing::ServerRunnerOptions{{}, 0, {"--no-sync"}, 30});
    if (!server.Ok() || !PrepareVenue(server)) {
        state.SkipWithError("the reference server did not start");
        return;
    }
    std::ostringstream discard;
    std::istringstream noInput;
    ConsolePlatform platform(discard, noInput, false);
    PauseCountingClock clock(platform.Time());
    WProgress progress(platform);
    FixedLogin login(ServerAccess{server.Address(), server.Administrator().login,
                                  server.Administrator().password, server.KeyFile()});
    UnitRows units =
        UnitRows::FromUnitListReply(testing::ReadFileBytes(server.DataDir() + "/units.txt"));

    double requestWall = 0;
    double requestCpu = 0;
    const PayloadFetcher timedFetch = [&](const ServerAccess& access, ServerCommand command,
                                          std::int32_t unit) {
        const auto start = std::chrono::steady_clock::now();
        const double cpuStart = ThreadCpuSeconds();
        FetchResult result = FetchPayload(access, command, unit);
        requestCpu += ThreadCpuSeconds() - cpuStart;
        requestWall += Seconds(std::chrono::steady_clock::now() - start).count();
        return result;
    };
    StatusReportContext context{
        clock, units, login, progress, ReportDateRange{{2000, 1, 1}, {2099, 12, 31}}, timedFetch};

    for (auto _ : state) {
        requestWall = requestCpu = 0;
        clock.pausedMs = 0;
        const auto start = std::chrono::steady_clock::now();
        const double cpuStart = ThreadCpuSeconds();
        const StatusReportResult report = BuildStatusReport(context, kNoWindow);
        const double wall = Seconds(std::chrono::steady_clock::now() - start).count();
        const double cpu = ThreadCpuSeconds() - cpuStart;
        if (!report.text || report.text->find("Error getting") != std::string::npos) {
            state.SkipWithError("the report did not complete");
            return;
        }
        state.counters["requests_ms"] = requestWall / kUnits * 1000.0;
        state.counters["own_ms"] = (wall - requestWall) / kUnits * 1000.0;
        state.counters["own_cpu_ms"] = (cpu - requestCpu) / kUnits * 1000.0;
        state.counters["pause_ms"] = static_cast<double>(clock.pausedMs) / kUnits;
        state.counters["doc_bytes"] = static_cast<double>(report.text->size());
    }
}
BENCHMARK(BM_StatusReportOf200Units)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
