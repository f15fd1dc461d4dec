#include "reports/activity_report.h"

#include "core/cpstring.h"
#include "reports/report_document.h"
#include "units/unit_record.h"

namespace vantic {

namespace {

// The room the report gives each cell, its terminating zero included.
constexpr std::size_t kCellRoom = 100;

std::string ShownCell(const ListControl& units, int row, int column) {
    std::string text = units.CellText(row, column);
    if (text.size() >= kCellRoom) {
        text.resize(kCellRoom - 1);
    }
    return text;
}

// The report's word for a status; none for a unit that is not counted.
std::optional<std::string_view> StateOf(std::string_view status) {
    if (status == "OK" || status == "Late Calling In") {
        return "Active";
    }
    if (status == "Check Network Connection") {
        return "Inactive";
    }
    if (status == "Factory Defaults") {
        return std::nullopt;
    }
    return status;
}

}  // namespace

std::vector<UnitCells> ShownUnitCells(const ListControl& units) {
    std::vector<UnitCells> rows;
    const int count = units.RowCount();
    for (int row = 0; row < count; ++row) {
        rows.push_back(
            UnitCells{ShownCell(units, row, kNotesField), ShownCell(units, row, kStatusField)});
    }
    return rows;
}

std::vector<UnitCells> UnitCellsOfReply(std::string_view reply) {
    std::string text(reply.substr(0, reply.find('\0')));
    NormalizeLineEnds(text, "\n");
    std::vector<UnitCells> rows;
    for (const std::string& line : cpStringArray::SplitNew(text, "\n")) {
        const cpStringArray fields = cpStringArray::SplitNew(line, "\t");
        if (ParseUnitNumber(fields.TextAt(kUnitNumberField)) == 0) {
            continue;
        }
        UnitCells cells{std::string(fields.TextAt(kNotesField)),
                        std::string(fields.TextAt(kStatusField))};
        cells.notes = cells.notes.substr(0, kCellRoom - 1);
        cells.status = cells.status.substr(0, kCellRoom - 1);
        rows.push_back(std::move(cells));
    }
    return rows;
}

cpStringArray CollectUsageLines(const std::vector<UnitCells>& rows) {
    cpStringArray lines;
    for (const UnitCells& row : rows) {
        const std::size_t close = row.notes.find(']');
        if (row.notes.empty() || row.notes.front() != '[' || close == std::string::npos) {
            continue;
        }
        const std::optional<std::string_view> state = StateOf(row.status);
        if (!state) {
            continue;
        }
        lines.Append(row.notes.substr(1, close - 1) + ":" + std::string(*state));
    }
    lines.SortNoCase();
    return lines;
}

void AppendUsageBody(cpStringArray lines, cpStringArray& document, const LocalTime& now) {
    document.AppendCopy("\\fs48 Vantic Player Usage \\par\\fs24 ");
    document.Append("\\par Report Generated: " + ReportTimeText(now) + " \\par\r\n");
    std::string previousOwner;
    while (const std::string* first = lines.First()) {
        const std::string line = *first;
        int count = 1;
        while (lines.Count() > 1 && lines.TextAt(1) == line) {
            lines.RemoveAt(1);
            ++count;
        }
        const std::size_t colon = line.find(':');
        const std::string owner = line.substr(0, colon);
        const std::string state = colon == std::string::npos ? "" : line.substr(colon + 1);
        if (owner != previousOwner) {
            document.AppendCopy(" \\par\r\n");
            document.Append("\\fs36 Owner: " + EscapeRichText(owner) + " \\par\\fs24\r\n");
            previousOwner = owner;
        }
        document.Append(FormatNew("   %s  -  %d Unit%s \\par\r\n", EscapeRichText(state).c_str(),
                                  count, count == 1 ? "" : "s"));
        lines.RemoveAt(0);
    }
}

std::string ActivityReportText(const std::vector<UnitCells>& rows, const LocalTime& now) {
    cpStringArray document;
    AppendRtfHeader(document);
    AppendUsageBody(CollectUsageLines(rows), document, now);
    document.AppendCopy(" }\r\n");
    return document.Join("");
}

void GenerateActivityReport(const ReportContext& context, const ListControl& units) {
    if (units.RowCount() == 0) {
        context.platform.Messages().Show(
            Message{.owner = context.owner,
                    .text = "Please check your user name and password.",
                    .caption = "No player units in list!",
                    .icon = MessageIcon::Warning});
        return;
    }
    OpenReportWindow(ReportMode::Activity, context, [&units](ReportWindow& window) {
        const ReportContext& shared = window.Context();
        window.ShowReportText(
            ActivityReportText(ShownUnitCells(units), shared.platform.Time().LocalNow()));
        return ReportBuildEnd::Done;
    });
}

}  // namespace vantic
