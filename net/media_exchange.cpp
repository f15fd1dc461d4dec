#include "net/media_exchange.h"

#include <algorithm>
#include <cerrno>
#include <fstream>

#include "net/exchange_cause.h"
#include "net/login_block.h"
#include "net/reported_request.h"
#include "net/request_faults.h"
#include "net/server_command.h"
#include "platform/blocking_calls.h"

namespace vantic {
namespace {

// An open file and its size, measured once, so that the size word and the
// bytes that follow it agree.
struct MediaFile {
    std::ifstream stream;
    std::uint64_t size = 0;
};

std::optional<MediaFile> OpenMediaFile(const std::string& path) {
    MediaFile file;
    file.stream.open(path, std::ios::binary | std::ios::ate);
    if (!file.stream) {
        return std::nullopt;
    }
    std::streamoff end = file.stream.tellg();
    file.stream.seekg(0);
    if (end < 0 || !file.stream) {
        return std::nullopt;
    }
    file.size = static_cast<std::uint64_t>(end);
    return file;
}

bool Cancelled(const ByteProgress& report, std::uint64_t done, std::uint64_t total) {
    return report && report(done, total);
}

bool SendOpenFile(const Socket& socket, MediaFile& file, milliseconds limit,
                  const ByteProgress& report) {
    if (Cancelled(report, 0, file.size)) {
        return false;
    }
    std::uint8_t piece[kPieceSize];
    for (std::uint64_t sent = 0; sent < file.size;) {
        auto count =
            static_cast<std::size_t>(std::min<std::uint64_t>(kPieceSize, file.size - sent));
        if (!file.stream.read(reinterpret_cast<char*>(piece),
                              static_cast<std::streamsize>(count)) ||
            !SendExact(socket, ByteView(piece, count), limit)) {
            return false;
        }
        sent += count;
        if (Cancelled(report, sent, file.size)) {
            return false;
        }
    }
    return true;
}

using Clock = std::chrono::steady_clock;

// The connection with the login for `command`; an invalid socket, with why,
// when either failed.
Socket LogIn(const ServerAccess& access, ServerCommand command, const Md5Digest& digest,
             ExchangeFailure& failure) {
    errno = 0;
    Socket socket = OpenServerConnection(access.host, access.limits.connect);
    if (!socket.Valid()) {
        failure = ConnectFailure(access.host, errno, access.limits.connect);
        return socket;
    }
    const Clock::time_point started = Clock::now();
    if (!SendLogin(socket, access, command, kNoUnit, digest)) {
        failure = AnswerFailure(started, false, access.limits.piece);
        return {};
    }
    return socket;
}

std::optional<bool> QueryMedia(const ServerAccess& access, const Md5Digest& digest,
                               ExchangeFailure& failure) {
    Socket socket = LogIn(access, ServerCommand::QueryMedia, digest, failure);
    if (!socket.Valid()) {
        return std::nullopt;
    }
    const milliseconds limit = access.limits.piece;
    const Clock::time_point started = Clock::now();
    std::optional<std::uint32_t> answer = RecvWord(socket, limit);
    if (!answer || !SendWord(socket, *answer, limit)) {
        failure = AnswerFailure(started, !answer, limit);
        return std::nullopt;
    }
    return *answer != 0;
}

bool PutMedia(const ServerAccess& access, const Md5Digest& digest, const std::string& path,
              const ByteProgress& report, ExchangeFailure& failure) {
    std::optional<MediaFile> file = OpenMediaFile(path);
    if (!file) {
        failure.cause = "The file could not be read";
        return false;
    }
    if (file->size > kMaxMediaFileSize) {
        failure.cause = "The file is larger than the server takes";
        return false;
    }
    Socket socket = LogIn(access, ServerCommand::PutMedia, digest, failure);
    if (!socket.Valid()) {
        return false;
    }
    const SessionLimits& limits = access.limits;
    Clock::time_point started = Clock::now();
    if (!SendWord(socket, static_cast<std::uint32_t>(file->size), limits.piece) ||
        !SendWord(socket, 0, limits.piece)) {
        failure = AnswerFailure(started, true, limits.piece);
        return false;
    }
    bool cancelled = false;
    ByteProgress watched;
    if (report) {
        watched = [&](std::uint64_t done, std::uint64_t total) {
            cancelled = report(done, total);
            return cancelled;
        };
    }
    started = Clock::now();
    if (!SendOpenFile(socket, *file, limits.mediaBody, watched)) {
        if (!cancelled) {
            failure = AnswerFailure(started, false, limits.mediaBody);
        }
        return false;
    }
    started = Clock::now();
    if (!RecvWord(socket, limits.piece)) {
        failure = AnswerFailure(started, false, limits.piece);
        return false;
    }
    return true;
}

}  // namespace

bool SendFile(const Socket& socket, const std::string& path, milliseconds limit,
              const ByteProgress& report) {
    std::optional<MediaFile> file = OpenMediaFile(path);
    return file && SendOpenFile(socket, *file, limit, report);
}

std::optional<bool> MediaOnServer(const ServerAccess& access, const Md5Digest& digest,
                                  std::string* cause) {
    std::optional<bool> held;
    ExchangeFailure why;
    RunRequest([&] { held = QueryMedia(access, digest, why); });
    if (!held) {
        NoteRequestFault(why.fault, access.host);
    }
    if (cause != nullptr && !held) {
        *cause = std::move(why.cause);
    }
    return held;
}

bool PutMediaFile(const ServerAccess& access, const Md5Digest& digest, const std::string& path,
                  const ByteProgress& report, std::string* cause) {
    ExchangeFailure why;
    const bool sent = RunReportedRequest(
        [&](const ByteProgress& relayed) { return PutMedia(access, digest, path, relayed, why); },
        report);
    if (!sent) {
        NoteRequestFault(why.fault, access.host);
    }
    if (cause != nullptr && !sent) {
        *cause = std::move(why.cause);
    }
    return sent;
}

}  // namespace vantic
