#pragma once

// The unit activity report: how many units each owner has, and in which
// state, read from the unit list as it is shown. The owner is the text
// between a leading "[" of a unit's notes and the first "]"; the state
// comes from its status.

#include <string>
#include <string_view>
#include <vector>

#include "core/cpstringarray.h"
#include "platform/clock.h"
#include "platform/list_control.h"
#include "reports/report_window.h"

namespace vantic {

// A unit list row's notes and status cells as shown.
struct UnitCells {
    std::string notes;
    std::string status;
};

// The cells of every row, each cut to the 99 characters the report reads.
[[nodiscard]] std::vector<UnitCells> ShownUnitCells(const ListControl& units);
// The same cells from a unit list reply, one row per numbered line.
[[nodiscard]] std::vector<UnitCells> UnitCellsOfReply(std::string_view reply);

// "owner:state" of every counted unit, sorted without regard to case. Units
// without an owner in brackets and "Factory Defaults" units are left out.
[[nodiscard]] cpStringArray CollectUsageLines(const std::vector<UnitCells>& rows);
// The title, the generation line and per owner the count of each state.
void AppendUsageBody(cpStringArray lines, cpStringArray& document, const LocalTime& now);
// The whole document, header to closing brace.
[[nodiscard]] std::string ActivityReportText(const std::vector<UnitCells>& rows,
                                             const LocalTime& now);

// The menu command: warns when the unit list is empty, else opens the
// report window over the list's units.
void GenerateActivityReport(const ReportContext& context, const ListControl& units);

}  // namespace vantic
