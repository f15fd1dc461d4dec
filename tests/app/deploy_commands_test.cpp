// The main window's deployment commands: the menu items, their
// accelerators and the two buttons reach Deploy with the right targets.

#include <gtest/gtest.h>

#include "tests/app/app_fixture.h"

namespace vantic {
namespace {

using testing::AppFixture;
namespace c = command;

// Logged in as the administrator, who may not deploy to all units, and
// with units but no selection: each command stops at its first check, which
// tells which targets it asked for.
class DeployCommands : public AppFixture {
  protected:
    DeployCommands() { StoreLoginNameOnly("Sovra"); }
};

TEST_F(DeployCommands, ToAllOrToTheSelectionFromMenuAcceleratorAndButton) {
    for (int i = 0; i < 3; ++i) {
        platform->QueueAnswer(MessageAnswer::Ok, "Not Allowed");
    }
    for (int i = 0; i < 3; ++i) {
        platform->QueueAnswer(MessageAnswer::Ok, "No Units Selected For Deployment");
    }
    Window().whileRunning = [&] {
        app->Venue().MergeReply("4\tLobby\tOK\t\t\n9\tBar\tOK\t\t\n");
        Window().Events().OnCommand(c::kDeployToAll);
        Window().Events().OnCommand(40030);  // Ctrl+D
        Window().Events().OnButton(c::kDeployToAll);
        Window().Events().OnCommand(c::kDeployToSelected);
        Window().Events().OnCommand(40031);  // Ctrl+M
        Window().Events().OnButton(c::kDeployToSelected);
    };
    app->Run();
    ASSERT_EQ(platform->ShownMessages().size(), 6u);
    for (const Message& message : platform->ShownMessages()) {
        EXPECT_EQ(message.owner, Window().window);
    }
}

TEST_F(DeployCommands, TheConfirmationOpensOverTheMainWindowInTheChannelWording) {
    views->confirmation.script.QueueCancel();
    Window().whileRunning = [&] {
        app->Venue().MergeReply("4\tLobby\tOK\t\t\n");
        Window().units.ClickRow(0);
        Window().Events().OnButton(c::kDeployToSelected);
    };
    app->Run();
    ASSERT_EQ(views->confirmation.script.Opened().size(), 1u);
    EXPECT_EQ(views->confirmation.script.Opened()[0].layout, kConfirmChannelLayout);
    EXPECT_EQ(views->confirmation.owners[0], Window().window);
    EXPECT_TRUE(platform->ShownMessages().empty());
}

// A filter narrows what "Select Shown Units" picks; "Channel to All Units"
// still means every unit, and its confirmation says how many are hidden.
class FilteredDeployCommands : public AppFixture {
  protected:
    FilteredDeployCommands() { StoreLoginNameOnly("operator"); }
};

TEST_F(FilteredDeployCommands, ShownUnitsAreSelectedAndDeployToAllNamesTheHiddenOnes) {
    views->confirmation.script.QueueCancel();
    views->confirmation.script.QueueCancel();
    int selected = 0;
    Window().whileRunning = [&] {
        app->Venue().MergeReply(
            "4\t[Harbor] lobby\tOK\t\t\n9\tBar\tOK\t\t\n12\t[Harbor] gate\tOK\t\t\n");
        Window().Events().OnUnitFilterChanged("harbor");
        Window().Events().OnCommand(40053);  // Ctrl+Shift+A
        selected = app->Venue().SelectedCount();
        Window().Events().OnCommand(c::kDeployToSelected);
        Window().Events().OnCommand(c::kDeployToAll);
    };
    app->Run();
    EXPECT_EQ(selected, 2);
    ASSERT_EQ(views->confirmation.script.Opened().size(), 2u);
    EXPECT_EQ(views->confirmation.script.Opened()[0].preview.find("not shown"), std::string::npos);
    EXPECT_TRUE(views->confirmation.script.Opened()[1].preview.starts_with(
        "All 3 units, including 1 not shown by the filter.\n"))
        << views->confirmation.script.Opened()[1].preview;
}

// The unit editor from the menu and from a double click: both read the
// first selected unit's settings, and a server that cannot be reached is
// reported over the main window, with no form.
TEST_F(DeployCommands, EditSelectedUnitFromTheMenuAndADoubleClickReadsTheUnitsSettings) {
    for (int i = 0; i < 2; ++i) {
        platform->QueueAnswer(MessageAnswer::Ok, "Communication Error");
    }
    Window().whileRunning = [&] {
        app->Venue().MergeReply("4\tLobby\tOK\t\t\n9\tBar\tOK\t\t\n");
        Window().Events().OnCommand(c::kEditUnit);  // nothing selected: nothing happens
        Window().units.ClickRow(1);
        Window().Events().OnCommand(c::kEditUnit);
        Window().units.DoubleClick(0);
    };
    app->Run();
    ASSERT_EQ(platform->ShownMessages().size(), 2u);
    for (const Message& message : platform->ShownMessages()) {
        EXPECT_EQ(message.text, "Error getting config information from server");
        EXPECT_EQ(message.owner, Window().window);
    }
    EXPECT_TRUE(views->unitEditor.script.Opened().empty());
}

}  // namespace
}  // namespace vantic
