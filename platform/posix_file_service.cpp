#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

#include "core/cpstring.h"
#include "platform/file_service.h"

namespace vantic {
namespace {

class PosixReader final : public FileReader {
  public:
    explicit PosixReader(int fd) : fd_(fd) {}
    ~PosixReader() override { ::close(fd_); }
    PosixReader(const PosixReader&) = delete;
    PosixReader& operator=(const PosixReader&) = delete;

    std::optional<std::size_t> Read(std::span<std::uint8_t> buffer) override {
        for (;;) {
            const ssize_t got = ::read(fd_, buffer.data(), buffer.size());
            if (got >= 0) {
                return static_cast<std::size_t>(got);
            }
            if (errno != EINTR) {
                return std::nullopt;
            }
        }
    }

  private:
    int fd_;
};

class PosixFiles final : public FileService {
  public:
    std::optional<FileStamp> Stamp(const std::string& path) override {
        struct stat info {};
        if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
            return std::nullopt;
        }
        constexpr std::int64_t kNsPerSecond = 1'000'000'000;
        return FileStamp{
            static_cast<std::uint64_t>(info.st_size),
            static_cast<std::int64_t>(info.st_mtim.tv_sec) * kNsPerSecond + info.st_mtim.tv_nsec,
            static_cast<std::uint64_t>(info.st_ino)};
    }

    std::unique_ptr<FileReader> OpenForReading(const std::string& path) override {
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) {
            return nullptr;
        }
        return std::make_unique<PosixReader>(fd);
    }

    std::optional<std::string> ReadWhole(const std::string& path) override {
        return ReadWholeFile(path);
    }

    bool ReplaceWhole(const std::string& path, std::string_view bytes) override {
        const std::filesystem::path folder = std::filesystem::path(path).parent_path();
        std::error_code error;
        if (!folder.empty()) {
            std::filesystem::create_directories(folder, error);
        }
        return ReplaceWholeFile(path, bytes);
    }
};

}  // namespace

FileService& PosixFileService() {
    static PosixFiles files;
    return files;
}

}  // namespace vantic
