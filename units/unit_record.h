#pragma once

// A unit as the unit list shows it: five texts in column order, exactly as
// the server reported them. The unit number in the first is the row's
// identity; the controller computes nothing from the others.

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "core/cpstringarray.h"
#include "platform/list_control.h"

namespace vantic {

// The columns of the unit list, and the fields of a unit list reply line.
enum UnitField : int {
    kUnitNumberField = 0,
    kNotesField = 1,
    kStatusField = 2,
    kLastCallInField = 3,
    kNextCallInField = 4,
};
inline constexpr int kUnitFieldCount = 5;

struct UnitColumn {
    std::string_view title;
    int width = 0;
};
inline constexpr std::array<UnitColumn, kUnitFieldCount> kUnitColumns{{
    {"Unit #", 60},
    {"Notes", 100},
    {"Status", 80},
    {"Last Player Call-In", 100},
    {"Next Scheduled Call-In", 120},
}};

// The decimal number at the start of text, after any blanks; 0 when there
// are no digits or the number does not fit 32 bits. 0 names no unit.
[[nodiscard]] std::uint32_t ParseUnitNumber(std::string_view text);

class UnitRecord final : public RowData {
  public:
    // Five empty texts.
    UnitRecord();

    [[nodiscard]] std::string_view Field(int index) const { return fields_.TextAt(index); }
    [[nodiscard]] const cpStringArray& Fields() const { return fields_; }
    [[nodiscard]] std::uint32_t Number() const { return ParseUnitNumber(Field(kUnitNumberField)); }

    // Copies the fields a reply line has (the first five at most) over the
    // record's; the others stay. True when a text changed.
    bool Apply(const cpStringArray& lineFields);

  private:
    cpStringArray fields_;
};

// The mark beside a unit's status: OK good, Late Calling In a warning,
// Check Network Connection bad, Factory Defaults idle, any other text none.
[[nodiscard]] CellMark StatusMark(std::string_view status);

// The sort key after a click on column (0-based): the same column again
// flips the direction, another column sorts ascending by it. The key's
// magnitude is the column + 1; a negative key sorts descending.
[[nodiscard]] int NextSortKey(int sortKey, int column);

// <0, 0 or >0 as a sorts before, with or after b under sortKey: by unit
// number for the first column, by text ignoring case for the others, and
// equal for any other key. A missing record sorts as an empty one.
[[nodiscard]] int CompareUnits(const UnitRecord* a, const UnitRecord* b, int sortKey);

// The order of rows under sortKey, as a stable sort by CompareUnits puts
// them (rows that compare equal keep their order): the row order[i] goes
// first. Each record's key is read once, so a large list sorts quickly.
[[nodiscard]] std::vector<int> SortedUnitOrder(const std::vector<const UnitRecord*>& rows,
                                               int sortKey);

}  // namespace vantic
