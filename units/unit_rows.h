#pragma once

// A unit list held in memory: the units of a unit list reply in reply
// order, with a selection. vanticctl deploys to it; the program deploys to
// its VenueList instead. Nothing else shares it, so its lock only counts
// how deeply it is held.

#include <cstdint>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "units/deploy_interfaces.h"

namespace vantic {

class UnitRows final : public DeployTargets {
  public:
    UnitRows() = default;
    explicit UnitRows(const std::vector<std::uint32_t>& units);
    // One row per unit the reply names, in reply order: lines of
    // tab-separated fields whose first field starts with the unit number.
    // Lines without a number (or with 0) and repeated units add no row.
    [[nodiscard]] static UnitRows FromUnitListReply(std::string_view reply);

    // Selects the unit's row; false when no row shows that unit.
    bool Select(std::uint32_t unit);
    [[nodiscard]] std::vector<std::uint32_t> Units() const;
    [[nodiscard]] int LockDepth() const { return lockDepth_; }

    [[nodiscard]] int ItemCount() const override { return static_cast<int>(rows_.size()); }
    [[nodiscard]] int SelectedCount() const override { return selectedCount_; }
    [[nodiscard]] bool IsSelected(int row) const override;
    [[nodiscard]] std::uint32_t UnitNumberAt(int row) override;
    void Lock() override { ++lockDepth_; }
    void Unlock() override { --lockDepth_; }

  private:
    struct Row {
        std::uint32_t unit = 0;
        bool selected = false;
    };
    void Append(std::uint32_t unit);

    std::vector<Row> rows_;
    // The rows of each unit, so building and selecting cost one step a unit.
    std::unordered_map<std::uint32_t, std::vector<std::size_t>> rowsOf_;
    int selectedCount_ = 0;
    int lockDepth_ = 0;
};

}  // namespace vantic
