#include "reports/play_export.h"

#include <algorithm>
#include <map>

#include "core/cpstring.h"
#include "platform/codepage.h"
#include "reports/status_sections.h"

namespace vantic {

namespace {

void AppendUtf8(char32_t c, std::string& out) {
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

std::string DayText(const PlayEntry& entry) {
    return FormatNew("%04d-%02d-%02d", entry.firstYear, entry.firstMonth, entry.firstDay);
}

// One clip of a channel: its counting entries added up per day.
struct ClipDays {
    const PlayEntry* first = nullptr;           // the entry that names the clip
    std::map<std::string, std::int64_t> plays;  // by ISO day, in date order
};

// The clips of a channel, each run of one content name counted from its
// first entry that counts and has a path, as the status report counts it.
std::vector<ClipDays> ClipsOf(EntryList entries, const ReportDateRange& range,
                              std::vector<PlayEntry>& keep) {
    std::stable_sort(entries.begin(), entries.end(), [](const PlayEntry& a, const PlayEntry& b) {
        return CompareNoCase(a.contentName, b.contentName) < 0;
    });
    keep = std::move(entries);
    std::vector<ClipDays> clips;
    for (std::size_t i = 0; i < keep.size(); ++i) {
        if (keep[i].path.empty() || !CountsInRange(keep[i], range)) {
            continue;
        }
        ClipDays clip{&keep[i], {}};
        clip.plays[DayText(keep[i])] += PlayCountOf(keep[i]);
        while (i + 1 < keep.size() && EqualsNoCase(keep[i + 1].contentName, keep[i].contentName)) {
            ++i;
            if (CountsInRange(keep[i], range)) {
                clip.plays[DayText(keep[i])] += PlayCountOf(keep[i]);
            }
        }
        clips.push_back(std::move(clip));
    }
    return clips;
}

void AppendRow(std::string& csv, std::initializer_list<std::string_view> fields) {
    bool first = true;
    for (std::string_view field : fields) {
        if (!first) {
            csv.push_back(',');
        }
        csv += CsvField(field);
        first = false;
    }
    csv += "\r\n";
}

void AppendUnitRows(const UnitPlays& unit, const ReportDateRange& range, std::string& csv) {
    const std::string number = std::to_string(unit.unit);
    for (int channel = 0; channel < kChannelCount; ++channel) {
        std::vector<PlayEntry> sorted;
        for (const ClipDays& clip : ClipsOf(unit.runtime->List(channel), range, sorted)) {
            const std::string file(FileNameOf(clip.first->path));
            for (const auto& [day, plays] : clip.plays) {
                AppendRow(csv, {number, unit.notes, ChannelNames[static_cast<std::size_t>(channel)],
                                file, clip.first->contentName, day, std::to_string(plays)});
            }
        }
    }
}

}  // namespace

std::string CsvField(std::string_view text) {
    std::string utf8;
    for (char c : text) {
        AppendUtf8(Cp1252ToUnicode(static_cast<unsigned char>(c)), utf8);
    }
    if (utf8.find_first_of(",\"\r\n") == std::string::npos) {
        return utf8;
    }
    ReplaceAll(utf8, "\"", "\"\"");
    return "\"" + utf8 + "\"";
}

std::string LeftOutUnitsText(const std::vector<std::uint32_t>& units) {
    std::string list;
    for (std::uint32_t unit : units) {
        list += (list.empty() ? "Media Player #" : ", #") + std::to_string(unit);
    }
    return "The runtime reports of " + list + " could not be read; the file leaves them out.";
}

PlayExport PlaysToCsv(const std::vector<UnitPlays>& units, const ReportDateRange& range) {
    PlayExport result{std::string(kPlayExportHeader), {}};
    for (const UnitPlays& unit : units) {
        if (!unit.runtime) {
            result.failedUnits.push_back(unit.unit);
            continue;
        }
        AppendUnitRows(unit, range, result.csv);
    }
    return result;
}

}  // namespace vantic
