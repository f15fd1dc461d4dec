#include "server/private_files.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "core/cpstring.h"

namespace vantic::server {

namespace {

constexpr mode_t kOthersBits = S_IRWXG | S_IRWXO;

}  // namespace

bool MakePrivateFolders(const std::string& path, std::string& error) {
    std::filesystem::path built;
    for (const std::filesystem::path& piece : std::filesystem::path(path)) {
        built /= piece;
        if (piece.empty() || ::mkdir(built.c_str(), kPrivateFolderMode) == 0 || errno == EEXIST) {
            continue;
        }
        error = "cannot create " + built.string() + ": " + std::strerror(errno);
        return false;
    }
    std::error_code code;
    if (!std::filesystem::is_directory(path, code)) {
        error = "cannot create " + path + ": a file of that name is in the way";
        return false;
    }
    return true;
}

std::optional<std::string> KeyFileProblem(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || (info.st_mode & kOthersBits) == 0) {
        return std::nullopt;
    }
    return FormatNew(
        "the server key %s is open to other users (mode %04o); make it private "
        "with: chmod 600 %s",
        path.c_str(), static_cast<unsigned>(info.st_mode & 07777), path.c_str());
}

bool RestrictToOwner(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        return errno == ENOENT;
    }
    if ((info.st_mode & kOthersBits) == 0) {
        return true;
    }
    return ::chmod(path.c_str(), info.st_mode & 07777 & ~kOthersBits) == 0;
}

}  // namespace vantic::server
