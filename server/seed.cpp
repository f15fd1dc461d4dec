#include "server/seed.h"

#include <fcntl.h>
#include <sys/random.h>
#include <unistd.h>

#include <algorithm>
#include <utility>

#include "core/cpstring.h"
#include "net/hex.h"
#include "net/md5.h"
#include "net/rsa.h"
#include "server/clock_text.h"
#include "server/demo_venue.h"
#include "server/entry_text.h"
#include "server/simulator.h"
#include "server/store.h"

namespace vantic::server {

namespace {

using Settings = std::vector<std::pair<std::string, std::string>>;

constexpr std::time_t kDay = 86400;
constexpr std::time_t kHour = 3600;
constexpr int kKeyBits = 1024;
constexpr int kHistoryDays = demo::kHistoryDays;

// A small deterministic generator, so a venue's play counts look random
// but every run of the seed tells the same story.
class Dice {
  public:
    explicit Dice(std::uint64_t seed) : state_(seed * 0x9E3779B97F4A7C15ull + 1) {}
    int Between(int low, int high) {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 7;
        state_ ^= state_ << 17;
        return low + static_cast<int>(state_ % static_cast<std::uint64_t>(high - low + 1));
    }

  private:
    std::uint64_t state_;
};

std::string Notes(const demo::Unit& unit) {
    if (unit.owner.empty()) {
        return std::string(unit.place);
    }
    std::string notes = "[";
    notes.append(unit.owner).append("] ").append(unit.place);
    return notes;
}

std::string MediaBytes(const demo::Clip& clip) {
    std::string bytes = "VANTIC DEMO MEDIA\n" + std::string(clip.file) + "\n";
    const std::size_t size = 1024 * (2 + clip.file.size() % 11) + clip.file.size();
    while (bytes.size() < size) {
        bytes += bytes.substr(0, std::min(bytes.size(), size - bytes.size()));
    }
    return bytes;
}

std::string DayField(std::time_t now, int offset, const char* time) {
    return offset == 0 ? std::string("None") : DayText(now + offset * kDay) + " " + time;
}

bool IsStill(std::string_view file) {
    return file.ends_with(".jpg") || file.ends_with(".jpeg");
}

// The clip's instruction-file line; stores its media on the way.
std::optional<EntryFields> ClipLine(Store& store, const demo::Unit& unit, const demo::Clip& clip,
                                    std::time_t now) {
    const std::string bytes = MediaBytes(clip);
    const Md5Digest digest = Md5Buffer(AsBytes(bytes));
    if (!store.HasMedia(digest) && !store.WriteMedia(digest, bytes)) {
        return std::nullopt;
    }
    return EntryFields{std::to_string(clip.channel),
                       "C:\\Media\\" + std::string(unit.folder) + "\\" + std::string(clip.file),
                       IsStill(clip.file) ? "10.000000" : "Auto",
                       HexEncode(ByteView(digest)),
                       std::to_string(std::max<std::size_t>(1, bytes.size() / 1024)) + " KB",
                       std::string(clip.day),
                       std::string(clip.schedule),
                       DayField(now, clip.firstDayOffset, "00:00"),
                       DayField(now, clip.lastDayOffset, "23:59"),
                       clip.channel == 3 ? "B" : "A",
                       std::string(clip.notes)};
}

bool HasChannel(const demo::Unit& unit, int channel) {
    return std::any_of(unit.clips.begin(), unit.clips.end(),
                       [&](const demo::Clip& clip) { return clip.channel == channel; });
}

// The settings an operator would have deployed to the unit.
Settings DeployedSettings(const demo::Unit& unit) {
    const bool restricted = unit.number % 3 == 0;
    return Settings{
        {"notes", Notes(unit)},
        {"location1", std::string(unit.location1)},
        {"location2", std::string(unit.location2)},
        {"VideoRandom", unit.clips.size() > 2 ? "1" : "0"},
        {"VideoAltRandom", "0"},
        {"AudioARandom", HasChannel(unit, 2) ? "1" : "0"},
        {"AudioBRandom", "0"},
        {"crawl", unit.number % 2 == 0 ? "1" : "0"},
        {"crawlsize", "8"},
        {"crawlspeed", "5"},
        {"crawlforeground", "ffff00"},
        {"crawlbackground", "000080"},
        {"RestrictedPlay", restricted ? "1" : "0"},
        {"RestrictedPlayStart", "07:00"},
        {"RestrictedPlayStop", "22:30"},
        {"RestrictedUpdate", "0"},
        {"RestrictedUpdateStart", "00:00"},
        {"RestrictedUpdateStop", "23:59"},
    };
}

// What the unit reports about itself: the deployed settings and more.
std::string InfoRecord(const demo::Unit& unit, bool reset) {
    Settings settings = reset ? Settings{{"notes", Notes(unit)}} : DeployedSettings(unit);
    settings.emplace_back("version", std::string(demo::kVersion));
    settings.emplace_back("VideoAlt", HasChannel(unit, 1) ? "1" : "0");
    settings.emplace_back("UpdateFixed", unit.number % 4 == 0 ? "1" : "0");
    settings.emplace_back("UpdateFixedStart", "02:00");
    settings.emplace_back("UpdateFreq", unit.number % 4 == 0 ? "1" : "24");
    std::string text;
    for (const auto& [key, value] : settings) {
        text += key + "=" + value + "\n";
    }
    return text;
}

TimingWords Timing(const demo::Unit& unit, std::time_t now) {
    const std::time_t jitter = static_cast<std::time_t>(unit.number % 47) * 60;
    std::time_t last = now - 5 * 60 - jitter;
    if (unit.status == "Late Calling In") {
        last = now - 2 * kHour - jitter;
    } else if (unit.status == "Check Network Connection") {
        last = now - 3 * kDay - jitter;
    }
    return TimingWords{1000 + unit.number % 900, static_cast<std::uint32_t>(last), kHour, 0,
                       static_cast<std::uint32_t>(last + kHour)};
}

bool PlaysOn(const demo::Clip& clip, int daysAgo) {
    return (clip.firstDayOffset == 0 || -daysAgo >= clip.firstDayOffset) &&
           (clip.lastDayOffset == 0 || -daysAgo <= clip.lastDayOffset);
}

// Daily play counts of every clip over the last weeks, up to the unit's
// last call-in.
std::vector<EntryFields> RuntimeHistory(const demo::Unit& unit,
                                        const std::vector<EntryFields>& clips, std::time_t now,
                                        std::time_t lastCallIn) {
    std::vector<EntryFields> runtime;
    Dice dice(unit.number);
    for (int daysAgo = kHistoryDays - 1; daysAgo >= 0; --daysAgo) {
        const std::time_t day = StartOfDay(now - daysAgo * kDay);
        if (day > lastCallIn) {
            break;
        }
        for (std::size_t i = 0; i < clips.size(); ++i) {
            const demo::Clip& clip = unit.clips[i];
            if (!PlaysOn(clip, daysAgo)) {
                continue;
            }
            const auto peers =
                std::count_if(unit.clips.begin(), unit.clips.end(),
                              [&](const auto& c) { return c.channel == clip.channel; });
            int plays = dice.Between(420, 660) / static_cast<int>(peers);
            if (daysAgo == 0) {
                plays = std::max<int>(1, static_cast<int>(plays * (lastCallIn - day) / kDay));
            }
            runtime.push_back(RuntimeEntry(clips[i], day, plays));
        }
    }
    return runtime;
}

std::string SettingLines(const Settings& settings) {
    std::string text;
    for (const auto& [key, value] : settings) {
        text += "\n4\t" + key + "\t" + value;
    }
    return text;
}

// Everything of one unit; gives its unit list row.
std::optional<UnitRow> SeedUnit(Store& store, const demo::Unit& unit, std::time_t now) {
    const bool reset = unit.status == "Factory Defaults";
    std::vector<EntryFields> clips;
    for (const demo::Clip& clip : unit.clips) {
        std::optional<EntryFields> line = ClipLine(store, unit, clip, now);
        if (!line) {
            return std::nullopt;
        }
        clips.push_back(std::move(*line));
    }
    const TimingWords timing = Timing(unit, now);
    bool ok = store.SaveTiming(unit.number, timing) &&
              store.WriteUnitFile(unit.number, UnitFile::Info, InfoRecord(unit, reset));
    if (!reset) {
        // The late unit has not yet fetched its newest clip.
        std::vector<EntryFields> reported = clips;
        if (unit.status == "Late Calling In" && reported.size() > 1) {
            reported.pop_back();
        }
        const std::string text = WriteEntryLines(clips) + SettingLines(DeployedSettings(unit));
        ok = ok && store.WriteUnitFile(unit.number, UnitFile::Instructions, text) &&
             store.WriteUnitFile(unit.number, UnitFile::Playlist, WriteEntryLines(reported)) &&
             store.WriteUnitFile(unit.number, UnitFile::Runtime,
                                 WriteEntryLines(RuntimeHistory(unit, clips, now, timing.last)));
    }
    if (!ok) {
        return std::nullopt;
    }
    return UnitRow{unit.number, Notes(unit), std::string(unit.status), CallInText(timing.last),
                   CallInText(timing.next)};
}

std::string OwnerTable() {
    std::string text;
    for (const demo::Unit& unit : demo::Units()) {
        if (!unit.owner.empty()) {
            text += std::to_string(unit.number) + "=" + std::string(unit.owner) + "\n";
        }
    }
    return text;
}

std::optional<std::vector<SeededAccount>> DemoAccounts(std::uint32_t hashIterations) {
    SeededAccount operatorAccount;
    operatorAccount.login = demo::kOperatorLogin;
    for (const demo::Unit& unit : demo::Units()) {
        if (unit.operatorSees) {
            operatorAccount.units.push_back(unit.number);
        }
    }
    SeededAccount administrator;
    administrator.login = kAdministratorLogin;
    administrator.allUnits = true;
    std::vector<SeededAccount> accounts{operatorAccount, administrator};
    for (SeededAccount& account : accounts) {
        account.password = RandomPassword(10);
        std::optional<std::string> hash = HashPassword(account.password, hashIterations);
        if (!hash) {
            return std::nullopt;
        }
        account.storedPassword = std::move(*hash);
    }
    return accounts;
}

bool WriteKeys(const Store& store) {
    std::optional<RsaPrivateKey> key = GenerateRsaKey(kKeyBits);
    return key && WritePrivateKeyFile(store.PrivateKeyPath(), *key) &&
           WritePublicKeyFile(store.PublicKeyPath(), key->Public());
}

void SyncStore(const Store& store) {
    int fd = ::open(store.Dir().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::syncfs(fd);
        ::close(fd);
    }
}

}  // namespace

std::string RandomPassword(std::size_t length) {
    // No look-alike characters (0/O, 1/l/I), so a printed password can be typed.
    static constexpr std::string_view kAlphabet =
        "abcdefghijkmnpqrstuvwxyzABCDEFGHJKLMNPQRSTUVWXYZ23456789";
    std::string password;
    while (password.size() < length) {
        unsigned char byte = 0;
        if (::getrandom(&byte, 1, 0) == 1 && byte < 4 * kAlphabet.size()) {
            password += kAlphabet[byte % kAlphabet.size()];
        }
    }
    return password;
}

std::optional<std::vector<SeededAccount>> SeedDemo(const std::string& dir, std::time_t now,
                                                   std::string& error,
                                                   std::uint32_t hashIterations) {
    if (FileExists(dir + "/server.key")) {
        error = dir + " already holds a venue (server.key exists)";
        return std::nullopt;
    }
    // Written without waiting for the disk file by file; one sync at the end.
    std::unique_ptr<Store> store = Store::Open(dir, false, error);
    if (!store) {
        return std::nullopt;
    }
    if (!WriteKeys(*store)) {
        error = "cannot write the key pair in " + dir;
        return std::nullopt;
    }
    std::vector<UnitRow> rows;
    for (const demo::Unit& unit : demo::Units()) {
        std::optional<UnitRow> row = SeedUnit(*store, unit, now);
        if (!row) {
            error = "cannot write unit " + std::to_string(unit.number) + " in " + dir;
            return std::nullopt;
        }
        rows.push_back(std::move(*row));
    }
    std::optional<std::vector<SeededAccount>> accounts = DemoAccounts(hashIterations);
    if (!accounts) {
        error = "cannot hash the demo passwords";
        return std::nullopt;
    }
    const std::vector<Account> stored(accounts->begin(), accounts->end());
    if (!store->SaveUnits(rows) || !store->WriteOwners(OwnerTable()) ||
        !store->SaveAccounts(stored)) {
        error = "cannot write the venue files in " + dir;
        return std::nullopt;
    }
    SyncStore(*store);
    return accounts;
}

}  // namespace vantic::server
