#pragma once

// A unit's settings: the keys the controller knows (what each holds, its
// value when the unit has none, and who writes it), and the settings view,
// the key=value lines of one unit's settings while they are shown or
// edited. The unit interprets the values; the controller attaches no
// meaning of its own beyond the editor's fields.

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "core/cpconfig.h"
#include "playlist/entry_set.h"

namespace vantic {

// Keys are compared without regard to case and written exactly as here.
namespace unit_key {
inline constexpr std::string_view kNotes = "notes";
inline constexpr std::string_view kLocation1 = "location1";
inline constexpr std::string_view kLocation2 = "location2";
inline constexpr std::string_view kLocation3 = "location3";
inline constexpr std::string_view kLocation4 = "location4";
inline constexpr std::string_view kVideoRandom = "VideoRandom";
inline constexpr std::string_view kVideoAltRandom = "VideoAltRandom";
inline constexpr std::string_view kAudioARandom = "AudioARandom";
inline constexpr std::string_view kAudioBRandom = "AudioBRandom";
inline constexpr std::string_view kCrawl = "crawl";
inline constexpr std::string_view kCrawlSize = "crawlsize";
inline constexpr std::string_view kCrawlSpeed = "crawlspeed";
inline constexpr std::string_view kCrawlForeground = "crawlforeground";
inline constexpr std::string_view kCrawlBackground = "crawlbackground";
inline constexpr std::string_view kPhone = "Phone";
inline constexpr std::string_view kUsername = "Username";
inline constexpr std::string_view kPassword = "Password";
inline constexpr std::string_view kRestrictedPlay = "RestrictedPlay";
inline constexpr std::string_view kRestrictedPlayStart = "RestrictedPlayStart";
inline constexpr std::string_view kRestrictedPlayStop = "RestrictedPlayStop";
inline constexpr std::string_view kRestrictedUpdate = "RestrictedUpdate";
inline constexpr std::string_view kRestrictedUpdateStart = "RestrictedUpdateStart";
inline constexpr std::string_view kRestrictedUpdateStop = "RestrictedUpdateStop";
// Written by the administration commands.
inline constexpr std::string_view kCrawlData = "crawldata";
inline constexpr std::string_view kCrawlRefresh = "crawlrefresh";
inline constexpr std::string_view kFirmwarePending = "FirmwarePending";
inline constexpr std::string_view kTimezonePending = "TimezonePending";
// Reported by the unit itself.
inline constexpr std::string_view kVersion = "version";
inline constexpr std::string_view kVideoAlt = "VideoAlt";
inline constexpr std::string_view kUpdateFixed = "UpdateFixed";
inline constexpr std::string_view kUpdateFixedStart = "UpdateFixedStart";
inline constexpr std::string_view kUpdateFreq = "UpdateFreq";
}  // namespace unit_key

// The modem login a unit uses until it is given one.
inline constexpr std::string_view kDefaultModemPhone = "5550100";
inline constexpr std::string_view kDefaultModemUsername = "vantic";
inline constexpr std::string_view kDefaultModemPassword = "playback";

enum class SettingType {
    Text,         // free text, at most maxLength characters
    Boolean,      // "1" or "0"; read leniently
    Number,       // decimal, minimum to maximum
    Colour,       // six hexadecimal digits RRGGBB
    Time,         // "hh:mm", 24-hour clock
    ContentName,  // 32 lower-case hexadecimal digits
    Path,         // a file on the unit
};

enum class SettingWriter {
    Editor,      // the unit editor
    CrawlText,   // "Set Crawl Text"
    Firmware,    // a new firmware
    TimeZone,    // a new time zone
    UnitReport,  // the unit reports it; only the administrator's free-form settings write it
};

struct SettingKey {
    std::string_view key;
    SettingType type = SettingType::Text;
    // The value a unit without the key behaves as having; none where the
    // unit simply lacks it.
    std::optional<std::string_view> fallback;
    long minimum = 0;  // Number only
    long maximum = 0;
    std::size_t maxLength = 0;  // Text only; 0: unlimited
    SettingWriter writer = SettingWriter::Editor;
};

// Every key, in the editor's order first.
[[nodiscard]] std::span<const SettingKey> SettingKeys();
// The table row of key (any case), or null for a key the table lacks.
[[nodiscard]] const SettingKey* FindSettingKey(std::string_view key);
// The value a unit without key behaves as having; empty when none.
[[nodiscard]] std::string_view SettingFallback(std::string_view key);

// A setting's boolean as written ("1"/"0") and as read: true for a
// non-zero integer or "y", "yes", "ok", "sure", "true", blanks trimmed, any
// case.
[[nodiscard]] std::string_view SettingBoolText(bool value);
[[nodiscard]] bool SettingBool(std::string_view text);

// The settings view: one "key=value" line per key. A lookup takes the first
// line of the key (any case); Set removes every line of the key and puts
// the new one first.
class UnitSettings {
  public:
    [[nodiscard]] std::optional<std::string> Find(std::string_view key) const {
        return lines_.Find(key);
    }
    // The unit's value, or the key's fallback from the table.
    [[nodiscard]] std::string Value(std::string_view key) const;
    // Value() read as a boolean.
    [[nodiscard]] bool Flag(std::string_view key) const;
    void Set(std::string_view key, std::string_view value) { (void)lines_.Set(key, value); }
    // Every setting entry of entries in order, a later line of a key
    // replacing an earlier one.
    void SetAll(const EntryList& entries);
    [[nodiscard]] const cpStringArray& Lines() const { return lines_; }
    [[nodiscard]] bool Empty() const { return lines_.Empty(); }

  private:
    cpConfig lines_;
};

}  // namespace vantic
