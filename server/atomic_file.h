#pragma once

// Whole-file replacement that is never seen half-done: a new version is
// written to a temporary file beside the store and renamed over the target
// only when complete. A crash or kill at any moment leaves the old version
// or the new one, never a mix; unfinished temporary files are either
// unnamed (they vanish with the process) or swept at the next start.

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include <sys/types.h>

namespace vantic::server {

// Files the store keeps in its private folders; secrets get 0600.
inline constexpr mode_t kSharedFileMode = 0644;

class AtomicFile {
  public:
    // Starts a new version of target, staging it in tempDir (which must be on
    // the same file system), with the permissions mode (less the umask) from
    // its first byte on. Nothing when no temporary file can be made.
    [[nodiscard]] static std::unique_ptr<AtomicFile> Begin(const std::string& target,
                                                           const std::string& tempDir,
                                                           mode_t mode = kSharedFileMode);
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    [[nodiscard]] bool Write(const void* data, std::size_t count);
    // Puts the finished file in place. With durable, its data reaches the
    // disk before the rename and the rename before the call returns.
    [[nodiscard]] bool Commit(bool durable);
    // Drops the new version; the destructor does the same when Commit was
    // not called.
    void Discard();

  private:
    AtomicFile(std::string target, std::string tempDir, std::string tempPath, int fd);
    [[nodiscard]] std::optional<std::string> NameTemporary();

    std::string target_;
    std::string tempDir_;
    std::string tempPath_;  // empty while the file is still unnamed
    int fd_;
};

// Replaces target with bytes through a temporary file in tempDir.
[[nodiscard]] bool WriteFileAtomically(const std::string& target, const std::string& tempDir,
                                       std::string_view bytes, bool durable,
                                       mode_t mode = kSharedFileMode);

// Removes the named temporary files a killed server left in tempDir.
void SweepTemporaryFiles(const std::string& tempDir);

}  // namespace vantic::server
