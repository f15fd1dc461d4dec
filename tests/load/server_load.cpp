// The reference server under load with hostile clients mixed in:
//   server_load [--clients N] [--requests M] [--hostile H] [--rss-limit-mib L]
// starts vantic-server on a fresh demo venue, runs N honest clients of M
// requests each (the controller's own request code) while H hostile
// clients misbehave on the wire, then checks that every honest request
// succeeded, that the server's resident memory stayed under L MiB, and that
// nothing stored was lost or torn, and that no password reached the
// server's log or standard error. Prints the figures; exits 1 on a failed
// check, 2 on a bad command line or a server that does not start.

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "tests/load/load_clients.h"
#include "tests/load/store_check.h"
#include "tests/support/server_runner.h"

namespace vantic::load {
namespace {

struct LoadOptions {
    int clients = 200;
    int requests = 50;
    int hostile = 40;
    long rssLimitMib = 64;
};

std::optional<LoadOptions> ParseOptions(int argc, char** argv) {
    LoadOptions options;
    for (int at = 1; at + 1 < argc; at += 2) {
        const std::string name = argv[at];
        const long value = std::strtol(argv[at + 1], nullptr, 10);
        if (value < 0 || (value == 0 && name != "--hostile")) {
            return std::nullopt;
        }
        if (name == "--clients") {
            options.clients = static_cast<int>(value);
        } else if (name == "--requests") {
            options.requests = static_cast<int>(value);
        } else if (name == "--hostile") {
            options.hostile = static_cast<int>(value);
        } else if (name == "--rss-limit-mib") {
            options.rssLimitMib = value;
        } else {
            return std::nullopt;
        }
    }
    return argc % 2 == 1 ? std::optional(options) : std::nullopt;
}

struct RunFigures {
    double seconds = 0;
    std::uint64_t hostileConnections = 0;
    std::uint64_t hostileDropped = 0;
};

RunFigures RunClients(const ServerAccess& access, const LoadOptions& options,
                      const std::string& scratch, HonestLedger& ledger) {
    std::atomic<bool> stop{false};
    HostileTally tally;
    std::vector<std::thread> hostile;
    for (int index = 0; index < options.hostile; ++index) {
        const auto kind = static_cast<HostileKind>(index % kHostileKinds);
        hostile.emplace_back([&, kind] { RunHostileClient(access, kind, stop, tally); });
    }
    const auto began = std::chrono::steady_clock::now();
    std::vector<std::thread> honest;
    for (int client = 0; client < options.clients; ++client) {
        honest.emplace_back(
            [&, client] { RunHonestClient(access, client, options.requests, scratch, ledger); });
    }
    for (std::thread& thread : honest) {
        thread.join();
    }
    RunFigures figures;
    figures.seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
    stop = true;
    for (std::thread& thread : hostile) {
        thread.join();
    }
    figures.hostileConnections = tally.connections;
    figures.hostileDropped = tally.droppedByServer;
    return figures;
}

std::atomic<bool> runnerFailed = false;

// The runner checks the server's output when it goes away, after Run.
void NoteRunnerFailure(const std::string& what) {
    std::fprintf(stderr, "server_load: %s\n", what.c_str());
    runnerFailed = true;
}

int Run(const LoadOptions& options) {
    // The honest clients share one account; each may upload at the same
    // time as all the others, which the per-account cap would refuse.
    testing::ServerRunnerOptions serve;
    serve.extraArgs = {"--uploads-per-account", std::to_string(std::max(options.clients, 8))};
    testing::ServerRunner server(serve);
    if (!server.Ok()) {
        std::fprintf(stderr, "server_load: %s\n", server.Error().c_str());
        return 2;
    }
    const ServerAccess access{server.Address(), server.Administrator().login,
                              server.Administrator().password, server.KeyFile()};
    const StoreSnapshot before = TakeSnapshot(server.DataDir());
    MemorySampler memory(server.Pid());
    HonestLedger ledger;
    const std::string scratch = server.DataDir() + "/../scratch";
    std::filesystem::create_directories(scratch);
    const RunFigures figures = RunClients(access, options, scratch, ledger);
    const MemoryFigures peak = memory.Finish();
    const std::vector<std::string> problems = CheckStore(server, before, ledger);

    const std::uint64_t total = ledger.SucceededCount() + ledger.FailedCount();
    std::printf("honest: %d clients x %d requests = %llu, failed %llu, %.1f s, %.0f requests/s\n",
                options.clients, options.requests, static_cast<unsigned long long>(total),
                static_cast<unsigned long long>(ledger.FailedCount()), figures.seconds,
                static_cast<double>(total) / figures.seconds);
    std::printf("hostile: %d clients, %llu connections, %llu ended by the server\n",
                options.hostile, static_cast<unsigned long long>(figures.hostileConnections),
                static_cast<unsigned long long>(figures.hostileDropped));
    std::printf("server memory: VmRSS peak %.1f MiB, VmHWM %.1f MiB (limit %ld MiB)\n",
                peak.rssPeakKib / 1024.0, peak.hwmKib / 1024.0, options.rssLimitMib);
    std::printf("store: %zu units rewritten, %zu media stored, %zu problems\n",
                ledger.Instructions().size(), ledger.Media().size(), problems.size());
    for (const std::string& failure : ledger.FirstFailures()) {
        std::printf("  failed %s\n", failure.c_str());
    }
    for (const std::string& problem : problems) {
        std::printf("  store: %s\n", problem.c_str());
    }
    const bool memoryOk = peak.hwmKib > 0 && peak.hwmKib <= options.rssLimitMib * 1024;
    return ledger.FailedCount() == 0 && memoryOk && problems.empty() ? 0 : 1;
}

}  // namespace
}  // namespace vantic::load

int main(int argc, char** argv) {
    const std::optional<vantic::load::LoadOptions> options = vantic::load::ParseOptions(argc, argv);
    if (!options) {
        std::fprintf(stderr,
                     "usage: server_load [--clients N] [--requests M] [--hostile H] "
                     "[--rss-limit-mib L]\n");
        return 2;
    }
    vantic::testing::SetRunnerFailureReporter(vantic::load::NoteRunnerFailure);
    const int code = vantic::load::Run(*options);
    return code == 0 && vantic::load::runnerFailed ? 1 : code;
}
