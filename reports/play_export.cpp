#include "reports/play_export.h"

#include <algorithm>
#include <charconv>

#include "core/cpstring.h"
#include "platform/codepage.h"

namespace vantic {

namespace {

constexpr std::size_t kColumnCount = 7;

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

// The 8-bit text of UTF-8 as CsvField wrote it; none for a broken sequence.
std::optional<std::string> FromUtf8(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = lead < 0x80         ? 1
                                   : (lead >> 5) == 6  ? 2
                                   : (lead >> 4) == 14 ? 3
                                                       : 0;
        if (length == 0 || i + length > text.size()) {
            return std::nullopt;
        }
        char32_t c = length == 1 ? lead : length == 2 ? (lead & 0x1F) : (lead & 0x0F);
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next >> 6) != 2) {
                return std::nullopt;
            }
            c = (c << 6) | (next & 0x3F);
        }
        out.push_back(UnicodeToCp1252(c));
        i += length;
    }
    return out;
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

// One record of RFC 4180 text from at, which moves past its line end; none
// when a quoted field is not closed.
std::optional<std::vector<std::string>> ReadRecord(std::string_view csv, std::size_t& at) {
    std::vector<std::string> fields(1);
    bool quoted = false;
    while (at < csv.size()) {
        const char c = csv[at++];
        if (quoted) {
            if (c != '"') {
                fields.back().push_back(c);
            } else if (at < csv.size() && csv[at] == '"') {
                fields.back().push_back('"');
                ++at;
            } else {
                quoted = false;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            fields.emplace_back();
        } else if (c == '\n' || (c == '\r' && at < csv.size() && csv[at] == '\n')) {
            at += c == '\r' ? 1 : 0;
            return fields;
        } else {
            fields.back().push_back(c);
        }
    }
    return quoted ? std::nullopt : std::optional(fields);
}

std::optional<PlayRow> RowOf(const std::vector<std::string>& fields) {
    if (fields.size() != kColumnCount) {
        return std::nullopt;
    }
    std::vector<std::string> text;
    for (const std::string& field : fields) {
        std::optional<std::string> eightBit = FromUtf8(field);
        if (!eightBit) {
            return std::nullopt;
        }
        text.push_back(std::move(*eightBit));
    }
    PlayRow row;
    const auto channel = std::find(ChannelNames.begin(), ChannelNames.end(), text[2]);
    std::uint32_t unit = 0;
    const char* unitEnd = text[0].data() + text[0].size();
    const auto unitRead = std::from_chars(text[0].data(), unitEnd, unit);
    const std::optional<ReportDate> day = ReadIsoDay(text[5]);
    const char* playsEnd = text[6].data() + text[6].size();
    const auto [end, error] = std::from_chars(text[6].data(), playsEnd, row.plays);
    if (channel == ChannelNames.end() || unitRead.ec != std::errc() || unitRead.ptr != unitEnd ||
        !day || error != std::errc() || end != playsEnd) {
        return std::nullopt;
    }
    row.unit = unit;
    row.notes = std::move(text[1]);
    row.channel = static_cast<int>(channel - ChannelNames.begin());
    row.clipFile = std::move(text[3]);
    row.contentName = std::move(text[4]);
    row.day = *day;
    return row;
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

PlayExport PlayRowsToCsv(const PlayRows& rows) {
    PlayExport result{std::string(kPlayExportHeader), rows.failedUnits};
    for (const PlayRow& row : rows.rows) {
        AppendRow(result.csv, {std::to_string(row.unit), row.notes,
                               ChannelNames[static_cast<std::size_t>(row.channel)], row.clipFile,
                               row.contentName, IsoDayText(row.day), std::to_string(row.plays)});
    }
    return result;
}

PlayExport PlaysToCsv(const std::vector<UnitPlays>& units, const ReportDateRange& range) {
    return PlayRowsToCsv(PlayRowsOf(units, range));
}

std::optional<std::vector<PlayRow>> ReadPlayRowsCsv(std::string_view csv) {
    if (!csv.starts_with(kPlayExportHeader)) {
        return std::nullopt;
    }
    std::vector<PlayRow> rows;
    std::size_t at = kPlayExportHeader.size();
    while (at < csv.size()) {
        const std::optional<std::vector<std::string>> fields = ReadRecord(csv, at);
        std::optional<PlayRow> row = fields ? RowOf(*fields) : std::nullopt;
        if (!row) {
            return std::nullopt;
        }
        rows.push_back(std::move(*row));
    }
    return rows;
}

}  // namespace vantic
