#include "app/command_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>

#include "app/dropped_files.h"

namespace vantic {
namespace {

namespace c = command;

// The key of the button that runs command, apart from its menu item's.
constexpr int Button(int command) {
    return -command;
}

std::map<int, bool> Flatten(const CommandStates& states) {
    std::map<int, bool> all;
    for (const ItemState& item : states.menuItems) {
        all[item.id] = item.enabled;
    }
    for (const ItemState& button : states.buttons) {
        all[Button(button.id)] = button.enabled;
    }
    return all;
}

TEST(CommandTable, AcceleratorsRunTheirMenuItemsOperation) {
    const std::pair<int, int> pairs[] = {
        {40044, c::kNewPlaylist}, {40028, c::kOpenPlaylist},     {40045, c::kSavePlaylist},
        {40029, c::kAddMedia},    {40026, c::kMoveMediaUp},      {40027, c::kMoveMediaDown},
        {40030, c::kDeployToAll}, {40031, c::kDeployToSelected}, {40053, c::kSelectShownUnits}};
    int accelerators = 0;
    for (const CommandItem& item : CommandTable()) {
        accelerators += item.acceleratorId != 0 ? 1 : 0;
    }
    EXPECT_EQ(accelerators, 9);
    for (auto [accelerator, menuId] : pairs) {
        const CommandItem* found = FindCommand(accelerator);
        ASSERT_NE(found, nullptr) << accelerator;
        EXPECT_EQ(found->id, menuId);
        EXPECT_EQ(FindCommand(menuId), found);
    }
    EXPECT_EQ(FindCommand(c::kPreviewMedia), nullptr);  // a button's own command is in no menu
    EXPECT_EQ(FindCommand(0), nullptr);
}

TEST(AdministratorRule, OnlyTheAdministratorKeepsFourItemsWhateverTheCase) {
    const std::vector<int> adminItems = {c::kAdminConfig, c::kNewFirmware, c::kNewOwner,
                                         c::kActivityReport};
    auto hidden = CommandsHiddenFrom("operator");
    std::sort(hidden.begin(), hidden.end());
    auto expected = adminItems;
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(hidden, expected);
    EXPECT_TRUE(CommandsHiddenFrom("SOVRA").empty());
    EXPECT_TRUE(CommandsHiddenFrom("Sovra").empty());
    EXPECT_EQ(CommandsHiddenFrom("").size(), 4u);
    EXPECT_EQ(CommandsHiddenFrom("sovra ").size(), 4u);
    // None of them has an accelerator that could reach it anyway.
    for (int id : adminItems) {
        EXPECT_EQ(FindCommand(id)->acceleratorId, 0);
    }
}

TEST(CommandStates, OneSelectedClipCanBeDeletedButNotMoved) {
    const ListState playlist{1, true, true, true};
    const auto states = Flatten(ComputeCommandStates(ListState{}, playlist));
    EXPECT_FALSE(states.at(c::kMoveMediaUp));
    EXPECT_FALSE(states.at(c::kMoveMediaDown));
    EXPECT_TRUE(states.at(c::kDeleteMedia));
    EXPECT_TRUE(states.at(c::kEditMedia));
    EXPECT_TRUE(states.at(Button(c::kDeleteMedia)));
    EXPECT_TRUE(states.at(Button(c::kPreviewMedia)));
    EXPECT_TRUE(states.at(c::kSavePlaylist));
}

TEST(CommandStates, MovingFollowsWhetherTheEndsAreSelected) {
    const auto middle =
        Flatten(ComputeCommandStates(ListState{}, ListState{3, true, false, false}));
    EXPECT_TRUE(middle.at(c::kMoveMediaUp));
    EXPECT_TRUE(middle.at(c::kMoveMediaDown));
    const auto top = Flatten(ComputeCommandStates(ListState{}, ListState{3, true, true, false}));
    EXPECT_FALSE(top.at(c::kMoveMediaUp));
    EXPECT_TRUE(top.at(c::kMoveMediaDown));
    const auto none = Flatten(ComputeCommandStates(ListState{}, ListState{3, false, false, false}));
    EXPECT_FALSE(none.at(c::kMoveMediaUp));
    EXPECT_FALSE(none.at(Button(c::kPreviewMedia)));
    EXPECT_TRUE(none.at(c::kClosePlaylist));
}

TEST(CommandStates, AllUnitsNeedARowSelectedUnitsASelection) {
    const auto empty = Flatten(ComputeCommandStates(ListState{}, ListState{}));
    EXPECT_FALSE(empty.at(c::kDeployToAll));
    EXPECT_FALSE(empty.at(Button(c::kDeployToAll)));
    EXPECT_FALSE(empty.at(c::kSavePlaylist));
    EXPECT_FALSE(empty.at(c::kSavePlaylistAs));
    EXPECT_FALSE(empty.at(c::kClosePlaylist));
    EXPECT_TRUE(empty.at(Button(c::kAddMedia)));

    const auto unselected = Flatten(ComputeCommandStates(ListState{5, false, false, false}, {}));
    EXPECT_TRUE(unselected.at(c::kDeployToAll));
    EXPECT_TRUE(unselected.at(Button(c::kDeployToAll)));
    for (int id :
         {Button(c::kDeployToSelected), c::kDeployToSelected, c::kCrawlText, c::kAdminConfig,
          c::kNewFirmware, c::kNewTimezone, c::kNewOwner, c::kEditUnit, c::kOpenUnitPlaylist}) {
        EXPECT_FALSE(unselected.at(id)) << id;
    }
    const auto selected = Flatten(ComputeCommandStates(ListState{5, true, false, true}, {}));
    EXPECT_TRUE(selected.at(c::kDeployToSelected));
    EXPECT_TRUE(selected.at(Button(c::kDeployToSelected)));
    EXPECT_TRUE(selected.at(c::kOpenUnitPlaylist));
}

TEST(DroppedFiles, ASinglePlaylistFileOpensWhateverTheCaseOfItsExtension) {
    using K = DropAction::Kind;
    EXPECT_EQ(RouteDroppedFiles({"/shows/night.ply"}),
              (std::vector<DropAction>{{K::OpenPlaylist, "/shows/night.ply"}}));
    EXPECT_EQ(RouteDroppedFiles({"/shows/night.Ply"}).front().kind, K::OpenPlaylist);
    // The extension is found after the last separator only.
    EXPECT_EQ(RouteDroppedFiles({"/shows.ply/night"}).front().kind, K::AddFile);
    EXPECT_EQ(RouteDroppedFiles({"/shows/night.ply.mpg"}).front().kind, K::AddFile);
}

TEST(DroppedFiles, AmongSeveralFilesAPlaylistIsJustAnotherFileToAdd) {
    using K = DropAction::Kind;
    EXPECT_EQ(
        RouteDroppedFiles({"/a/night.ply", "/a/intro.mpg"}),
        (std::vector<DropAction>{{K::AddFile, "/a/night.ply"}, {K::AddFile, "/a/intro.mpg"}}));
    // A path that could not be read is skipped but still counts as dropped.
    EXPECT_EQ(RouteDroppedFiles({"", "/a/night.ply"}),
              (std::vector<DropAction>{{K::AddFile, "/a/night.ply"}}));
    EXPECT_TRUE(RouteDroppedFiles({}).empty());
}

}  // namespace
}  // namespace vantic
