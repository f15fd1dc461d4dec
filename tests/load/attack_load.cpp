// vantic-server under N attackers for S seconds while the operator, logged
// in before, asks for the unit list every 50 ms: exits 1 when one failed or
// their p95 is above L. login-timing alternates N unknown logins and wrong
// passwords: exits 1 when their median answer times differ over twofold.

#include <poll.h>
#include <sys/resource.h>
#include <sys/socket.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <mutex>
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

double MsSince(Clock::time_point began) {
    return std::chrono::duration<double, std::milli>(Clock::now() - began).count();
}

double Percentile(std::vector<double> values, double p) {
    std::sort(values.begin(), values.end());
    const double at = std::max(0.0, std::ceil(p / 100 * values.size()) - 1);
    return values.empty() ? 0 : values[std::min(static_cast<std::size_t>(at), values.size() - 1)];
}

// True when the server closes (or resets) within limit; data is dropped.
bool ServerCloses(const Socket& socket, std::chrono::milliseconds limit) {
    const auto deadline = Clock::now() + limit;
    for (std::uint8_t sink[256];;) {
        const ssize_t got = ::recv(socket.Handle(), sink, sizeof sink, MSG_DONTWAIT);
        if (got == 0 || (got < 0 && errno != EAGAIN && errno != EINTR)) {
            return true;
        }
        if (got < 0 && Clock::now() >= deadline) {
            return false;
        }
        pollfd entry{socket.Handle(), POLLIN, 0};
        ::poll(&entry, 1, got < 0 ? 50 : 0);
    }
}

// One attacker until stop: wrong passwords for the operator's login, each
// awaiting its answer; a logged-in media upload announcing 100 MB and
// sending 4 KB every 4 s, again whenever the server ends it; or (idle) N
// connections that never send a login block.
void Attack(const Options& options, ServerAccess access, long attacker,
            const std::atomic<bool>& stop, std::atomic<long>& connections) {
    const std::string& kind = options.attack;
    access.password += kind == "wrong-password" ? "-wrong" + std::to_string(attacker) : "";
    Md5Digest digest{};
    digest[0] = static_cast<std::uint8_t>(attacker);
    std::vector<Socket> idle;
    for (; !stop; ++connections) {
        Socket socket = OpenServerConnection(access.host);
        if (kind == "idle") {
            idle.push_back(std::move(socket));
            while (connections + 1 >= options.attackers && !stop) {
                std::this_thread::sleep_for(50ms);
            }
        } else if (kind == "wrong-password") {
            (void)(SendLogin(socket, access, ServerCommand::GetUnitList, kNoUnit) &&
                   ServerCloses(socket, 30s));
        } else {
            bool ended = !SendLogin(socket, access, ServerCommand::PutMedia, kNoUnit, digest) ||
                         !SendWord(socket, 100'000'000, 5s) || !SendWord(socket, 0, 5s);
            while (!stop && !ended) {
                ended = !SendExact(socket, Bytes(4096, 'x'), 5s) || ServerCloses(socket, 4s);
            }
        }
    }
}

int RunAttack(const Options& options, const ServerAccess& honest,
              const testing::ServerRunner& server) {
    std::atomic<bool> stop{false};
    std::atomic<long> connections{0};
    std::vector<std::thread> attackers;
    for (long index = 0; index < (options.attack == "idle" ? 1 : options.attackers); ++index) {
        attackers.emplace_back([&, index] { Attack(options, honest, index, stop, connections); });
    }
    std::vector<double> ms;
    int failures = 0;
    for (const auto end = Clock::now() + std::chrono::seconds(options.seconds); Clock::now() < end;
         std::this_thread::sleep_for(50ms)) {
        const auto began = Clock::now();
        const bool ok = FetchPayload(honest, ServerCommand::GetUnitList, kNoUnit).Ok();
        ok ? ms.push_back(MsSince(began)) : void(++failures);
    }
    stop = true;
    for (std::thread& attacker : attackers) {
        attacker.join();
    }
    std::printf(
        "%s: %ld attackers for %ld s, %ld connections\n"
        "honest unit lists: %zu answered, %d failed; p50 %.1f ms, p95 %.1f ms, max %.1f "
        "ms (p95 limit %ld ms)\nserver log: %zu lines; %zu refused logins, %zu dropped "
        "greetings, %zu uploads refused, %zu bodies ended by time\n",
        options.attack.c_str(), options.attackers, options.seconds, connections.load(), ms.size(),
        failures, Percentile(ms, 50), Percentile(ms, 95), Percentile(ms, 100), options.p95LimitMs,
        server.LogLines().size(), server.LogLines("outcome=login-refused").size(),
        server.LogLines("outcome=dropped:login-block").size(),
        server.LogLines("outcome=refused:busy").size(),
        server.LogLines("outcome=timeout:body").size());
    return failures == 0 && !ms.empty() && Percentile(ms, 95) <= options.p95LimitMs ? 0 : 1;
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

int RunLoginTiming(const Options& options, ServerAccess wrong) {
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
        "login timing: %ld rounds; median answer: unknown login %.1f ms, wrong password "
        "%.1f ms; ratio %.2f (limit 2)\n",
        options.attackers, a, b, ratio);
    return std::min(Percentile(unknownMs, 0), Percentile(wrongMs, 0)) >= 0 && ratio <= 2 ? 0 : 1;
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
    return options.attack == "login-timing" ? RunLoginTiming(options, honest)
                                            : RunAttack(options, honest, server);
}

}  // namespace
}  // namespace vantic::load

int main(int argc, char** argv) {
    vantic::load::Options options;
    for (int at = 1; at + 1 < argc; at += 2) {
        const std::string name = argv[at];
        long* number = name == "--attackers"         ? &options.attackers
                       : name == "--seconds"         ? &options.seconds
                       : name == "--workers"         ? &options.workers
                       : name == "--hash-iterations" ? &options.hashIterations
                       : name == "--p95-limit-ms"    ? &options.p95LimitMs
                                                     : nullptr;
        if (name == "--attack") {
            options.attack = argv[at + 1];
        } else if (number != nullptr) {
            *number = std::max(1L, std::strtol(argv[at + 1], nullptr, 10));
        } else {
            argc = 0;
        }
    }
    const std::string kinds = " wrong-password idle slow-upload login-timing ";
    if (argc % 2 == 0 || kinds.find(" " + options.attack + " ") == std::string::npos) {
        std::fprintf(stderr,
                     "usage: attack_load --attack wrong-password|idle|slow-upload|"
                     "login-timing [--attackers N] [--seconds S] [--workers W] "
                     "[--hash-iterations I] [--p95-limit-ms L]\n");
        return 2;
    }
    return vantic::load::Run(options);
}
