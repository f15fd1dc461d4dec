#include "net/media_exchange.h"

#include <algorithm>
#include <fstream>

#include "net/login_block.h"
#include "net/server_command.h"

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

}  // namespace

std::optional<bool> MediaOnServer(const ServerAccess& access, const Md5Digest& digest) {
    Socket socket = OpenServerConnection(access.host);
    if (!socket.Valid() || !SendLogin(socket, access, ServerCommand::QueryMedia, kNoUnit, digest)) {
        return std::nullopt;
    }
    milliseconds limit = CurrentSessionLimits().piece;
    std::optional<std::uint32_t> answer = RecvWord(socket, limit);
    if (!answer || !SendWord(socket, *answer, limit)) {
        return std::nullopt;
    }
    return *answer != 0;
}

bool SendFile(const Socket& socket, const std::string& path, milliseconds limit,
              const ByteProgress& report) {
    std::optional<MediaFile> file = OpenMediaFile(path);
    return file && SendOpenFile(socket, *file, limit, report);
}

bool PutMediaFile(const ServerAccess& access, const Md5Digest& digest, const std::string& path,
                  const ByteProgress& report) {
    std::optional<MediaFile> file = OpenMediaFile(path);
    if (!file || file->size > kMaxMediaFileSize) {
        return false;
    }
    Socket socket = OpenServerConnection(access.host);
    if (!socket.Valid() || !SendLogin(socket, access, ServerCommand::PutMedia, kNoUnit, digest)) {
        return false;
    }
    SessionLimits limits = CurrentSessionLimits();
    return SendWord(socket, static_cast<std::uint32_t>(file->size), limits.piece) &&
           SendWord(socket, 0, limits.piece) &&
           SendOpenFile(socket, *file, limits.mediaBody, report) &&
           RecvWord(socket, limits.piece).has_value();
}

}  // namespace vantic
