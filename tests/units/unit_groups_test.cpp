#include "units/unit_groups.h"

#include <gtest/gtest.h>

#include "core/cpstring.h"
#include "tests/support/temp_dir.h"

namespace vantic {
namespace {

// Each group is one key of config.ini, written as every setting is, and
// read back by name whatever its case.
TEST(UnitGroups, EachGroupIsOneSettingsKeyWithTheFilterAsItsValue) {
    testing::TempDir dir;
    WReg store;
    store.SetSettingsLocation({dir.Path(), {}});
    ASSERT_TRUE(SaveUnitGroup(store, "Harbor lobby", "owner:Harbor lobby"));
    ASSERT_TRUE(SaveUnitGroup(store, "late", "status:late"));
    ASSERT_TRUE(store.SetString("Unit_Group_", "x"));  // no name: not a group

    const std::optional<std::string> file = ReadWholeFile(dir.File("config.ini"));
    ASSERT_TRUE(file);
    EXPECT_NE(file->find("Unit_Group_Harbor lobby=owner:Harbor lobby\r\n"), std::string::npos);

    WReg reread;  // a new run reads what the last one wrote
    reread.SetSettingsLocation({dir.Path(), {}});
    const std::vector<UnitGroup> groups = ReadUnitGroups(reread);
    ASSERT_EQ(groups.size(), 2u);
    EXPECT_EQ(groups[0].name, "Harbor lobby");
    EXPECT_EQ(groups[1].filter, "status:late");
    EXPECT_EQ(FindUnitGroup(reread, "HARBOR LOBBY"), "owner:Harbor lobby");
    EXPECT_EQ(ReadUnitGroups(cpConfig::FromText(*file)).size(), 2u);

    ASSERT_TRUE(DeleteUnitGroup(reread, "harbor lobby"));
    EXPECT_FALSE(FindUnitGroup(reread, "Harbor lobby"));
    EXPECT_EQ(ReadWholeFile(dir.File("config.ini"))->find("Harbor"), std::string::npos);
}

TEST(UnitGroups, NamesThatCannotBeAKeyAreRefusedWithAReason) {
    for (const char* bad : {"", " lead", "trail ", "a=b", "two\nlines", "tab\there"}) {
        EXPECT_FALSE(GroupNameProblem(bad).empty()) << bad;
    }
    EXPECT_FALSE(GroupNameProblem(std::string(kGroupNameRoom + 1, 'x')).empty());
    EXPECT_EQ(GroupNameProblem("Caf\xe9 screens #2"), "");
}

}  // namespace
}  // namespace vantic
