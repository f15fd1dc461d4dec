#include "units/unit_rows.h"

#include <algorithm>
#include <charconv>
#include <limits>

#include "core/cpstring.h"
#include "core/cpstringarray.h"

namespace vantic {
namespace {

// The decimal number at the start of a field, after any blanks; 0 when
// there is none or it does not fit 32 bits.
std::uint32_t LeadingUnitNumber(std::string_view field) {
    field = TrimmedView(field);
    std::uint32_t number = 0;
    auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), number);
    (void)end;
    return error == std::errc() ? number : 0;
}

}  // namespace

UnitRows::UnitRows(const std::vector<std::uint32_t>& units) {
    for (std::uint32_t unit : units) {
        rows_.push_back(Row{unit, false});
    }
}

UnitRows UnitRows::FromUnitListReply(std::string_view reply) {
    std::string text(reply);
    NormalizeLineEnds(text, "\n");
    UnitRows list;
    for (const std::string& line : cpStringArray::SplitNew(text, "\n")) {
        const std::string_view first = std::string_view(line).substr(0, line.find('\t'));
        const std::uint32_t unit = LeadingUnitNumber(first);
        if (unit != 0 && !list.Contains(unit)) {
            list.rows_.push_back(Row{unit, false});
        }
    }
    return list;
}

bool UnitRows::Contains(std::uint32_t unit) const {
    return std::any_of(rows_.begin(), rows_.end(),
                       [unit](const Row& row) { return row.unit == unit; });
}

bool UnitRows::Select(std::uint32_t unit) {
    bool found = false;
    for (Row& row : rows_) {
        if (row.unit == unit) {
            row.selected = found = true;
        }
    }
    return found;
}

std::vector<std::uint32_t> UnitRows::Units() const {
    std::vector<std::uint32_t> units;
    for (const Row& row : rows_) {
        units.push_back(row.unit);
    }
    return units;
}

int UnitRows::SelectedCount() const {
    return static_cast<int>(
        std::count_if(rows_.begin(), rows_.end(), [](const Row& row) { return row.selected; }));
}

bool UnitRows::IsSelected(int row) const {
    return row >= 0 && row < ItemCount() && rows_[static_cast<std::size_t>(row)].selected;
}

std::uint32_t UnitRows::UnitNumberAt(int row) {
    return row >= 0 && row < ItemCount() ? rows_[static_cast<std::size_t>(row)].unit : 0;
}

}  // namespace vantic
