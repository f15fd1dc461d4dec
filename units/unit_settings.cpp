#include "units/unit_settings.h"

#include <algorithm>
#include <array>

#include "core/cpstring.h"

namespace vantic {
namespace {

using T = SettingType;
using W = SettingWriter;
namespace k = unit_key;

constexpr std::size_t kTextLength = 99;
constexpr std::size_t kModemLength = 64;

constexpr SettingKey Text(std::string_view key, std::size_t maxLength,
                          std::optional<std::string_view> fallback = "") {
    return {key, T::Text, fallback, 0, 0, maxLength, W::Editor};
}

constexpr SettingKey Flag(std::string_view key, W writer = W::Editor) {
    return {key, T::Boolean, "0", 0, 0, 0, writer};
}

constexpr SettingKey Time(std::string_view key, std::string_view fallback, W writer = W::Editor) {
    return {key, T::Time, fallback, 0, 0, 0, writer};
}

constexpr std::array kKeys{
    Text(k::kNotes, kTextLength),
    Text(k::kLocation1, kTextLength),
    Text(k::kLocation2, kTextLength),
    Text(k::kLocation3, kTextLength),
    Text(k::kLocation4, kTextLength),
    Flag(k::kVideoRandom),
    Flag(k::kVideoAltRandom),
    Flag(k::kAudioARandom),
    Flag(k::kAudioBRandom),
    Flag(k::kCrawl),
    SettingKey{k::kCrawlSize, T::Number, "8", 1, 50, 0, W::Editor},
    SettingKey{k::kCrawlSpeed, T::Number, "5", 1, 10, 0, W::Editor},
    SettingKey{k::kCrawlForeground, T::Colour, "FFFF00", 0, 0, 0, W::Editor},
    SettingKey{k::kCrawlBackground, T::Colour, "000080", 0, 0, 0, W::Editor},
    Text(k::kPhone, kModemLength, kDefaultModemPhone),
    Text(k::kUsername, kModemLength, kDefaultModemUsername),
    Text(k::kPassword, kModemLength, kDefaultModemPassword),
    Flag(k::kRestrictedPlay),
    Time(k::kRestrictedPlayStart, "00:00"),
    Time(k::kRestrictedPlayStop, "23:59"),
    Flag(k::kRestrictedUpdate),
    Time(k::kRestrictedUpdateStart, "00:00"),
    Time(k::kRestrictedUpdateStop, "23:59"),
    SettingKey{k::kCrawlData, T::ContentName, std::nullopt, 0, 0, 0, W::CrawlText},
    SettingKey{k::kCrawlRefresh, T::Number, std::nullopt, 1, 500000, 0, W::CrawlText},
    SettingKey{k::kFirmwarePending, T::ContentName, std::nullopt, 0, 0, 0, W::Firmware},
    SettingKey{k::kTimezonePending, T::Path, std::nullopt, 0, 0, 0, W::TimeZone},
    SettingKey{k::kVersion, T::Text, std::nullopt, 0, 0, 0, W::UnitReport},
    Flag(k::kVideoAlt, W::UnitReport),
    Flag(k::kUpdateFixed, W::UnitReport),
    Time(k::kUpdateFixedStart, "00:00", W::UnitReport),
    SettingKey{k::kUpdateFreq, T::Number, "24", 0, 0, 0, W::UnitReport},
};

}  // namespace

std::span<const SettingKey> SettingKeys() {
    return kKeys;
}

const SettingKey* FindSettingKey(std::string_view key) {
    const auto found = std::find_if(kKeys.begin(), kKeys.end(), [key](const SettingKey& row) {
        return EqualsNoCase(row.key, key);
    });
    return found == kKeys.end() ? nullptr : &*found;
}

std::string_view SettingFallback(std::string_view key) {
    const SettingKey* row = FindSettingKey(key);
    return row != nullptr && row->fallback ? *row->fallback : std::string_view();
}

std::string_view SettingBoolText(bool value) {
    return value ? "1" : "0";
}

bool SettingBool(std::string_view text) {
    return ParseBool(text);
}

std::string UnitSettings::Value(std::string_view key) const {
    std::optional<std::string> value = Find(key);
    return value ? *value : std::string(SettingFallback(key));
}

bool UnitSettings::Flag(std::string_view key) const {
    return SettingBool(Value(key));
}

void UnitSettings::SetAll(const EntryList& entries) {
    for (const PlayEntry& entry : entries) {
        if (entry.isSetting) {
            Set(entry.key, entry.value);
        }
    }
}

}  // namespace vantic
