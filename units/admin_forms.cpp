#include "units/admin_forms.h"

#include <algorithm>

#include "core/cpconfig.h"
#include "core/cpstring.h"
#include "core/cpstringarray.h"
#include "playlist/entry_fields.h"
#include "units/unit_settings.h"

namespace vantic {
namespace {

constexpr std::array kTimeZones{
    TimeZoneChoice{TimeZone::Eastern, "Eastern", "/usr/share/zoneinfo/EST5EDT"},
    TimeZoneChoice{TimeZone::Central, "Central", "/usr/share/zoneinfo/CST6CDT"},
    TimeZoneChoice{TimeZone::Mountain, "Mountain", "/usr/share/zoneinfo/MST7MDT"},
    TimeZoneChoice{TimeZone::Pacific, "Pacific", "/usr/share/zoneinfo/PST8PDT"},
    TimeZoneChoice{TimeZone::Alaska, "Alaska", "/usr/share/zoneinfo/America/Anchorage"},
    TimeZoneChoice{TimeZone::Hawaii, "Hawaii", "/usr/share/zoneinfo/Pacific/Honolulu"},
};

constexpr std::size_t kCarrierFieldCount = 11;

}  // namespace

std::span<const TimeZoneChoice> TimeZoneChoices() {
    return kTimeZones;
}

const TimeZoneChoice& ChoiceOf(TimeZone zone) {
    return *std::find_if(kTimeZones.begin(), kTimeZones.end(),
                         [zone](const TimeZoneChoice& choice) { return choice.zone == zone; });
}

std::optional<TimeZone> TimeZoneNamed(std::string_view text) {
    for (const TimeZoneChoice& choice : kTimeZones) {
        if (EqualsNoCase(TrimmedView(text), choice.label)) {
            return choice.zone;
        }
    }
    return std::nullopt;
}

long long RefreshMinutes(std::string_view box) {
    return LeadingInteger(box);
}

bool RefreshInRange(long long minutes) {
    return minutes >= kMinCrawlRefresh && minutes <= kMaxCrawlRefresh;
}

EntryList AdminConfigChanges(std::string_view text) {
    cpStringArray lines;
    (void)lines.SplitLines(text);
    EntryList changes;
    for (std::string_view line : lines) {
        line = TrimmedView(line);
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos || equals == 0) {
            continue;
        }
        changes.push_back(NewSettingEntry(line.substr(0, equals), line.substr(equals + 1)));
    }
    return changes;
}

std::string OwnerNameFrom(std::string_view typed) {
    std::string name(typed.substr(0, kOwnerNameLimit));
    RemoveWhitespace(name);
    return name;
}

std::string OwnerTableWith(std::string_view table, std::span<const std::uint32_t> units,
                           std::string_view owner) {
    cpConfig record;
    if (!record.ParseText(table)) {
        return std::string(table);
    }
    for (std::uint32_t unit : units) {
        if (unit != 1) {
            record.Set(std::to_string(unit), owner);
        }
    }
    return record.ToText();
}

EntryList CrawlChanges(std::string_view contentName, long long minutes) {
    return {NewSettingEntry(unit_key::kCrawlData, contentName),
            NewSettingEntry(unit_key::kCrawlRefresh, std::to_string(minutes))};
}

EntryList FirmwareChanges(std::string_view contentName) {
    return {NewSettingEntry(unit_key::kFirmwarePending, contentName)};
}

EntryList TimezoneChanges(TimeZone zone) {
    return {NewSettingEntry(unit_key::kTimezonePending, ChoiceOf(zone).path)};
}

std::optional<PlayEntry> MediaCarrier(const std::string& path) {
    cpStringArray fields;
    (void)fields.AppendAll({"0", path});
    while (fields.Count() < kCarrierFieldCount) {
        (void)fields.AppendCopy("");
    }
    return EntryFromFields(fields);
}

}  // namespace vantic
