#include "units/unit_rows.h"

#include <algorithm>
#include <charconv>
#include <limits>

#include "core/cpstring.h"

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
        Append(unit);
    }
}

void UnitRows::Append(std::uint32_t unit) {
    rowsOf_[unit].push_back(rows_.size());
    rows_.push_back(Row{unit, false});
}

UnitRows UnitRows::FromUnitListReply(std::string_view reply) {
    UnitRows list;
    ForEachLine(reply, [&list](std::string_view line) {
        const std::uint32_t unit = LeadingUnitNumber(line.substr(0, line.find('\t')));
        if (unit != 0 && !list.rowsOf_.contains(unit)) {
            list.Append(unit);
        }
    });
    return list;
}

bool UnitRows::Select(std::uint32_t unit) {
    const auto found = rowsOf_.find(unit);
    if (found == rowsOf_.end()) {
        return false;
    }
    for (std::size_t row : found->second) {
        if (!rows_[row].selected) {
            rows_[row].selected = true;
            ++selectedCount_;
        }
    }
    return true;
}

std::vector<std::uint32_t> UnitRows::Units() const {
    std::vector<std::uint32_t> units;
    for (const Row& row : rows_) {
        units.push_back(row.unit);
    }
    return units;
}

bool UnitRows::IsSelected(int row) const {
    return row >= 0 && row < ItemCount() && rows_[static_cast<std::size_t>(row)].selected;
}

std::uint32_t UnitRows::UnitNumberAt(int row) {
    return row >= 0 && row < ItemCount() ? rows_[static_cast<std::size_t>(row)].unit : 0;
}

}  // namespace vantic
