#include "units/unit_record.h"

#include <cstdlib>

#include "core/cpstring.h"

namespace vantic {

namespace {

constexpr std::uint64_t kLargestUnit = 0xFFFFFFFFu;

int Sign(long long value) {
    return value < 0 ? -1 : (value > 0 ? 1 : 0);
}

std::string_view FieldOf(const UnitRecord* record, int index) {
    return record == nullptr ? std::string_view() : record->Field(index);
}

}  // namespace

std::uint32_t ParseUnitNumber(std::string_view text) {
    std::size_t at = 0;
    while (at < text.size() && IsWhitespace(text[at])) {
        ++at;
    }
    std::uint64_t number = 0;
    for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at) {
        number = number * 10 + static_cast<std::uint64_t>(text[at] - '0');
        if (number > kLargestUnit) {
            return 0;
        }
    }
    return static_cast<std::uint32_t>(number);
}

UnitRecord::UnitRecord() {
    fields_.PadTo(kUnitFieldCount);
}

bool UnitRecord::Apply(const cpStringArray& lineFields) {
    bool changed = false;
    for (int index = 0; index < kUnitFieldCount; ++index) {
        const std::string* field = lineFields.At(index);
        std::string* mine = fields_.At(index);
        if (field != nullptr && *mine != *field) {
            *mine = *field;
            changed = true;
        }
    }
    return changed;
}

CellMark StatusMark(std::string_view status) {
    if (status == "OK") {
        return CellMark::Good;
    }
    if (status == "Late Calling In") {
        return CellMark::Warning;
    }
    if (status == "Check Network Connection") {
        return CellMark::Bad;
    }
    if (status == "Factory Defaults") {
        return CellMark::Idle;
    }
    return CellMark::None;
}

int NextSortKey(int sortKey, int column) {
    if (column + 1 == std::abs(sortKey)) {
        return -sortKey;
    }
    return column + 1;
}

int CompareUnits(const UnitRecord* a, const UnitRecord* b, int sortKey) {
    const int magnitude = std::abs(sortKey);
    int result = 0;
    if (magnitude == kUnitNumberField + 1) {
        const long long numberA = ParseUnitNumber(FieldOf(a, kUnitNumberField));
        const long long numberB = ParseUnitNumber(FieldOf(b, kUnitNumberField));
        result = Sign(numberA - numberB);
    } else if (magnitude > 1 && magnitude <= kUnitFieldCount) {
        result = Sign(CompareNoCase(FieldOf(a, magnitude - 1), FieldOf(b, magnitude - 1)));
    }
    return sortKey < 0 ? -result : result;
}

}  // namespace vantic
