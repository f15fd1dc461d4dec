#include "units/unit_record.h"

#include <algorithm>
#include <cstdlib>
#include <string>

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

// Texts are folded once into one buffer, so comparing two rows is a plain
// byte comparison of nearby memory: the same order CompareNoCase gives.
std::vector<int> SortedUnitOrder(const std::vector<const UnitRecord*>& rows, int sortKey) {
    struct Keyed {
        std::uint32_t number = 0;
        std::size_t from = 0;  // the folded text in the buffer
        std::size_t size = 0;
        int row = 0;
    };
    const int magnitude = std::abs(sortKey);
    const bool byNumber = magnitude == kUnitNumberField + 1;
    const bool byText = magnitude > 1 && magnitude <= kUnitFieldCount;
    std::vector<Keyed> keyed;
    keyed.reserve(rows.size());
    std::string folded;
    for (const UnitRecord* record : rows) {
        Keyed key{0, folded.size(), 0, static_cast<int>(keyed.size())};
        if (byNumber) {
            key.number = ParseUnitNumber(FieldOf(record, kUnitNumberField));
        } else if (byText) {
            for (char c : FieldOf(record, magnitude - 1)) {
                folded.push_back(FoldCase(c));
            }
            key.size = folded.size() - key.from;
        }
        keyed.push_back(key);
    }
    const std::string_view texts(folded);
    const int direction = sortKey < 0 ? -1 : 1;
    const auto before = [&](const Keyed& a, const Keyed& b) {
        const int result =
            byNumber ? Sign(static_cast<long long>(a.number) - b.number)
                     : Sign(texts.substr(a.from, a.size).compare(texts.substr(b.from, b.size)));
        return direction * result < 0;
    };
    if (byNumber || byText) {
        std::stable_sort(keyed.begin(), keyed.end(), before);
    }
    std::vector<int> order;
    order.reserve(keyed.size());
    for (const Keyed& key : keyed) {
        order.push_back(key.row);
    }
    return order;
}

}  // namespace vantic
