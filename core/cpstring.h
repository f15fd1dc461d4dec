#pragma once

// The text toolkit: whitespace and case rules, formatting, path pieces and
// whole-file helpers. Every text of the program is 8-bit: bytes pass
// through unchanged, and only the ASCII letters A-Z fold for case-insensitive
// comparisons.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/file_writes.h"

namespace vantic {

// Tab, line feed, carriage return and space; nothing else.
[[nodiscard]] constexpr bool IsWhitespace(char c) {
    return c == '\t' || c == '\n' || c == '\r' || c == ' ';
}

[[nodiscard]] constexpr char FoldCase(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Byte-wise comparison folding A-Z to a-z: <0, 0 or >0.
[[nodiscard]] int CompareNoCase(std::string_view a, std::string_view b);
[[nodiscard]] bool EqualsNoCase(std::string_view a, std::string_view b);
[[nodiscard]] bool StartsWithNoCase(std::string_view text, std::string_view prefix);

void TrimLeft(std::string& text);
void TrimRight(std::string& text);
void Trim(std::string& text);
[[nodiscard]] std::string_view TrimmedView(std::string_view text);
void RemoveWhitespace(std::string& text);
void ToLower(std::string& text);

// Replaces every occurrence of pattern, left to right, without overlap.
// An empty pattern changes nothing.
void ReplaceAll(std::string& text, std::string_view pattern, std::string_view replacement);

// CR LF and lone CR become LF; then, unless lineEnd is LF, every LF becomes lineEnd.
void NormalizeLineEnds(std::string& text, std::string_view lineEnd);

// Calls visit(line) for each line of `text`, in place: lines end in LF,
// CR LF or a lone CR, and the piece after the last line end is a line too
// (empty when the text ends in one), as NormalizeLineEnds and a split at LF
// would give them.
template <typename Visit>
void ForEachLine(std::string_view text, Visit&& visit) {
    // Each line-end byte is looked for with find (memchr) and remembered
    // until the walk passes it, so the text is scanned twice at most.
    constexpr std::size_t npos = std::string_view::npos;
    std::size_t nextLf = text.find('\n');
    std::size_t nextCr = text.find('\r');
    std::size_t from = 0;
    for (;;) {
        if (nextLf != npos && nextLf < from) {
            nextLf = text.find('\n', from);
        }
        if (nextCr != npos && nextCr < from) {
            nextCr = text.find('\r', from);
        }
        const std::size_t end = nextLf < nextCr ? nextLf : nextCr;
        visit(text.substr(from, end == npos ? npos : end - from));
        if (end == npos) {
            return;
        }
        from = end + (end == nextCr && nextLf == end + 1 ? 2 : 1);
    }
}

// printf-style formatting into a new string of whatever length it needs.
[[nodiscard]] std::string FormatNew(const char* format, ...) __attribute__((format(printf, 1, 2)));
// printf-style formatting into a caller's buffer, cut to fit, always terminated.
void FormatInto(char* buffer, std::size_t size, const char* format, ...)
    __attribute__((format(printf, 3, 4)));

// The last "." after the last path separator ("\\", "/" or ":"), dot
// included; empty when there is none. A view into path.
[[nodiscard]] std::string_view ExtensionOf(std::string_view path);
// The text after the last path separator; the whole path when there is none.
[[nodiscard]] std::string_view FileNameOf(std::string_view path);
// The folder a path names a file in: all before its last "/", "/" for a
// file at the root, "." for a bare name.
[[nodiscard]] std::string FolderOfPath(std::string_view path);
[[nodiscard]] bool IsPathSeparator(char c);

// Files. Paths are plain 8-bit strings.
[[nodiscard]] bool FileExists(const std::string& path);
[[nodiscard]] std::optional<std::string> ReadWholeFile(const std::string& path);
// Creates or truncates the file and writes every byte; with durable, the
// data is also flushed to the disk before the call returns.
[[nodiscard]] bool WriteWholeFile(const std::string& path, std::string_view bytes,
                                  bool durable = false, FileWrites& writes = SystemFileWrites());
[[nodiscard]] std::optional<std::uint64_t> FileSize(const std::string& path);
[[nodiscard]] bool CopyFileOver(const std::string& from, const std::string& to);
// Moves from over to, replacing to even when it is read-only. A rename
// where the file system allows, so the target is never seen half-written.
[[nodiscard]] bool MoveFileOver(const std::string& from, const std::string& to,
                                FileWrites& writes = SystemFileWrites());
bool RemoveFile(const std::string& path);
// Creates a new, empty file named prefix, the process id, "." and a unique
// suffix in directory and returns its path; none when the directory cannot
// take one. Files of that form whose process no longer runs are leftovers
// of a killed writer and are removed first. The file gets the mode of
// modeLike when that file exists, else rw-r--r--.
[[nodiscard]] std::optional<std::string> CreateUniqueFile(const std::string& directory,
                                                          std::string_view prefix,
                                                          const std::string& modeLike = {});

// Replaces the file with bytes through a temporary file beside it, flushed
// to the disk and moved over the file, so the file is never seen torn; a
// failure leaves the earlier file as it was.
[[nodiscard]] bool ReplaceWholeFile(const std::string& path, std::string_view bytes,
                                    FileWrites& writes = SystemFileWrites());

}  // namespace vantic
