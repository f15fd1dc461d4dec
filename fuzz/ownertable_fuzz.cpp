// Any owner table beside any unit list (split at the first zero byte): the
// reply lists exactly the units the account sees, in order.

#include "fuzz/fuzz_check.h"
#include "fuzz/fuzz_input.h"
#include "server/unit_list.h"
#include "units/unit_rows.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vantic;
    const auto [listText, ownerTable] = FuzzTwoTexts(FuzzText(data, size));
    const std::vector<server::UnitRow> rows = server::ParseUnitList(listText);
    server::Account account;
    account.login = "owner";
    account.allUnits = true;
    const std::string reply = server::UnitListReply(rows, account, ownerTable);
    const std::vector<server::UnitRow> back = server::ParseUnitList(reply);
    FUZZ_CHECK(back.size() == rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        FUZZ_CHECK(back[i].number == rows[i].number && back[i].status == rows[i].status);
    }
    (void)server::NotesWithOwner(listText, ownerTable);
    return 0;
}
