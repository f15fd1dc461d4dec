#pragma once

// The update files on disk. A new file is made with mkstemp in its final
// folder (readable by its owner only, never through a link planted under
// the final name), filled, flushed, given its mode with fchmod and renamed
// over the final name. A file is read back only when it is a regular file
// of this user that nobody else may write, opened without following links.

#include <sys/types.h>

#include <optional>
#include <string>
#include <string_view>

namespace vantic {

inline constexpr mode_t kUpdateFileMode = 0600;
inline constexpr mode_t kVerifiedProgramMode = 0700;

// Replaces path with bytes; false (and path untouched) on any failure.
[[nodiscard]] bool PlaceUpdateFile(const std::string& path, std::string_view bytes, mode_t mode);

// Which file a name led to when it was read.
struct FileIdentity {
    dev_t device = 0;
    ino_t inode = 0;
};

struct OwnFile {
    std::string bytes;
    FileIdentity identity;
};

// The file at path as it is now; none when it is missing, a link, not a
// regular file, another user's, or writable by others.
[[nodiscard]] std::optional<OwnFile> ReadOwnFile(const std::string& path);

// True while path still names the file read as `identity`.
[[nodiscard]] bool StillNames(const std::string& path, const FileIdentity& identity);

}  // namespace vantic
