#include "platform/list_control.h"

#include <unordered_map>

namespace vantic {

bool IsRowOrder(const std::vector<int>& order, int rows) {
    if (rows < 0 || order.size() != static_cast<std::size_t>(rows)) {
        return false;
    }
    std::vector<bool> named(order.size(), false);
    for (int row : order) {
        if (row < 0 || row >= rows || named[static_cast<std::size_t>(row)]) {
            return false;
        }
        named[static_cast<std::size_t>(row)] = true;
    }
    return true;
}

// Each row's data tells its place; rows sharing a data object keep their
// order among themselves.
void ListControl::ArrangeRows(const std::vector<int>& order) {
    if (!IsRowOrder(order, RowCount())) {
        return;
    }
    std::unordered_map<const RowData*, int> place;
    place.reserve(order.size());
    for (int at = 0; at < static_cast<int>(order.size()); ++at) {
        place.try_emplace(GetRowData(order[static_cast<std::size_t>(at)]), at);
    }
    SortRows([&place](const RowData* a, const RowData* b) { return place.at(a) - place.at(b); });
}

}  // namespace vantic
