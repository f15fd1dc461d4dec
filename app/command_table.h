#pragma once

// The main window's commands as data: menus, labels, shortcut texts, ids,
// accelerators, separators, who may see them and when they are enabled.
// The views build the menu bar and the accelerators from this table; the
// application runs the operation behind each id.

#include <span>
#include <string_view>
#include <vector>

namespace vantic {

namespace command {
inline constexpr int kNewPlaylist = 40036;
inline constexpr int kOpenPlaylist = 40011;
inline constexpr int kOpenUnitPlaylist = 40048;
inline constexpr int kClosePlaylist = 40014;
inline constexpr int kSavePlaylist = 40012;
inline constexpr int kSavePlaylistAs = 40013;
inline constexpr int kExit = 40025;
inline constexpr int kEditUnit = 40042;
inline constexpr int kAddMedia = 40017;
inline constexpr int kDeleteMedia = 40018;
inline constexpr int kEditMedia = 40043;
inline constexpr int kMoveMediaUp = 40015;
inline constexpr int kMoveMediaDown = 40016;
inline constexpr int kLoginInfo = 40003;
inline constexpr int kDeployToAll = 40004;
inline constexpr int kDeployToSelected = 40005;
inline constexpr int kCrawlText = 40035;
inline constexpr int kAdminConfig = 40007;
inline constexpr int kNewFirmware = 40032;
inline constexpr int kNewTimezone = 40046;
inline constexpr int kNewOwner = 40047;
inline constexpr int kStatusReport = 40041;
inline constexpr int kActivityReport = 40049;
inline constexpr int kDayPlan = 40050;
inline constexpr int kAbout = 40001;
inline constexpr int kUserManual = 40038;
inline constexpr int kCheckForUpdates = 40040;
// The main dialog's "Preview" button; no menu item runs it.
inline constexpr int kPreviewMedia = 40051;
// Finding and grouping units.
inline constexpr int kSelectShownUnits = 40052;
inline constexpr int kSaveGroup = 40054;
}  // namespace command

// When a command or button is enabled, from the two lists.
enum class Enabling {
    Always,
    UnitsSelected,          // the unit list has a selected row
    AnyUnits,               // the unit list has a row
    PlaylistRows,           // the playlist has a row
    MediaSelected,          // the playlist has a selected row
    MediaSelectedNotFirst,  // ... and its first row is not selected
    MediaSelectedNotLast,   // ... and its last row is not selected
};

struct CommandItem {
    std::string_view menu;      // "&File"
    std::string_view label;     // "&New Playlist", as shown
    std::string_view shortcut;  // right-aligned text, "" for none
    int id = 0;
    int acceleratorId = 0;            // 0: no accelerator
    std::string_view acceleratorKey;  // with Ctrl: "N", "Up", "Shift+A"...
    Enabling enabling = Enabling::Always;
    bool administratorOnly = false;
    bool separatorAfter = false;
};

// A button of the main dialog runs a command, and is enabled with it.
struct ButtonItem {
    int command = 0;
    std::string_view text;
    Enabling enabling = Enabling::Always;
};

// Every command in menu order; the menus stand in the order they first appear.
[[nodiscard]] std::span<const CommandItem> CommandTable();
// The main dialog's buttons, left to right.
[[nodiscard]] std::span<const ButtonItem> ButtonTable();
// The command a menu id or an accelerator id belongs to; null for neither.
[[nodiscard]] const CommandItem* FindCommand(int id);

// What a row's context menu offers: the menu commands that act on the
// selected units, or on the selected clips, the double-click's own first;
// 0 stands for a separator.
[[nodiscard]] std::span<const int> UnitRowCommands();
[[nodiscard]] std::span<const int> ClipRowCommands();

// The commands a window created under loginName leaves out of its menu.
[[nodiscard]] std::vector<int> CommandsHiddenFrom(std::string_view loginName);

// What a list shows, as the enabling rules need it.
struct ListState {
    int rows = 0;
    bool anySelected = false;
    bool firstSelected = false;
    bool lastSelected = false;
};

struct ItemState {
    int id = 0;
    bool enabled = true;
    bool operator==(const ItemState&) const = default;
};

struct CommandStates {
    std::vector<ItemState> menuItems;  // every command, in table order
    std::vector<ItemState> buttons;    // every button by its command, in table order
};

[[nodiscard]] bool IsEnabled(Enabling rule, const ListState& units, const ListState& playlist);
[[nodiscard]] CommandStates ComputeCommandStates(const ListState& units, const ListState& playlist);

}  // namespace vantic
