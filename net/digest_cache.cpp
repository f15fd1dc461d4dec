#include "net/digest_cache.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <vector>

#include "net/hex.h"

namespace vantic {
namespace {

// The first line of the cache file; another first line means another
// format, which is ignored.
constexpr std::string_view kHeader = "vantic-controller digests 1";
constexpr std::size_t kDigestText = 32;

template <class Number>
bool ParseNumber(std::string_view text, Number& value) {
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size() && !text.empty();
}

// One line: digest, size, modification time, inode and path, tab-separated
// (the path last, so a tab in it is kept).
bool ParseLine(std::string_view line, std::string& path, FileStamp& stamp, Md5Digest& digest) {
    std::string_view fields[4];
    for (std::string_view& field : fields) {
        const std::size_t tab = line.find('\t');
        if (tab == std::string_view::npos) {
            return false;
        }
        field = line.substr(0, tab);
        line.remove_prefix(tab + 1);
    }
    if (fields[0].size() != kDigestText ||
        fields[0].find_first_not_of("0123456789abcdef") != std::string_view::npos ||
        !ParseNumber(fields[1], stamp.size) || !ParseNumber(fields[2], stamp.modifiedNs) ||
        !ParseNumber(fields[3], stamp.inode) || line.empty()) {
        return false;
    }
    const Bytes bytes = HexDecode(fields[0]);
    std::copy_n(bytes.begin(), digest.size(), digest.begin());
    path = std::string(line);
    return true;
}

bool Storable(const std::string& path) {
    return !path.empty() && path.find_first_of("\r\n") == std::string::npos;
}

std::string Folder(const char* base) {
    return base != nullptr && base[0] == '/' ? std::string(base) : std::string();
}

}  // namespace

std::string DefaultDigestCachePath(const char* xdgCacheHome, const char* home) {
    std::string folder = Folder(xdgCacheHome);
    if (folder.empty()) {
        folder = Folder(home);
        if (folder.empty()) {
            return {};
        }
        folder += "/.cache";
    }
    return folder + "/vantic-controller/digests";
}

std::string DefaultDigestCachePath() {
    return DefaultDigestCachePath(std::getenv("XDG_CACHE_HOME"), std::getenv("HOME"));
}

DigestCache::DigestCache(FileService& files, std::string cacheFile)
    : files_(files), cacheFile_(std::move(cacheFile)) {}

DigestCache::~DigestCache() {
    Flush();
}

void DigestCache::Flush() {
    if (changed_ && Save()) {
        changed_ = false;
    }
}

std::optional<Md5Digest> DigestCache::Digest(const std::string& path,
                                             const ByteProgress& progress) {
    Load();
    const std::optional<FileStamp> before = files_.Stamp(path);
    if (!before) {
        return std::nullopt;
    }
    auto known = entries_.find(path);
    if (known != entries_.end() && known->second.stamp == *before) {
        known->second.lastUse = ++uses_;
        changed_ = true;  // its place in the eviction order
        return known->second.digest;
    }
    const std::optional<Md5Digest> digest = Md5File(files_, path, progress);
    if (!digest) {
        return std::nullopt;
    }
    // A file that changed while it was read is not remembered: the digest
    // may mix two versions, and the next deployment reads it again.
    if (files_.Stamp(path) == before && Storable(path)) {
        entries_[path] = Entry{*before, *digest, ++uses_};
        changed_ = true;
    }
    return digest;
}

bool DigestCache::WouldRead(const std::string& path) {
    Load();
    const std::optional<FileStamp> stamp = files_.Stamp(path);
    const auto known = entries_.find(path);
    return stamp && (known == entries_.end() || known->second.stamp != *stamp);
}

void DigestCache::Load() {
    if (loaded_) {
        return;
    }
    loaded_ = true;
    const std::optional<std::string> text =
        cacheFile_.empty() ? std::nullopt : files_.ReadWhole(cacheFile_);
    if (!text) {
        return;
    }
    std::string_view rest = *text;
    std::map<std::string, Entry> read;
    bool first = true;
    while (!rest.empty()) {
        const std::size_t end = rest.find('\n');
        if (end == std::string_view::npos) {
            return;  // a torn last line: the file is not ours to trust
        }
        const std::string_view line = rest.substr(0, end);
        rest.remove_prefix(end + 1);
        if (first) {
            first = false;
            if (line != kHeader) {
                return;
            }
            continue;
        }
        std::string path;
        Entry entry;
        if (!ParseLine(line, path, entry.stamp, entry.digest)) {
            return;
        }
        entry.lastUse = ++uses_;
        read[path] = entry;
    }
    entries_ = std::move(read);
}

bool DigestCache::Save() {
    if (cacheFile_.empty()) {
        return true;
    }
    std::vector<std::pair<const std::string*, const Entry*>> kept;
    for (const auto& [path, entry] : entries_) {
        kept.emplace_back(&path, &entry);
    }
    // The most recently used first, to keep the newest kMaxEntries; written
    // oldest first, as Load numbers the uses in file order.
    std::sort(kept.begin(), kept.end(),
              [](const auto& a, const auto& b) { return a.second->lastUse > b.second->lastUse; });
    if (kept.size() > kMaxEntries) {
        kept.resize(kMaxEntries);
    }
    std::reverse(kept.begin(), kept.end());
    std::string text = std::string(kHeader) + "\n";
    for (const auto& [path, entry] : kept) {
        text += HexEncode(entry->digest) + "\t" + std::to_string(entry->stamp.size) + "\t" +
                std::to_string(entry->stamp.modifiedNs) + "\t" +
                std::to_string(entry->stamp.inode) + "\t" + *path + "\n";
    }
    return files_.ReplaceWhole(cacheFile_, text);
}

}  // namespace vantic
