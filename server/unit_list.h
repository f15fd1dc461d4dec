#pragma once

// The venue's unit list as the store keeps it in "units.txt": one unit per
// line, five tab-separated fields (number, notes, status, last call-in,
// next scheduled call-in), exactly the lines of the unit list reply.
// Lines starting with "#" are comments.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "server/accounts.h"

namespace vantic::server {

struct UnitRow {
    std::uint32_t number = 0;
    std::string notes;
    std::string status;
    std::string lastCallIn;
    std::string nextCallIn;
};

// Lines whose first field is not a positive number are skipped.
[[nodiscard]] std::vector<UnitRow> ParseUnitList(std::string_view text);
// The file form, with a heading comment.
[[nodiscard]] std::string FormatUnitListFile(const std::vector<UnitRow>& rows);

// The reply to a unit list request: the rows the account sees, each line
// ending in LF. Where the owner table names a unit's owner, its notes show
// that owner in square brackets in place of any bracketed owner they begin
// with, so an owner change shows in the list.
[[nodiscard]] std::string UnitListReply(const std::vector<UnitRow>& rows, const Account& account,
                                        std::string_view ownerTable);

// The owner table as the account may read it: whole for an account that
// sees every unit, else only the lines of units it sees (each line as
// stored, with its line end).
[[nodiscard]] std::string OwnerTableFor(std::string_view ownerTable, const Account& account);

// Notes beginning with "[owner]" replaced by the given owner.
[[nodiscard]] std::string NotesWithOwner(std::string_view notes, std::string_view owner);

[[nodiscard]] const UnitRow* FindUnit(const std::vector<UnitRow>& rows, std::uint32_t number);
[[nodiscard]] UnitRow* FindUnit(std::vector<UnitRow>& rows, std::uint32_t number);

}  // namespace vantic::server
