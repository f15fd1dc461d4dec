#pragma once

// cpPtrArray as the program uses it: an ordered list of owned byte blocks,
// collected piece by piece (for example the chunks of a download) and
// joined once at the end.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace vantic {

class cpBlockList {
  public:
    bool AppendBlock(std::string_view bytes);
    [[nodiscard]] std::size_t Count() const { return blocks_.size(); }
    [[nodiscard]] std::size_t TotalLength() const { return total_; }
    [[nodiscard]] std::string Concatenate() const;
    void Clear();

  private:
    std::vector<std::string> blocks_;
    std::size_t total_ = 0;
};

}  // namespace vantic
