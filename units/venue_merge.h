#pragma once

// Merging a unit list reply into the unit list, in two steps: the plan is
// worked out away from the list (a worker does it without bothering the
// user-interface thread), then applied to the rows in one go. A unit
// already shown is updated in its first row; the others are appended in
// reply order; a unit named twice takes the later line's fields over the
// earlier's.

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "units/unit_record.h"

namespace vantic {

// A reply line that names a unit.
struct ReplyLine {
    std::uint32_t number = 0;
    cpStringArray fields;
};

// The lines of a reply (as far as its first NUL) that name a unit, in order.
[[nodiscard]] std::vector<ReplyLine> ParseUnitListReply(std::string_view reply);

struct MergePlan {
    struct Update {
        int row = 0;
        UnitRecord record;  // the row's record as it is to become
    };
    std::vector<Update> updates;  // rows whose texts change, each once
    std::vector<std::unique_ptr<UnitRecord>> added;
};

// The plan for rows (each row's record, null for a row without one). It
// only reads the records.
[[nodiscard]] MergePlan PlanMerge(const std::vector<const UnitRecord*>& rows,
                                  const std::vector<ReplyLine>& lines);

}  // namespace vantic
