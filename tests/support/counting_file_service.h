#pragma once

// The system's files, with every read counted: how often each file was
// opened for reading and how many of its bytes came back. Tests use it to
// tell whether a file was read, and how often.

#include <map>
#include <memory>
#include <string>

#include "platform/file_service.h"

namespace vantic::testing {

class CountingFileService final : public FileService {
  public:
    struct Reads {
        int opens = 0;
        std::uint64_t bytes = 0;
    };

    std::optional<FileStamp> Stamp(const std::string& path) override {
        return PosixFileService().Stamp(path);
    }
    std::unique_ptr<FileReader> OpenForReading(const std::string& path) override {
        std::unique_ptr<FileReader> inner = PosixFileService().OpenForReading(path);
        if (!inner) {
            return nullptr;
        }
        Reads& reads = reads_[path];
        ++reads.opens;
        return std::make_unique<CountingReader>(std::move(inner), reads);
    }
    std::optional<std::string> ReadWhole(const std::string& path) override {
        return PosixFileService().ReadWhole(path);
    }
    bool ReplaceWhole(const std::string& path, std::string_view bytes) override {
        ++replaced_[path];
        return PosixFileService().ReplaceWhole(path, bytes);
    }

    [[nodiscard]] Reads ReadsOf(const std::string& path) const {
        auto found = reads_.find(path);
        return found == reads_.end() ? Reads{} : found->second;
    }
    // Files opened for reading so far.
    [[nodiscard]] std::size_t FilesRead() const { return reads_.size(); }
    // How often the file was replaced whole.
    [[nodiscard]] int ReplacesOf(const std::string& path) const {
        auto found = replaced_.find(path);
        return found == replaced_.end() ? 0 : found->second;
    }
    void Forget() { reads_.clear(); }

  private:
    class CountingReader final : public FileReader {
      public:
        CountingReader(std::unique_ptr<FileReader> inner, Reads& reads)
            : inner_(std::move(inner)), reads_(reads) {}
        std::optional<std::size_t> Read(std::span<std::uint8_t> buffer) override {
            std::optional<std::size_t> got = inner_->Read(buffer);
            reads_.bytes += got.value_or(0);
            return got;
        }

      private:
        std::unique_ptr<FileReader> inner_;
        Reads& reads_;
    };

    std::map<std::string, Reads> reads_;
    std::map<std::string, int> replaced_;
};

}  // namespace vantic::testing
