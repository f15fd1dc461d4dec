#pragma once

// The system calls a file is written with, as a service: create, write,
// flush to the disk, rename. SystemFileWrites() makes them; a test hands
// the writers one whose step fails, to see that an interrupted save leaves
// the earlier file whole.

#include <cstddef>
#include <string>
#include <string_view>

namespace vantic {

class FileWrites {
  public:
    virtual ~FileWrites() = default;
    // Creates or truncates the file for writing: its descriptor, or -1.
    [[nodiscard]] virtual int Create(const std::string& path) = 0;
    // Writes from data: how many bytes went, or -1 (errno set).
    [[nodiscard]] virtual long Write(int fd, const char* data, std::size_t size) = 0;
    // True once the file's data is on the disk.
    [[nodiscard]] virtual bool Flush(int fd) = 0;
    // Renames from over to: 0, or -1 (errno set).
    [[nodiscard]] virtual int Rename(const std::string& from, const std::string& to) = 0;
};

// The system's own.
[[nodiscard]] FileWrites& SystemFileWrites();

// Writes all of bytes to fd, again after an interrupted or short write;
// false when a write fails or writes nothing (a pipe's reader went away).
[[nodiscard]] bool WriteAll(FileWrites& writes, int fd, std::string_view bytes);
[[nodiscard]] bool WriteAll(int fd, std::string_view bytes);

}  // namespace vantic
