#pragma once

// DigestCache: the MD5 of media files, remembered by what the file is
// (path, size, modification time and inode) so that a file deployed again
// unchanged is not read again. A file whose stamp changed is read afresh.
// The cache is kept in one text file in the user's cache folder, replaced
// whole through a temporary file at Flush and when the cache goes (not per
// file: with thousands of entries that would write megabytes per file
// digested); its lines run from the least to the most recently used, so the
// files evicted first stay the least recently used across runs. A cache
// file that does not read is ignored and rewritten.

#include <cstdint>
#include <map>
#include <optional>
#include <string>

#include "net/md5.h"
#include "net/progress.h"
#include "platform/file_service.h"

namespace vantic {

// The cache file: $XDG_CACHE_HOME/vantic-controller/digests, else
// ~/.cache/vantic-controller/digests; empty (no file, memory only) when
// neither is known. Relative XDG folders are ignored, as the XDG rules ask.
[[nodiscard]] std::string DefaultDigestCachePath(const char* xdgCacheHome, const char* home);
[[nodiscard]] std::string DefaultDigestCachePath();

class DigestCache {
  public:
    // cacheFile empty: remembers for the object's life only.
    DigestCache(FileService& files, std::string cacheFile);
    ~DigestCache();
    DigestCache(const DigestCache&) = delete;
    DigestCache& operator=(const DigestCache&) = delete;

    // The digest of the file as it is now: remembered when its stamp is the
    // one remembered, else read through (progress hears the read, as
    // Md5File's does) and remembered. None when the file cannot be read or
    // progress cancels.
    [[nodiscard]] std::optional<Md5Digest> Digest(const std::string& path,
                                                  const ByteProgress& progress = {});

    // True when Digest would read the file: it is there, and not remembered
    // as it is now.
    [[nodiscard]] bool WouldRead(const std::string& path);

    // Writes what changed since the last write to the cache file. A cache
    // that cannot be written costs only a digest next time.
    void Flush();

    // The files the cache holds at most; the least recently used go first.
    static constexpr std::size_t kMaxEntries = 20000;

  private:
    struct Entry {
        FileStamp stamp;
        Md5Digest digest{};
        std::uint64_t lastUse = 0;
    };

    void Load();
    [[nodiscard]] bool Save();

    FileService& files_;
    std::string cacheFile_;
    bool loaded_ = false;
    bool changed_ = false;
    std::uint64_t uses_ = 0;
    std::map<std::string, Entry> entries_;
};

}  // namespace vantic
