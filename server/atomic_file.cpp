#include "server/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <filesystem>
#include <mutex>

#include "core/cpstring.h"
#include "core/write_steps.h"

namespace vantic::server {

namespace {

constexpr std::string_view kTempSuffix = ".partial";

std::atomic<unsigned long> tempCounter{0};

std::string NewTempName(const std::string& tempDir) {
    return FormatNew("%s/%ld-%lu%.*s", tempDir.c_str(), static_cast<long>(::getpid()),
                     tempCounter.fetch_add(1), static_cast<int>(kTempSuffix.size()),
                     kTempSuffix.data());
}

std::string ParentOf(const std::string& path) {
    std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

void SyncDirectory(const std::string& dir) {
    int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// Unnamed temporary files need O_TMPFILE and a /proc to name them through;
// find out once whether this system has both.
bool UnnamedFilesWork(const std::string& tempDir) {
    static std::once_flag probed;
    static bool works = false;
    std::call_once(probed, [&] {
        int fd = ::open(tempDir.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0644);
        if (fd < 0) {
            return;
        }
        std::string name = NewTempName(tempDir);
        std::string self = FormatNew("/proc/self/fd/%d", fd);
        works = ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0;
        ::unlink(name.c_str());
        ::close(fd);
    });
    return works;
}

}  // namespace

AtomicFile::AtomicFile(std::string target, std::string tempDir, std::string tempPath, int fd)
    : target_(std::move(target)),
      tempDir_(std::move(tempDir)),
      tempPath_(std::move(tempPath)),
      fd_(fd) {}

std::unique_ptr<AtomicFile> AtomicFile::Begin(const std::string& target, const std::string& tempDir,
                                              mode_t mode) {
    if (UnnamedFilesWork(tempDir)) {
        int fd = ::open(tempDir.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, mode);
        if (fd >= 0) {
            PassWriteStep(WriteStep::TemporaryOpened);
            return std::unique_ptr<AtomicFile>(new AtomicFile(target, tempDir, "", fd));
        }
    }
    std::string name = NewTempName(tempDir);
    int fd = ::open(name.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, mode);
    if (fd < 0) {
        return nullptr;
    }
    PassWriteStep(WriteStep::TemporaryOpened);
    return std::unique_ptr<AtomicFile>(new AtomicFile(target, tempDir, name, fd));
}

AtomicFile::~AtomicFile() {
    Discard();
}

bool AtomicFile::Write(const void* data, std::size_t count) {
    const char* bytes = static_cast<const char*>(data);
    while (count > 0 && fd_ >= 0) {
        ssize_t done = ::write(fd_, bytes, count);
        if (done < 0 && errno == EINTR) {
            continue;
        }
        if (done <= 0) {
            return false;
        }
        bytes += done;
        count -= static_cast<std::size_t>(done);
    }
    return fd_ >= 0;
}

std::optional<std::string> AtomicFile::NameTemporary() {
    if (!tempPath_.empty()) {
        return tempPath_;
    }
    std::string name = NewTempName(tempDir_);
    std::string self = FormatNew("/proc/self/fd/%d", fd_);
    if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) != 0) {
        return std::nullopt;
    }
    tempPath_ = name;
    return name;
}

bool AtomicFile::Commit(bool durable) {
    if (fd_ < 0) {
        return false;
    }
    if (durable && ::fsync(fd_) != 0) {
        Discard();
        return false;
    }
    std::optional<std::string> named = NameTemporary();
    if (named) {
        PassWriteStep(WriteStep::BeforeRename);
    }
    if (!named || ::rename(named->c_str(), target_.c_str()) != 0) {
        Discard();
        return false;
    }
    PassWriteStep(WriteStep::Renamed);
    tempPath_.clear();
    ::close(fd_);
    fd_ = -1;
    if (durable) {
        SyncDirectory(ParentOf(target_));
    }
    return true;
}

void AtomicFile::Discard() {
    if (!tempPath_.empty()) {
        ::unlink(tempPath_.c_str());
        tempPath_.clear();
    }
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

bool WriteFileAtomically(const std::string& target, const std::string& tempDir,
                         std::string_view bytes, bool durable, mode_t mode) {
    std::unique_ptr<AtomicFile> file = AtomicFile::Begin(target, tempDir, mode);
    if (!file) {
        return false;
    }
    const std::size_t half = bytes.size() / 2;
    const bool firstHalf = file->Write(bytes.data(), half);
    PassWriteStep(WriteStep::BodyHalfWritten);
    return firstHalf && file->Write(bytes.data() + half, bytes.size() - half) &&
           file->Commit(durable);
}

void SweepTemporaryFiles(const std::string& tempDir) {
    std::error_code error;
    for (const auto& item : std::filesystem::directory_iterator(tempDir, error)) {
        if (item.path().extension() == kTempSuffix) {
            std::filesystem::remove(item.path(), error);
        }
    }
}

}  // namespace vantic::server
