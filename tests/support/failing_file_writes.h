#pragma once

// File writes whose chosen step fails, for the tests that check that an
// interrupted save leaves the earlier file whole. Without a fault (or
// once it is cleared) they are the system's.

#include <cerrno>
#include <optional>

#include "core/file_writes.h"

namespace vantic::testing {

enum class FileFault { OpenFails, WriteFails, FlushFails, ReplaceFails };

class FailingFileWrites final : public FileWrites {
  public:
    explicit FailingFileWrites(std::optional<FileFault> fault = std::nullopt) : fault(fault) {}

    [[nodiscard]] int Create(const std::string& path) override {
        return Fails(FileFault::OpenFails, EACCES) ? -1 : real_.Create(path);
    }
    // Half of the first piece goes out, then the disk is full.
    [[nodiscard]] long Write(int fd, const char* data, std::size_t size) override {
        if (fault != FileFault::WriteFails) {
            return real_.Write(fd, data, size);
        }
        if (wrote_) {
            errno = ENOSPC;
            return -1;
        }
        wrote_ = true;
        return real_.Write(fd, data, size / 2);
    }
    [[nodiscard]] bool Flush(int fd) override {
        return !Fails(FileFault::FlushFails, EIO) && real_.Flush(fd);
    }
    [[nodiscard]] int Rename(const std::string& from, const std::string& to) override {
        return Fails(FileFault::ReplaceFails, EACCES) ? -1 : real_.Rename(from, to);
    }

    std::optional<FileFault> fault;

  private:
    bool Fails(FileFault step, int error) {
        if (fault != step) {
            return false;
        }
        errno = error;
        return true;
    }

    FileWrites& real_ = SystemFileWrites();
    bool wrote_ = false;
};

}  // namespace vantic::testing
