#pragma once

// The server's data directory. Everything is a plain file a person can
// read and edit:
//
//   server.key, p.key          the key pair (p.key goes beside controllers)
//   accounts.txt               operator accounts (see accounts.h), mode 0600
//   units.txt                  the unit list (see unit_list.h)
//   owners.txt                 the owner table, as controllers upload it
//   units/N/instructions.txt   unit N's instruction file
//   units/N/playlist.txt       the playlists unit N reported
//   units/N/runtime.txt        unit N's proof-of-play report
//   units/N/info.txt           unit N's information record (key=value)
//   units/N/timing.txt         unit N's timing words (see timing.h)
//   media/<md5>                media, named by the lower-case hex MD5
//   tmp/                       temporary files of unfinished writes
//
// Every write replaces a whole file through tmp/ and a rename. The folders
// are created with mode 0700: only the server's user may look inside.

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "server/accounts.h"
#include "server/atomic_file.h"
#include "server/timing.h"
#include "server/unit_list.h"
#include "server/wire.h"

namespace vantic::server {

enum class UnitFile { Instructions, Playlist, Runtime, Info, Timing };

class Store {
  public:
    // Opens (creating the folders of) the store in dir and takes its lock,
    // so no second server uses the same directory. With durable, files
    // reach the disk before they replace the old ones.
    [[nodiscard]] static std::unique_ptr<Store> Open(const std::string& dir, bool durable,
                                                     std::string& error);
    ~Store();
    Store(const Store&) = delete;
    Store& operator=(const Store&) = delete;

    [[nodiscard]] const std::string& Dir() const { return dir_; }
    [[nodiscard]] std::string PrivateKeyPath() const { return dir_ + "/server.key"; }
    [[nodiscard]] std::string PublicKeyPath() const { return dir_ + "/p.key"; }
    [[nodiscard]] std::string TempDir() const { return dir_ + "/tmp"; }

    [[nodiscard]] std::vector<Account> LoadAccounts() const;
    [[nodiscard]] bool SaveAccounts(const std::vector<Account>& accounts);

    [[nodiscard]] std::vector<UnitRow> LoadUnits() const;
    // Read-modify-write of the unit list must hold this lock.
    [[nodiscard]] std::mutex& UnitListLock() { return unitListLock_; }
    [[nodiscard]] bool SaveUnits(const std::vector<UnitRow>& rows);

    [[nodiscard]] std::optional<std::string> ReadUnitFile(std::uint32_t unit, UnitFile file) const;
    [[nodiscard]] bool WriteUnitFile(std::uint32_t unit, UnitFile file, std::string_view bytes);
    [[nodiscard]] std::optional<TimingWords> LoadTiming(std::uint32_t unit) const;
    [[nodiscard]] bool SaveTiming(std::uint32_t unit, const TimingWords& words);

    [[nodiscard]] std::optional<std::string> ReadOwners() const;
    [[nodiscard]] bool WriteOwners(std::string_view text);

    [[nodiscard]] std::string MediaPath(const Digest& digest) const;
    [[nodiscard]] bool HasMedia(const Digest& digest) const;
    // A new media file, put in place by its Commit.
    [[nodiscard]] std::unique_ptr<AtomicFile> BeginMedia(const Digest& digest) const;
    [[nodiscard]] bool WriteMedia(const Digest& digest, std::string_view bytes);
    // Bytes an unprivileged writer may still put on the media's disk;
    // nothing when the system cannot say.
    [[nodiscard]] std::optional<std::uint64_t> FreeMediaBytes() const;

    [[nodiscard]] bool Durable() const { return durable_; }
    [[nodiscard]] bool WriteFile(const std::string& path, std::string_view bytes);

  private:
    Store(std::string dir, bool durable, int lockFd);
    [[nodiscard]] std::string UnitPath(std::uint32_t unit, UnitFile file) const;

    std::string dir_;
    bool durable_;
    int lockFd_;
    std::mutex unitListLock_;
};

}  // namespace vantic::server
