// Drives one media transfer phase for scripts/bench-upload and prints what
// it cost: wall time, and the peak resident memory during the phase above
// the resident memory before it.
//
//   media_transfer_driver digest FILE
//   media_transfer_driver upload HOST:PORT LOGIN PASSWORD_FILE KEYFILE FILE
//   media_transfer_driver send HOST:PORT FILE   (into a plain TCP sink)
//
// Output: one "key=value" per line.

#include <chrono>
#include <cstdio>
#include <fstream>
#include <optional>
#include <string>

#include "net/hex.h"
#include "net/md5.h"
#include "net/media_exchange.h"
#include "net/session.h"

namespace vantic {
namespace {

// A field of /proc/self/status in KiB, or -1.
long StatusKib(const std::string& field) {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind(field + ":", 0) == 0) {
            return std::stol(line.substr(field.size() + 1));
        }
    }
    return -1;
}

// Measures a phase. The peak is reset first (clear_refs 5), so VmHWM
// afterwards is the phase's own peak.
template <typename Phase>
bool Measure(const char* name, std::uint64_t bytes, Phase phase) {
    std::ofstream("/proc/self/clear_refs") << "5";
    const long before = StatusKib("VmRSS");
    const auto start = std::chrono::steady_clock::now();
    const bool ok = phase();
    const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
    const long peak = StatusKib("VmHWM");
    std::printf(
        "phase=%s\nok=%d\nbytes=%llu\nseconds=%.4f\nrss_before_kib=%ld\npeak_kib=%ld\n"
        "growth_kib=%ld\n",
        name, ok ? 1 : 0, static_cast<unsigned long long>(bytes), seconds.count(), before, peak,
        peak - before);
    return ok;
}

// What the progress dialog costs between redraws: a count and a compare.
ByteProgress CountingReports(std::uint64_t& reports) {
    return [&reports](std::uint64_t done, std::uint64_t total) {
        ++reports;
        return done > total;
    };
}

std::uint64_t SizeOf(const std::string& path) {
    std::ifstream file(path, std::ios::binary | std::ios::ate);
    return file ? static_cast<std::uint64_t>(file.tellg()) : 0;
}

int Digest(const std::string& path) {
    std::uint64_t reports = 0;
    std::optional<Md5Digest> digest;
    bool ok = Measure("digest", SizeOf(path), [&] {
        digest = Md5File(path, CountingReports(reports));
        return digest.has_value();
    });
    std::printf("md5=%s\nreports=%llu\n", digest ? HexEncode(*digest).c_str() : "",
                static_cast<unsigned long long>(reports));
    return ok ? 0 : 1;
}

int Upload(const ServerAccess& access, const std::string& path) {
    std::optional<Md5Digest> digest = Md5File(path);
    if (!digest) {
        std::fprintf(stderr, "cannot read %s\n", path.c_str());
        return 1;
    }
    std::uint64_t reports = 0;
    bool ok = Measure("upload", SizeOf(path), [&] {
        return PutMediaFile(access, *digest, path, CountingReports(reports));
    });
    std::printf("md5=%s\nreports=%llu\n", HexEncode(*digest).c_str(),
                static_cast<unsigned long long>(reports));
    return ok ? 0 : 1;
}

int Send(const std::string& host, const std::string& path) {
    std::uint64_t reports = 0;
    bool ok = Measure("send", SizeOf(path), [&] {
        Socket socket = OpenServerConnection(host);
        return socket.Valid() &&
               SendFile(socket, path, SessionLimits{}.mediaBody, CountingReports(reports));
    });
    std::printf("reports=%llu\n", static_cast<unsigned long long>(reports));
    return ok ? 0 : 1;
}

}  // namespace
}  // namespace vantic

int main(int argc, char** argv) {
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "digest" && argc == 3) {
        return vantic::Digest(argv[2]);
    }
    if (command == "upload" && argc == 7) {
        std::ifstream passwordFile(argv[4]);
        std::string password;
        std::getline(passwordFile, password);
        return vantic::Upload({argv[2], argv[3], password, argv[5]}, argv[6]);
    }
    if (command == "send" && argc == 4) {
        return vantic::Send(argv[2], argv[3]);
    }
    std::fprintf(stderr,
                 "usage: media_transfer_driver digest FILE\n"
                 "       media_transfer_driver upload HOST:PORT LOGIN PASSWORD_FILE KEYFILE FILE\n"
                 "       media_transfer_driver send HOST:PORT FILE\n");
    return 2;
}
