#include "core/cpptrarray.h"

namespace vantic {

bool cpBlockList::AppendBlock(std::string_view bytes) {
    blocks_.emplace_back(bytes);
    total_ += bytes.size();
    return true;
}

std::string cpBlockList::Concatenate() const {
    std::string joined;
    joined.reserve(total_);
    for (const std::string& block : blocks_) {
        joined.append(block);
    }
    return joined;
}

void cpBlockList::Clear() {
    blocks_.clear();
    total_ = 0;
}

}  // namespace vantic
