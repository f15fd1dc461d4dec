#include "core/file_writes.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace vantic {
namespace {

class PosixFileWrites final : public FileWrites {
  public:
    [[nodiscard]] int Create(const std::string& path) override {
        return ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    }
    [[nodiscard]] long Write(int fd, const char* data, std::size_t size) override {
        return static_cast<long>(::write(fd, data, size));
    }
    [[nodiscard]] bool Flush(int fd) override { return ::fsync(fd) == 0; }
    [[nodiscard]] int Rename(const std::string& from, const std::string& to) override {
        return std::rename(from.c_str(), to.c_str());
    }
};

}  // namespace

FileWrites& SystemFileWrites() {
    static PosixFileWrites writes;
    return writes;
}

bool WriteAll(FileWrites& writes, int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const long written = writes.Write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

bool WriteAll(int fd, std::string_view bytes) {
    return WriteAll(SystemFileWrites(), fd, bytes);
}

}  // namespace vantic
