#pragma once

// The main window as the application drives it: a top-level window with
// the menu bar of the command table, a status bar, and the main dialog
// that fills the rest: the unit list above, the "Current Playlist:" line
// with the buttons, and the channel tabs around the playlist list below.
// The application says what to show in its own terms (commands, titles,
// lines); the view lays the window out and owns its controls, handing out
// the two lists. It reports what the user does through MainWindowEvents;
// list notifications come through each list control's own events.

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "app/command_table.h"
#include "platform/list_control.h"
#include "platform/window.h"
#include "units/status_counts.h"

namespace vantic {

class MainWindowEvents {
  public:
    virtual ~MainWindowEvents() = default;
    // A menu item or an accelerator: its id.
    virtual void OnCommand(int commandId) = 0;
    // A button of the main dialog: the command it runs.
    virtual void OnButton(int commandId) = 0;
    // The user asked to close the window; the window stays unless the
    // application quits.
    virtual void OnCloseRequest() = 0;
    virtual void OnTabSelected(int index) = 0;
    // The unit filter field's text changed: typed, cleared, or put there by
    // a status count or a group.
    virtual void OnUnitFilterChanged(const std::string& /*text*/) {}
    // A saved group was picked in the Groups menu, to show its units or to
    // delete it.
    virtual void OnGroupChosen(const std::string& /*name*/) {}
    virtual void OnGroupDeleteChosen(const std::string& /*name*/) {}
};

class MainWindowView {
  public:
    virtual ~MainWindowView() = default;

    // The hidden top-level window with the menus of commands; kNoWindow when
    // it cannot be made. The id only owns the dialogs and messages opened
    // over the window and names it for its placement. Accelerators reach
    // OnCommand with their own ids.
    [[nodiscard]] virtual WindowId CreateMainWindow(const std::string& title,
                                                    std::span<const CommandItem> commands,
                                                    MainWindowEvents& events) = 0;
    // Takes an item out of the menu for the life of the window.
    virtual void RemoveCommand(int commandId) = 0;
    // Greys or enables a command: its menu item and the button that runs
    // it. A removed item stays removed.
    virtual void SetCommandEnabled(int commandId, bool enabled) = 0;
    // The status bar along the bottom, showing text.
    virtual void CreateStatusBar(const std::string& text) = 0;
    // Any thread may set the line.
    virtual void SetStatusLine(const std::string& text) = 0;
    // The main dialog, filling the window above the status bar, with its
    // buttons left to right. The window never gets smaller than the dialog
    // was made. False when it cannot be made.
    [[nodiscard]] virtual bool CreateMainDialog(std::span<const ButtonItem> buttons) = 0;
    // The lists of the main dialog; null before it is made.
    [[nodiscard]] virtual ListControl* UnitList() = 0;
    [[nodiscard]] virtual ListControl* PlaylistList() = 0;
    // The status counts, a part of the status bar of their own beside the
    // status line; a click on a count puts its filter in the filter field.
    virtual void SetStatusCounts(const StatusCounts& /*counts*/) {}
    // Puts text in the unit filter field above the unit list, as if typed.
    virtual void SetUnitFilterText(const std::string& /*text*/) {}
    // The saved groups' names: the Groups menu's items and the filter
    // field's completion.
    virtual void SetUnitGroups(const std::vector<std::string>& /*names*/) {}
    // Asks for the name of a new group over the main window; none when the
    // operator cancels. Called from an operation.
    [[nodiscard]] virtual std::optional<std::string> AskGroupName(const std::string& /*filter*/) {
        return std::nullopt;
    }
    // The line that names the playlist document.
    virtual void SetPlaylistTitle(const std::string& text) = 0;
    // Adds a channel tab without selecting anything.
    virtual void InsertTab(int index, const std::string& text) = 0;
    virtual void ShowMainWindow() = 0;
    // Shows the window, restored if minimised, in front of the others.
    virtual void BringToFront() = 0;
    // Takes the keyboard focus from the control that has it.
    virtual void ClearFocus() = 0;
    // Runs the command once the message loop gets to it.
    virtual void PostCommand(int commandId) = 0;
    // Runs until PostQuit, or returns at once when it was already posted.
    virtual void RunMessageLoop() = 0;
    virtual void PostQuit() = 0;
    virtual void DestroyMainWindow() = 0;
};

}  // namespace vantic
