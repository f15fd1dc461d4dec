#pragma once

// The files the logic reads in pieces and the small files it keeps for
// itself, as a service: what a file is now (its stamp), reading it from
// the start, and replacing a file whole. PosixFileService() is the real
// one; tests put a counting one in its place.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace vantic {

// What tells one version of a file from another without reading it: a
// file rewritten in place changes its size or modification time, a file
// replaced by another changes its inode.
struct FileStamp {
    std::uint64_t size = 0;
    std::int64_t modifiedNs = 0;  // modification time, nanoseconds since 1970
    std::uint64_t inode = 0;
    bool operator==(const FileStamp&) const = default;
};

// A file open for reading from its start.
class FileReader {
  public:
    virtual ~FileReader() = default;
    // Fills the front of buffer with the next bytes; 0 at the end, none on
    // a read error.
    [[nodiscard]] virtual std::optional<std::size_t> Read(std::span<std::uint8_t> buffer) = 0;
};

class FileService {
  public:
    virtual ~FileService() = default;
    // The stamp of a regular file; none for anything else or nothing.
    [[nodiscard]] virtual std::optional<FileStamp> Stamp(const std::string& path) = 0;
    // Null when the file cannot be opened.
    [[nodiscard]] virtual std::unique_ptr<FileReader> OpenForReading(const std::string& path) = 0;
    [[nodiscard]] virtual std::optional<std::string> ReadWhole(const std::string& path) = 0;
    // Replaces the file through a temporary file beside it and a rename, so
    // the file is never seen torn; creates the folders leading to it.
    [[nodiscard]] virtual bool ReplaceWhole(const std::string& path, std::string_view bytes) = 0;
};

// The system's files.
[[nodiscard]] FileService& PosixFileService();

}  // namespace vantic
