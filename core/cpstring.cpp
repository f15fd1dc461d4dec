#include "core/cpstring.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "core/file_writes.h"
#include "core/write_steps.h"

namespace vantic {

namespace {

std::string VFormat(const char* format, va_list args) {
    // Start at 64 bytes and double until the text fits, as a printf into a
    // fixed buffer would otherwise cut it.
    std::vector<char> buffer(64);
    for (;;) {
        va_list copy;
        va_copy(copy, args);
        int needed = std::vsnprintf(buffer.data(), buffer.size(), format, copy);
        va_end(copy);
        if (needed < 0) {
            return {};
        }
        if (static_cast<std::size_t>(needed) < buffer.size()) {
            return std::string(buffer.data(), static_cast<std::size_t>(needed));
        }
        buffer.resize(buffer.size() * 2 > static_cast<std::size_t>(needed) + 1
                          ? buffer.size() * 2
                          : static_cast<std::size_t>(needed) + 1);
    }
}

}  // namespace

int CompareNoCase(std::string_view a, std::string_view b) {
    std::size_t n = a.size() < b.size() ? a.size() : b.size();
    for (std::size_t i = 0; i < n; ++i) {
        auto ca = static_cast<unsigned char>(FoldCase(a[i]));
        auto cb = static_cast<unsigned char>(FoldCase(b[i]));
        if (ca != cb) {
            return ca < cb ? -1 : 1;
        }
    }
    if (a.size() == b.size()) {
        return 0;
    }
    return a.size() < b.size() ? -1 : 1;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && CompareNoCase(a, b) == 0;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && EqualsNoCase(text.substr(0, prefix.size()), prefix);
}

void TrimLeft(std::string& text) {
    std::size_t start = 0;
    while (start < text.size() && IsWhitespace(text[start])) {
        ++start;
    }
    text.erase(0, start);
}

void TrimRight(std::string& text) {
    std::size_t end = text.size();
    while (end > 0 && IsWhitespace(text[end - 1])) {
        --end;
    }
    text.resize(end);
}

void Trim(std::string& text) {
    TrimRight(text);
    TrimLeft(text);
}

std::string_view TrimmedView(std::string_view text) {
    while (!text.empty() && IsWhitespace(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsWhitespace(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

void RemoveWhitespace(std::string& text) {
    std::erase_if(text, [](char c) { return IsWhitespace(c); });
}

void ToLower(std::string& text) {
    for (char& c : text) {
        c = FoldCase(c);
    }
}

void ReplaceAll(std::string& text, std::string_view pattern, std::string_view replacement) {
    if (pattern.empty()) {
        return;
    }
    std::string result;
    result.reserve(text.size());
    std::size_t from = 0;
    for (;;) {
        std::size_t at = text.find(pattern, from);
        if (at == std::string::npos) {
            result.append(text, from, std::string::npos);
            break;
        }
        result.append(text, from, at - from);
        result.append(replacement);
        from = at + pattern.size();
    }
    text = std::move(result);
}

void NormalizeLineEnds(std::string& text, std::string_view lineEnd) {
    ReplaceAll(text, "\r\n", "\n");
    ReplaceAll(text, "\r", "\n");
    if (lineEnd != "\n") {
        ReplaceAll(text, "\n", lineEnd);
    }
}

std::string FormatNew(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::string text = VFormat(format, args);
    va_end(args);
    return text;
}

void FormatInto(char* buffer, std::size_t size, const char* format, ...) {
    if (buffer == nullptr || size == 0) {
        return;
    }
    va_list args;
    va_start(args, format);
    int written = std::vsnprintf(buffer, size, format, args);
    va_end(args);
    if (written < 0) {
        buffer[0] = '\0';
    }
}

bool IsPathSeparator(char c) {
    return c == '\\' || c == '/' || c == ':';
}

std::string_view ExtensionOf(std::string_view path) {
    for (std::size_t i = path.size(); i > 0; --i) {
        char c = path[i - 1];
        if (IsPathSeparator(c)) {
            break;
        }
        if (c == '.') {
            return path.substr(i - 1);
        }
    }
    return path.substr(path.size());
}

std::string FolderOfPath(std::string_view path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string_view::npos) {
        return ".";
    }
    return std::string(path.substr(0, slash == 0 ? 1 : slash));
}

std::string_view FileNameOf(std::string_view path) {
    for (std::size_t i = path.size(); i > 0; --i) {
        if (IsPathSeparator(path[i - 1])) {
            return path.substr(i);
        }
    }
    return path;
}

bool FileExists(const std::string& path) {
    if (path.empty()) {
        return false;
    }
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    struct stat info {};
    bool regular = ::fstat(fd, &info) == 0 && !S_ISDIR(info.st_mode);
    ::close(fd);
    return regular;
}

std::optional<std::string> ReadWholeFile(const std::string& path) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return std::nullopt;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || S_ISDIR(info.st_mode)) {
        ::close(fd);
        return std::nullopt;
    }
    std::string bytes;
    char chunk[65536];
    for (;;) {
        ssize_t got = ::read(fd, chunk, sizeof chunk);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            ::close(fd);
            return std::nullopt;
        }
        if (got == 0) {
            break;
        }
        bytes.append(chunk, static_cast<std::size_t>(got));
    }
    ::close(fd);
    return bytes;
}

bool WriteWholeFile(const std::string& path, std::string_view bytes, bool durable,
                    FileWrites& writes) {
    const int fd = writes.Create(path);
    if (fd < 0) {
        return false;
    }
    PassWriteStep(WriteStep::TemporaryOpened);
    const std::size_t half = bytes.size() / 2;
    bool ok = WriteAll(writes, fd, bytes.substr(0, half));
    PassWriteStep(WriteStep::BodyHalfWritten);
    ok = ok && WriteAll(writes, fd, bytes.substr(half));
    if (ok && durable) {
        ok = writes.Flush(fd);
    }
    return ::close(fd) == 0 && ok;
}

std::optional<std::uint64_t> FileSize(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || S_ISDIR(info.st_mode)) {
        return std::nullopt;
    }
    return static_cast<std::uint64_t>(info.st_size);
}

bool CopyFileOver(const std::string& from, const std::string& to) {
    auto bytes = ReadWholeFile(from);
    if (!bytes) {
        return false;
    }
    ::chmod(to.c_str(), 0644);  // a read-only target is still replaced
    return WriteWholeFile(to, *bytes);
}

bool MoveFileOver(const std::string& from, const std::string& to, FileWrites& writes) {
    PassWriteStep(WriteStep::BeforeRename);
    if (writes.Rename(from, to) == 0) {
        PassWriteStep(WriteStep::Renamed);
        return true;
    }
    if (errno != EXDEV) {
        return false;
    }
    // Across file systems: copy beside the target first, then rename, so the
    // target is never half-written.
    std::string beside = to + ".moving";
    auto bytes = ReadWholeFile(from);
    if (!bytes || !WriteWholeFile(beside, *bytes, true, writes) || writes.Rename(beside, to) != 0) {
        RemoveFile(beside);
        return false;
    }
    PassWriteStep(WriteStep::Renamed);
    RemoveFile(from);
    return true;
}

bool RemoveFile(const std::string& path) {
    return ::unlink(path.c_str()) == 0;
}

namespace {

// The process id in a name prefix + pid + "." + six characters; none for
// any other name.
std::optional<pid_t> TemporaryOwner(std::string_view name, std::string_view prefix) {
    if (!name.starts_with(prefix)) {
        return std::nullopt;
    }
    name.remove_prefix(prefix.size());
    const std::size_t dot = name.find('.');
    if (dot == 0 || dot == std::string_view::npos || name.size() != dot + 7) {
        return std::nullopt;
    }
    long long pid = 0;
    for (const char c : name.substr(0, dot)) {
        if (c < '0' || c > '9' || pid > 1'000'000'000) {
            return std::nullopt;
        }
        pid = pid * 10 + (c - '0');
    }
    return static_cast<pid_t>(pid);
}

// Removes the temporaries of prefix that a process killed mid-write left
// in directory. A process that still runs may be writing its own, so only
// those of vanished processes go.
void SweepDeadTemporaries(const std::string& directory, std::string_view prefix) {
    DIR* folder = ::opendir(directory.c_str());
    if (folder == nullptr) {
        return;
    }
    while (const dirent* entry = ::readdir(folder)) {
        const std::optional<pid_t> owner = TemporaryOwner(entry->d_name, prefix);
        if (owner && *owner != ::getpid() && ::kill(*owner, 0) != 0 && errno == ESRCH) {
            ::unlink((directory + entry->d_name).c_str());
        }
    }
    ::closedir(folder);
}

}  // namespace

std::optional<std::string> CreateUniqueFile(const std::string& directory, std::string_view prefix,
                                            const std::string& modeLike) {
    std::string pattern = directory.empty() ? std::string(".") : directory;
    if (pattern.back() != '/') {
        pattern += '/';
    }
    SweepDeadTemporaries(pattern, prefix);
    // The writer's process id in the name tells a leftover from a file
    // another writer is still filling.
    pattern.append(prefix).append(std::to_string(::getpid())).append(".XXXXXX");
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0) {
        return std::nullopt;
    }
    // mkstemp makes the file private; a file that replaces another keeps
    // that one's permissions.
    struct stat like {};
    const mode_t mode =
        !modeLike.empty() && ::stat(modeLike.c_str(), &like) == 0 ? (like.st_mode & 07777) : 0644;
    ::fchmod(fd, mode);
    ::close(fd);
    return pattern;
}

bool ReplaceWholeFile(const std::string& path, std::string_view bytes, FileWrites& writes) {
    const std::optional<std::string> temporary =
        CreateUniqueFile(FolderOfPath(path), std::string(FileNameOf(path)) + ".", path);
    if (!temporary) {
        return false;
    }
    if (!WriteWholeFile(*temporary, bytes, true, writes) ||
        !MoveFileOver(*temporary, path, writes)) {
        RemoveFile(*temporary);
        return false;
    }
    return true;
}

}  // namespace vantic
