#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <vector>

#include "net/md5.h"

namespace vantic {
namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// Opens a file for reading through our own buffer only: stdio's buffering
// is switched off, so the 32 KiB piece is all the memory a digest holds.
File OpenUnbuffered(const std::string& path) {
    std::error_code error;
    if (std::filesystem::is_directory(path, error)) {
        return nullptr;  // opens on some systems, but has no bytes to digest
    }
    File file(std::fopen(path.c_str(), "rb"));
    if (file && std::setvbuf(file.get(), nullptr, _IONBF, 0) != 0) {
        return nullptr;
    }
    return file;
}

std::optional<std::uint64_t> SizeOf(std::FILE* file) {
    if (std::fseek(file, 0, SEEK_END) != 0) {
        return std::nullopt;
    }
    long size = std::ftell(file);
    if (size < 0 || std::fseek(file, 0, SEEK_SET) != 0) {
        return std::nullopt;
    }
    return static_cast<std::uint64_t>(size);
}

}  // namespace

std::optional<Md5Digest> Md5File(const std::string& path, const ByteProgress& progress) {
    File file = OpenUnbuffered(path);
    if (!file) {
        return std::nullopt;
    }
    std::optional<std::uint64_t> size = SizeOf(file.get());
    if (!size) {
        return std::nullopt;
    }
    auto cancelled = [&](std::uint64_t done) { return progress && progress(done, *size); };
    if (cancelled(0)) {
        return std::nullopt;
    }
    std::vector<std::uint8_t> piece(kMd5FilePiece);
    Md5 md5;
    for (std::uint64_t done = 0; done < *size;) {
        std::size_t want =
            static_cast<std::size_t>(std::min<std::uint64_t>(*size - done, kMd5FilePiece));
        if (std::fread(piece.data(), 1, want, file.get()) != want) {
            return std::nullopt;
        }
        md5.Update(ByteView(piece.data(), want));
        done += want;
        if (cancelled(done)) {
            return std::nullopt;
        }
    }
    return md5.Finish();
}

std::optional<Md5Digest> Md5File(FileService& files, const std::string& path,
                                 const ByteProgress& progress) {
    const std::optional<FileStamp> stamp = files.Stamp(path);
    std::unique_ptr<FileReader> reader = stamp ? files.OpenForReading(path) : nullptr;
    if (!reader) {
        return std::nullopt;
    }
    const std::uint64_t size = stamp->size;
    auto cancelled = [&](std::uint64_t done) { return progress && progress(done, size); };
    if (cancelled(0)) {
        return std::nullopt;
    }
    std::vector<std::uint8_t> piece(kMd5FilePiece);
    Md5 md5;
    std::uint64_t done = 0;
    for (;;) {
        const std::optional<std::size_t> got = reader->Read(piece);
        if (!got) {
            return std::nullopt;
        }
        if (*got == 0) {
            break;
        }
        md5.Update(ByteView(piece.data(), *got));
        done += *got;
        if (cancelled(std::min(done, size))) {
            return std::nullopt;
        }
    }
    return md5.Finish();
}

}  // namespace vantic
