#pragma once

// The filter language of the unit list, shared by the window's filter field,
// the saved groups and vanticctl --match. A filter is words separated by
// blanks, and a unit shows when every word matches (case is ignored):
//
//   harbor          the unit number, notes, status or owner contains it
//   status:late     the status contains it
//   owner:Harbor    the owner (the name in square brackets that begins the
//                   notes) contains it
//   #1012           the unit number is 1012
//
// Double quotes keep blanks inside one word ("harbor lobby"); a quoted
// status: or owner: value must equal the whole text ('status:"OK"'), which
// is how a status count names exactly the units it counted. An empty filter
// shows every unit.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "units/unit_record.h"

namespace vantic {

// The owner a unit's notes name: the text between a leading "[" and the
// first "]", empty when the notes name none.
[[nodiscard]] std::string_view OwnerOfNotes(std::string_view notes);

class UnitFilter {
  public:
    // Every unit matches.
    UnitFilter() = default;
    [[nodiscard]] static UnitFilter Parse(std::string_view text);

    [[nodiscard]] bool Empty() const { return terms_.empty(); }
    // The text it was made from, as typed.
    [[nodiscard]] const std::string& Text() const { return text_; }
    // Whether a unit with these fields (in column order) shows.
    [[nodiscard]] bool Matches(const UnitRecord& record) const;
    // For each record (null never matches a non-empty filter), whether it
    // shows.
    [[nodiscard]] std::vector<bool> MatchAll(const std::vector<const UnitRecord*>& records) const;

  private:
    enum class Where { Anywhere, Status, Owner, Number };
    struct Term {
        Where where = Where::Anywhere;
        std::string folded;  // lower case
        bool whole = false;  // the field must equal it, not only contain it
        std::uint32_t number = 0;
    };
    [[nodiscard]] static Term TermOf(std::string_view word, bool quoted);
    [[nodiscard]] static bool TermMatches(const Term& term, const UnitRecord& record);

    std::string text_;
    std::vector<Term> terms_;
};

// The units of a unit list reply the filter shows, in reply order, each
// once (a unit named twice takes the later line's fields, as the list does).
[[nodiscard]] std::vector<UnitRecord> MatchingUnits(std::string_view reply,
                                                    const UnitFilter& filter);

}  // namespace vantic
