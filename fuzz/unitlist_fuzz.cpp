// Any text as a unit list reply, read by the controller and by the server:
// the controller's rows name distinct units, and the server's rows written
// to its file and read again are the same rows.

#include <algorithm>

#include "fuzz/fuzz_check.h"
#include "fuzz/fuzz_input.h"
#include "server/unit_list.h"
#include "units/unit_rows.h"

namespace {

bool SameRows(const std::vector<vantic::server::UnitRow>& a,
              const std::vector<vantic::server::UnitRow>& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i].number != b[i].number || a[i].notes != b[i].notes || a[i].status != b[i].status ||
            a[i].lastCallIn != b[i].lastCallIn || a[i].nextCallIn != b[i].nextCallIn) {
            return false;
        }
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vantic;
    const std::string_view text = FuzzText(data, size);
    std::vector<std::uint32_t> units = UnitRows::FromUnitListReply(text).Units();
    std::sort(units.begin(), units.end());
    FUZZ_CHECK(std::adjacent_find(units.begin(), units.end()) == units.end());
    FUZZ_CHECK(units.empty() || units.front() != 0);

    // A field read holds no tab or line end, so the file keeps it as it is.
    const std::vector<server::UnitRow> rows = server::ParseUnitList(text);
    FUZZ_CHECK(SameRows(server::ParseUnitList(server::FormatUnitListFile(rows)), rows));
    return 0;
}
