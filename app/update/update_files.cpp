#include "app/update/update_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "core/cpstring.h"
#include "core/file_writes.h"

namespace vantic {

namespace {

class Descriptor {
  public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    [[nodiscard]] int Get() const { return fd_; }
    [[nodiscard]] bool Close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

  private:
    int fd_;
};

bool ReadAll(int fd, std::string& out) {
    char piece[32768];
    for (;;) {
        const ssize_t got = ::read(fd, piece, sizeof piece);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return false;
        }
        if (got == 0) {
            return true;
        }
        out.append(piece, static_cast<std::size_t>(got));
    }
}

}  // namespace

bool PlaceUpdateFile(const std::string& path, std::string_view bytes, mode_t mode) {
    std::string temporary = FolderOfPath(path) + "/.vantic-update.XXXXXX";
    Descriptor file(::mkstemp(temporary.data()));
    if (file.Get() < 0) {
        return false;
    }
    const bool written = WriteAll(file.Get(), bytes) && ::fchmod(file.Get(), mode) == 0 &&
                         ::fsync(file.Get()) == 0 && file.Close();
    if (!written || std::rename(temporary.c_str(), path.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    return true;
}

std::optional<OwnFile> ReadOwnFile(const std::string& path) {
    Descriptor file(::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK));
    struct stat info {};
    if (file.Get() < 0 || ::fstat(file.Get(), &info) != 0 || !S_ISREG(info.st_mode) ||
        info.st_uid != ::geteuid() || (info.st_mode & (S_IWGRP | S_IWOTH)) != 0) {
        return std::nullopt;
    }
    OwnFile own;
    own.identity = FileIdentity{info.st_dev, info.st_ino};
    if (!ReadAll(file.Get(), own.bytes)) {
        return std::nullopt;
    }
    return own;
}

bool StillNames(const std::string& path, const FileIdentity& identity) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
           info.st_dev == identity.device && info.st_ino == identity.inode;
}

}  // namespace vantic
