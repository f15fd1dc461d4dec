// The reference server under one attack beside an honest operator:
//   attack_load --attack wrong-password|idle|slow-upload|login-timing
//     [--attackers N] [--seconds S] [--workers W] [--hash-iterations I]
//     [--p95-limit-ms L]
// seeds a venue, starts vantic-server, logs the operator in, then runs N
// attackers for S seconds while the operator asks for the unit list every
// 50 ms. Prints the operator's answer times and the server's log figures;
// exits 1 when a unit list failed or its p95 is above L. login-timing
// instead alternates N unknown logins and wrong passwords and exits 1 when
// their median answer times differ by more than a factor of 2.

#include <poll.h>
#include <sys/resource.h>
#include <sys/socket.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <mutex>
#include <optional>
#include <thread>

#include "net/login_block.h"
#include "net/payload_exchange.h"
#include "net/session.h"
#include "tests/support/server_runner.h"

namespace vantic::load {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

struct Options {
    std::string attack;
    long attackers = 10, seconds = 3, workers = 0, hashIterations = 1000, p95LimitMs = 1000;
};

struct Tally {
    std::atomic<std::uint64_t> connections{0};
    std::atomic<std::uint64_t> endedByServer{0};  // a refusal or a limit
};

double MsSince(Clock::time_point began) {
    return std::chrono::duration<double, std::milli>(Clock::now() - began).count();
}

double Percentile(std::vector<double> values, double p) {
    if (values.empty()) {
        return 0;
    }
    std::sort(values.begin(), values.end());
    const auto at = static_cast<std::size_t>(std::max(0.0, std::ceil(p / 100 * values.size()) - 1));
    return values[std::min(at, values.size() - 1)];
}

// True when the server closes (or resets) within limit; data is dropped.
bool ServerCloses(const Socket& socket, std::chrono::milliseconds limit) {
    const auto deadline = Clock::now() + limit;
    for (std::uint8_t sink[256];;) {
        const ssize_t got = ::recv(socket.Handle(), sink, sizeof sink, MSG_DONTWAIT);
        if (got == 0 || (got < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)) {
            return true;
        }
        if (got < 0 && Clock::now() >= deadline) {
            return false;
        }
        pollfd entry{socket.Handle(), POLLIN, 0};
        ::poll(&entry, 1, got < 0 ? 50 : 0);
    }
}

// Logins for the victim's login with a wrong password, each waiting for
// the answer (the close).
void SendWrongPasswords(ServerAccess access, long attacker, const std::atomic<bool>& stop,
                        Tally& tally) {
    access.password = "wrong-guess-" + std::to_string(attacker);
    while (!stop) {
        Socket socket = OpenServerConnection(access.host);
        ++tally.connections;
        if (!SendLogin(socket, access, ServerCommand::GetUnitList, kNoUnit) ||
            ServerCloses(socket, 30s)) {
            ++tally.endedByServer;
        }
    }
}

// Connections that never send a login block, held until stop.
void HoldIdle(const ServerAccess& access, long count, const std::atomic<bool>& stop, Tally& tally) {
    std::vector<Socket> held;
    for (long opened = 0; opened < count && !stop; ++opened) {
        held.push_back(OpenServerConnection(access.host));
        tally.connections += held.back().Valid() ? 1 : 0;
    }
    while (!stop) {
        std::this_thread::sleep_for(50ms);
    }
    for (const Socket& socket : held) {
        tally.endedByServer += socket.Valid() && ServerCloses(socket, 0ms) ? 1 : 0;
    }
}

// A logged-in media upload announcing 100 MB and sending 4 KB every 4 s,
// started again whenever the server ends it.
void TrickleUploads(const ServerAccess& access, long attacker, const std::atomic<bool>& stop,
                    Tally& tally) {
    const Bytes piece(4096, 'x');
    Md5Digest digest{};
    digest[0] = static_cast<std::uint8_t>(attacker);
    while (!stop) {
        Socket socket = OpenServerConnection(access.host);
        ++tally.connections;
        bool ended = !SendLogin(socket, access, ServerCommand::PutMedia, kNoUnit, digest) ||
                     !SendWord(socket, 100'000'000, 5s) || !SendWord(socket, 0, 5s);
        while (!stop && !ended) {
            ended = !SendExact(socket, piece, 5s) || ServerCloses(socket, 4s);
        }
        tally.endedByServer += ended ? 1 : 0;
    }
}

struct Honest {
    std::mutex lock;
    std::vector<double> latencies;
    int failures = 0;
    std::string firstFailure;

    void Run(const ServerAccess& access, const std::atomic<bool>& stop) {
        while (!stop) {
            const auto began = Clock::now();
            const FetchResult result = FetchPayload(access, ServerCommand::GetUnitList, kNoUnit);
            std::lock_guard<std::mutex> hold(lock);
            if (result.Ok()) {
                latencies.push_back(MsSince(began));
            } else if (failures++ == 0) {
                firstFailure = result.cause;
            }
            std::this_thread::sleep_for(50ms);
        }
    }
};

void PrintServerLog(const testing::ServerRunner& server) {
    std::error_code code;
    const auto bytes = std::filesystem::file_size(server.DataDir() + "/server.log", code);
    std::printf(
        "server log: %zu lines, %ju bytes; %zu refused logins, %zu back-off events, "
        "%zu dropped greetings, %zu uploads refused, %zu bodies ended by time\n",
        server.LogLines().size(), static_cast<std::uintmax_t>(code ? 0 : bytes),
        server.LogLines("outcome=login-refused").size(), server.LogLines("event=login-").size(),
        server.LogLines("outcome=dropped:login-block").size(),
        server.LogLines("outcome=refused:busy").size(),
        server.LogLines("outcome=timeout:body").size());
}

int RunAttack(const Options& options, const ServerAccess& honest,
              const testing::ServerRunner& server) {
    std::atomic<bool> stop{false};
    Tally tally;
    std::vector<std::thread> attackers;
    const long threads = options.attack == "idle" ? 1 : options.attackers;
    for (long index = 0; index < threads; ++index) {
        attackers.emplace_back([&, index] {
            if (options.attack == "idle") {
                HoldIdle(honest, options.attackers, stop, tally);
            } else if (options.attack == "wrong-password") {
                SendWrongPasswords(honest, index, stop, tally);
            } else {
                TrickleUploads(honest, index, stop, tally);
            }
        });
    }
    Honest operatorClient;
    std::thread operatorThread([&] { operatorClient.Run(honest, stop); });
    std::this_thread::sleep_for(std::chrono::seconds(options.seconds));
    stop = true;
    operatorThread.join();
    for (std::thread& attacker : attackers) {
        attacker.join();
    }
    const std::vector<double>& ms = operatorClient.latencies;
    std::printf(
        "%s: %ld attackers for %ld s, %ju connections, %ju ended by the server\n"
        "honest unit lists: %zu answered, %d failed %s; p50 %.1f ms, p95 %.1f ms, "
        "max %.1f ms (p95 limit %ld ms)\n",
        options.attack.c_str(), options.attackers, options.seconds,
        std::uintmax_t{tally.connections}, std::uintmax_t{tally.endedByServer}, ms.size(),
        operatorClient.failures, operatorClient.firstFailure.c_str(), Percentile(ms, 50),
        Percentile(ms, 95), Percentile(ms, 100), options.p95LimitMs);
    PrintServerLog(server);
    return operatorClient.failures == 0 && !ms.empty() && Percentile(ms, 95) <= options.p95LimitMs
               ? 0
               : 1;
}

// The time from a login block to the server's close; -1 when it failed.
double FailedLoginMs(const ServerAccess& access) {
    Socket socket = OpenServerConnection(access.host);
    if (!SendLogin(socket, access, ServerCommand::GetUnitList, kNoUnit)) {
        return -1;
    }
    const auto sent = Clock::now();
    return ServerCloses(socket, 30s) ? MsSince(sent) : -1;
}

int RunLoginTiming(const Options& options, ServerAccess wrong,
                   const testing::ServerRunner& server) {
    wrong.password = "not-the-password";
    ServerAccess unknown = wrong;
    unknown.loginName = "nobody-here";
    std::vector<double> unknownMs;
    std::vector<double> wrongMs;
    for (long round = 0; round < options.attackers; ++round) {
        unknownMs.push_back(FailedLoginMs(unknown));
        wrongMs.push_back(FailedLoginMs(wrong));
    }
    const double a = Percentile(unknownMs, 50);
    const double b = Percentile(wrongMs, 50);
    const double ratio = std::max(a, b) / std::max(0.001, std::min(a, b));
    std::printf(
        "login timing: %ld rounds; unknown login median %.1f ms (max %.1f), wrong "
        "password median %.1f ms (max %.1f); ratio %.2f (limit 2)\n",
        options.attackers, a, Percentile(unknownMs, 100), b, Percentile(wrongMs, 100), ratio);
    PrintServerLog(server);
    const bool answered = Percentile(unknownMs, 0) >= 0 && Percentile(wrongMs, 0) >= 0;
    return answered && ratio <= 2 ? 0 : 1;
}

std::optional<Options> Parse(int argc, char** argv) {
    Options options;
    for (int at = 1; at + 1 < argc; at += 2) {
        const std::string name = argv[at];
        const long value = std::strtol(argv[at + 1], nullptr, 10);
        long* number = name == "--attackers"         ? &options.attackers
                       : name == "--seconds"         ? &options.seconds
                       : name == "--workers"         ? &options.workers
                       : name == "--hash-iterations" ? &options.hashIterations
                       : name == "--p95-limit-ms"    ? &options.p95LimitMs
                                                     : nullptr;
        if (name == "--attack") {
            options.attack = argv[at + 1];
        } else if (number == nullptr || value <= 0) {
            return std::nullopt;
        } else {
            *number = value;
        }
    }
    const std::string kinds = " wrong-password idle slow-upload login-timing ";
    const bool known =
        !options.attack.empty() && kinds.find(" " + options.attack + " ") != std::string::npos;
    return argc % 2 == 1 && known ? std::optional(options) : std::nullopt;
}

int Run(const Options& options) {
    rlimit files{};  // thousands of idle connections in one process
    if (::getrlimit(RLIMIT_NOFILE, &files) == 0) {
        files.rlim_cur = files.rlim_max;
        ::setrlimit(RLIMIT_NOFILE, &files);
    }
    testing::ServerRunnerOptions runnerOptions;
    runnerOptions.hashIterations = static_cast<int>(options.hashIterations);
    if (options.workers > 0) {
        runnerOptions.extraArgs = {"--workers", std::to_string(options.workers)};
    }
    testing::ServerRunner server(runnerOptions);
    const ServerAccess honest{server.Address(), server.Operator().login, server.Operator().password,
                              server.KeyFile()};
    // The operator logged in before the attack, as one at work has.
    if (!server.Ok() || !FetchPayload(honest, ServerCommand::GetUnitList, kNoUnit).Ok()) {
        std::fprintf(stderr, "attack_load: no server to attack: %s\n", server.Error().c_str());
        return 2;
    }
    return options.attack == "login-timing" ? RunLoginTiming(options, honest, server)
                                            : RunAttack(options, honest, server);
}

}  // namespace
}  // namespace vantic::load

int main(int argc, char** argv) {
    const std::optional<vantic::load::Options> options = vantic::load::Parse(argc, argv);
    if (!options) {
        std::fprintf(stderr,
                     "usage: attack_load --attack wrong-password|idle|slow-upload|"
                     "login-timing [--attackers N] [--seconds S] [--workers W] "
                     "[--hash-iterations I] [--p95-limit-ms L]\n");
        return 2;
    }
    return vantic::load::Run(*options);
}
