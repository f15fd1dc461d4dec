#pragma once

// A unit list on the scripted platform, with helpers to read it back.

#include <cstdint>
#include <string>
#include <vector>

#include "net/login_settings.h"
#include "tests/support/memory_login_store.h"
#include "tests/support/scripted_platform.h"
#include "units/venue_list.h"

namespace vantic::testing {

class VenueFixture {
  public:
    explicit VenueFixture(std::string keyFile = "p.key") : login(store, std::move(keyFile)) {
        venue.Attach(&list);
    }

    // The unit numbers of the rows, top to bottom.
    [[nodiscard]] std::vector<std::uint32_t> Units() {
        std::vector<std::uint32_t> units;
        for (int row = 0; row < venue.ItemCount(); ++row) {
            units.push_back(venue.UnitNumberAt(row));
        }
        return units;
    }
    // The five cells of a row, joined with "|".
    [[nodiscard]] std::string Cells(int row) const {
        std::string text;
        for (int column = 0; column < kUnitFieldCount; ++column) {
            text += (column == 0 ? "" : "|") + list.CellText(row, column);
        }
        return text;
    }
    [[nodiscard]] int RowOf(std::uint32_t unit) {
        int row = -1;
        return venue.FindUnit(unit, row) ? row : -1;
    }
    void SetUpColumns() {
        for (const UnitColumn& column : kUnitColumns) {
            venue.InsertColumn(column.title, column.width);
        }
    }

    ScriptedPlatform platform;
    ScriptedListControl list;
    MemoryLoginStore store;
    LoginSettings login;
    VenueList venue{platform, login};
};

}  // namespace vantic::testing
