#pragma once

// The main window as the application drives it: a top-level window with
// the menu bar of the command table, a status bar, and the main dialog
// that fills the rest (the unit list, the channel tabs, the playlist list,
// the "Current Playlist:" label and five buttons, items of
// main_dialog::*). The view reports what the user does through
// MainWindowEvents; list notifications come through each list control's
// own events.

#include <span>
#include <string>

#include "app/command_table.h"
#include "platform/window.h"

namespace vantic {

class MainWindowEvents {
  public:
    virtual ~MainWindowEvents() = default;
    // A menu item or an accelerator: its id.
    virtual void OnCommand(int commandId) = 0;
    virtual void OnButton(int buttonId) = 0;
    // The user asked to close the window; the window stays unless the
    // application quits.
    virtual void OnCloseRequest() = 0;
    // The window's client area changed size.
    virtual void OnSize() = 0;
    virtual void OnTabSelected(int index) = 0;
};

class MainWindowView {
  public:
    virtual ~MainWindowView() = default;

    // The hidden top-level window with the menus of commands; kNoWindow when
    // it cannot be made. Accelerators reach OnCommand with their own ids.
    [[nodiscard]] virtual WindowId CreateMainWindow(const std::string& title,
                                                    std::span<const CommandItem> commands,
                                                    MainWindowEvents& events) = 0;
    // Takes an item out of the menu for the life of the window.
    virtual void RemoveCommand(int commandId) = 0;
    // Greys or enables a menu item; a removed item stays removed.
    virtual void EnableCommand(int commandId, bool enabled) = 0;
    [[nodiscard]] virtual WindowId CreateStatusBar(const std::string& text) = 0;
    virtual void SetStatusText(const std::string& text) = 0;
    // The status bar takes its place at the bottom of the client area.
    virtual void PlaceStatusBar() = 0;
    // The main dialog with its items at their design places, a child of the
    // client area (its parent); kNoWindow when it cannot be made.
    [[nodiscard]] virtual WindowId CreateMainDialog(std::span<const ButtonItem> buttons) = 0;
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
