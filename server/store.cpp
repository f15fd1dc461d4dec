#include "server/store.h"

#include <sys/statvfs.h>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <filesystem>

#include "core/cpstring.h"
#include "net/bytes.h"
#include "net/hex.h"
#include "server/private_files.h"

namespace vantic::server {

namespace {

std::string_view UnitFileName(UnitFile file) {
    switch (file) {
        case UnitFile::Instructions:
            return "instructions.txt";
        case UnitFile::Playlist:
            return "playlist.txt";
        case UnitFile::Runtime:
            return "runtime.txt";
        case UnitFile::Info:
            return "info.txt";
        case UnitFile::Timing:
            return "timing.txt";
    }
    return "unknown.txt";
}

bool MakeFolders(const std::string& dir, std::string& error) {
    for (const char* sub : {"", "/units", "/media", "/tmp"}) {
        if (!MakePrivateFolders(dir + sub, error)) {
            return false;
        }
    }
    return true;
}

}  // namespace

Store::Store(std::string dir, bool durable, int lockFd)
    : dir_(std::move(dir)), durable_(durable), lockFd_(lockFd) {}

Store::~Store() {
    if (lockFd_ >= 0) {
        ::close(lockFd_);
    }
}

std::unique_ptr<Store> Store::Open(const std::string& dir, bool durable, std::string& error) {
    if (dir.empty()) {
        error = "no data directory given";
        return nullptr;
    }
    if (!MakeFolders(dir, error)) {
        return nullptr;
    }
    const std::string lockPath = dir + "/tmp/server.lock";
    int fd = ::open(lockPath.c_str(), O_CREAT | O_RDWR | O_CLOEXEC, kPrivateFileMode);
    if (fd < 0 || ::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        error = "the data directory " + dir + " is in use by another server";
        if (fd >= 0) {
            ::close(fd);
        }
        return nullptr;
    }
    SweepTemporaryFiles(dir + "/tmp");
    return std::unique_ptr<Store>(new Store(dir, durable, fd));
}

bool Store::WriteFile(const std::string& path, std::string_view bytes) {
    return WriteFileAtomically(path, TempDir(), bytes, durable_);
}

std::vector<Account> Store::LoadAccounts() const {
    return ParseAccounts(ReadWholeFile(dir_ + "/accounts.txt").value_or(""));
}

bool Store::SaveAccounts(const std::vector<Account>& accounts) {
    return WriteFileAtomically(dir_ + "/accounts.txt", TempDir(), FormatAccounts(accounts),
                               durable_, kPrivateFileMode);
}

std::vector<UnitRow> Store::LoadUnits() const {
    return ParseUnitList(ReadWholeFile(dir_ + "/units.txt").value_or(""));
}

bool Store::SaveUnits(const std::vector<UnitRow>& rows) {
    return WriteFile(dir_ + "/units.txt", FormatUnitListFile(rows));
}

std::string Store::UnitPath(std::uint32_t unit, UnitFile file) const {
    return dir_ + "/units/" + std::to_string(unit) + "/" + std::string(UnitFileName(file));
}

std::optional<std::string> Store::ReadUnitFile(std::uint32_t unit, UnitFile file) const {
    return ReadWholeFile(UnitPath(unit, file));
}

bool Store::WriteUnitFile(std::uint32_t unit, UnitFile file, std::string_view bytes) {
    std::string error;
    return MakePrivateFolders(dir_ + "/units/" + std::to_string(unit), error) &&
           WriteFile(UnitPath(unit, file), bytes);
}

std::optional<TimingWords> Store::LoadTiming(std::uint32_t unit) const {
    std::optional<std::string> text = ReadUnitFile(unit, UnitFile::Timing);
    if (!text) {
        return std::nullopt;
    }
    return ParseTimingFile(*text);
}

bool Store::SaveTiming(std::uint32_t unit, const TimingWords& words) {
    return WriteUnitFile(unit, UnitFile::Timing, FormatTimingFile(words));
}

std::optional<std::string> Store::ReadOwners() const {
    return ReadWholeFile(dir_ + "/owners.txt");
}

bool Store::WriteOwners(std::string_view text) {
    return WriteFile(dir_ + "/owners.txt", text);
}

std::string Store::MediaPath(const Digest& digest) const {
    return dir_ + "/media/" + HexEncode(ByteView(digest));
}

bool Store::HasMedia(const Digest& digest) const {
    return FileExists(MediaPath(digest));
}

std::unique_ptr<AtomicFile> Store::BeginMedia(const Digest& digest) const {
    return AtomicFile::Begin(MediaPath(digest), TempDir());
}

bool Store::WriteMedia(const Digest& digest, std::string_view bytes) {
    return WriteFile(MediaPath(digest), bytes);
}

std::optional<std::uint64_t> Store::FreeMediaBytes() const {
    struct statvfs disk {};
    if (::statvfs((dir_ + "/media").c_str(), &disk) != 0) {
        return std::nullopt;
    }
    return static_cast<std::uint64_t>(disk.f_bavail) * disk.f_frsize;
}

}  // namespace vantic::server
