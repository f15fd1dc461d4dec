#include "units/venue_merge.h"

#include <unordered_map>

namespace vantic {

std::vector<ReplyLine> ParseUnitListReply(std::string_view reply) {
    cpStringArray lines;
    (void)lines.SplitLines(reply.substr(0, reply.find('\0')));
    std::vector<ReplyLine> parsed;
    parsed.reserve(lines.Count());
    for (const std::string& line : lines) {
        cpStringArray fields = cpStringArray::SplitNew(line, "\t");
        const std::uint32_t number = ParseUnitNumber(fields.TextAt(kUnitNumberField));
        if (number != 0) {  // blank lines and headings name no unit
            parsed.push_back(ReplyLine{number, std::move(fields)});
        }
    }
    return parsed;
}

// Each row is looked up once, so planning costs one pass over the rows plus
// one step per line, whatever order the rows are in.
MergePlan PlanMerge(const std::vector<const UnitRecord*>& rows,
                    const std::vector<ReplyLine>& lines) {
    std::unordered_map<std::uint32_t, int> rowOf;
    rowOf.reserve(rows.size() + lines.size());
    for (int row = 0; row < static_cast<int>(rows.size()); ++row) {
        const UnitRecord* record = rows[static_cast<std::size_t>(row)];
        if (record != nullptr && record->Number() != 0) {
            rowOf.try_emplace(record->Number(), row);  // the first row wins
        }
    }
    MergePlan plan;
    std::unordered_map<int, std::size_t> updateOf;           // row -> index in plan.updates
    std::unordered_map<std::uint32_t, std::size_t> addedOf;  // unit -> index in plan.added
    std::vector<bool> changed;
    for (const ReplyLine& line : lines) {
        if (auto found = addedOf.find(line.number); found != addedOf.end()) {
            plan.added[found->second]->Apply(line.fields);
            continue;
        }
        const auto row = rowOf.find(line.number);
        if (row == rowOf.end()) {
            addedOf.emplace(line.number, plan.added.size());
            plan.added.push_back(std::make_unique<UnitRecord>());
            plan.added.back()->Apply(line.fields);
            continue;
        }
        auto [update, first] = updateOf.try_emplace(row->second, plan.updates.size());
        if (first) {
            plan.updates.push_back({row->second, *rows[static_cast<std::size_t>(row->second)]});
            changed.push_back(false);
        }
        if (plan.updates[update->second].record.Apply(line.fields)) {
            changed[update->second] = true;
        }
    }
    std::size_t kept = 0;
    for (std::size_t at = 0; at < plan.updates.size(); ++at) {
        if (!changed[at]) {
            continue;
        }
        if (kept != at) {
            plan.updates[kept] = std::move(plan.updates[at]);
        }
        ++kept;
    }
    plan.updates.resize(kept);
    return plan;
}

}  // namespace vantic
