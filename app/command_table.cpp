#include "app/command_table.h"

#include "core/cpstring.h"
#include "net/login_settings.h"

namespace vantic {

namespace {

using E = Enabling;
namespace c = command;

// Labels keep their trailing blanks: they are the menu's own texts.
constexpr CommandItem kCommands[] = {
    {"&File", "&New Playlist", "Ctrl+N", c::kNewPlaylist, 40044, "N", E::Always},
    {"&File", "&Open Playlist...   ", "Ctrl+O", c::kOpenPlaylist, 40028, "O", E::Always},
    {"&File", "Open Selected Unit's Playlist...", "", c::kOpenUnitPlaylist, 0, "",
     E::UnitsSelected},
    {"&File", "&Close Playlist...", "", c::kClosePlaylist, 0, "", E::PlaylistRows, false, true},
    {"&File", "&Save Playlist...", "Ctrl+S", c::kSavePlaylist, 40045, "S", E::PlaylistRows},
    {"&File", "Save Playlist &As...", "", c::kSavePlaylistAs, 0, "", E::PlaylistRows, false, true},
    {"&File", "E&xit", "", c::kExit, 0, "", E::Always},
    {"&Edit", "Select Shown Units", "Ctrl+Shift+A", c::kSelectShownUnits, 40053, "Shift+A",
     E::AnyUnits},
    {"&Edit", "Edit Selected Unit...", "(double-click)", c::kEditUnit, 0, "", E::UnitsSelected,
     false, true},
    {"&Edit", "Add Media...", "Ctrl+A", c::kAddMedia, 40029, "A", E::Always},
    {"&Edit", "Delete Selected Media...", "", c::kDeleteMedia, 0, "", E::MediaSelected},
    {"&Edit", "Edit Selected Media... ", "(double-click)", c::kEditMedia, 0, "", E::MediaSelected},
    {"&Edit", "Move Media Up", "Ctrl+Up", c::kMoveMediaUp, 40026, "Up", E::MediaSelectedNotFirst},
    {"&Edit", "Move Media Down   ", "Ctrl+Down", c::kMoveMediaDown, 40027, "Down",
     E::MediaSelectedNotLast, false, true},
    {"&Edit", "Server Login Info...", "", c::kLoginInfo, 0, "", E::Always},
    {"&Deploy", "Channel to All Units", "Ctrl+D", c::kDeployToAll, 40030, "D", E::AnyUnits},
    {"&Deploy", "Channel to Selected Units", "Ctrl+M", c::kDeployToSelected, 40031, "M",
     E::UnitsSelected, false, true},
    {"&Deploy", "Crawl Text To Selected Units...", "", c::kCrawlText, 0, "", E::UnitsSelected},
    {"&Deploy", "Admin Config Modify Selected Units...", "", c::kAdminConfig, 0, "",
     E::UnitsSelected, true},
    {"&Deploy", "New Firmware to Selected Units...", "", c::kNewFirmware, 0, "", E::UnitsSelected,
     true},
    {"&Deploy", "New Timzone to Selected Units...", "", c::kNewTimezone, 0, "", E::UnitsSelected},
    {"&Deploy", "New Owner to Selected Units...", "", c::kNewOwner, 0, "", E::UnitsSelected, true},
    {"&Groups", "Save Filter as Group...", "", c::kSaveGroup, 0, "", E::Always},
    {"&Reports", "&Generate Status Report...", "", c::kStatusReport, 0, "", E::Always},
    {"&Reports", "Unit Activity Report...", "", c::kActivityReport, 0, "", E::Always, true},
    {"&Reports", "Day Plan...", "", c::kDayPlan, 0, "", E::Always},
    {"&Help", "&About Vantic...", "", c::kAbout, 0, "", E::Always},
    {"&Help", "User Manual...", "", c::kUserManual, 0, "", E::Always, false, true},
    {"&Help", "Check for Updates...", "", c::kCheckForUpdates, 0, "", E::Always},
};

constexpr ButtonItem kButtons[] = {
    {c::kAddMedia, "Add", E::Always},
    {c::kDeleteMedia, "Delete", E::MediaSelected},
    {c::kPreviewMedia, "Preview", E::MediaSelected},
    {c::kDeployToSelected, "Deploy", E::UnitsSelected},
    {c::kDeployToAll, "Deploy to All", E::AnyUnits},
};

constexpr int kUnitRowCommands[] = {
    c::kEditUnit,         c::kOpenUnitPlaylist, 0,
    c::kDeployToSelected, c::kCrawlText,        c::kAdminConfig,
    c::kNewFirmware,      c::kNewTimezone,      c::kNewOwner,
};

constexpr int kClipRowCommands[] = {
    c::kEditMedia, c::kDeleteMedia, 0, c::kMoveMediaUp, c::kMoveMediaDown,
};

}  // namespace

std::span<const int> UnitRowCommands() {
    return kUnitRowCommands;
}

std::span<const int> ClipRowCommands() {
    return kClipRowCommands;
}

std::span<const CommandItem> CommandTable() {
    return kCommands;
}

std::span<const ButtonItem> ButtonTable() {
    return kButtons;
}

const CommandItem* FindCommand(int id) {
    for (const CommandItem& item : kCommands) {
        if (item.id == id || (item.acceleratorId != 0 && item.acceleratorId == id)) {
            return &item;
        }
    }
    return nullptr;
}

std::vector<int> CommandsHiddenFrom(std::string_view loginName) {
    std::vector<int> hidden;
    if (IsAdministratorLogin(loginName)) {
        return hidden;
    }
    for (const CommandItem& item : kCommands) {
        if (item.administratorOnly) {
            hidden.push_back(item.id);
        }
    }
    return hidden;
}

bool IsEnabled(Enabling rule, const ListState& units, const ListState& playlist) {
    switch (rule) {
        case E::Always:
            return true;
        case E::UnitsSelected:
            return units.anySelected;
        case E::AnyUnits:
            return units.rows > 0;
        case E::PlaylistRows:
            return playlist.rows > 0;
        case E::MediaSelected:
            return playlist.anySelected;
        case E::MediaSelectedNotFirst:
            return playlist.anySelected && !playlist.firstSelected;
        case E::MediaSelectedNotLast:
            return playlist.anySelected && !playlist.lastSelected;
    }
    return true;
}

CommandStates ComputeCommandStates(const ListState& units, const ListState& playlist) {
    CommandStates states;
    for (const CommandItem& item : kCommands) {
        states.menuItems.push_back({item.id, IsEnabled(item.enabling, units, playlist)});
    }
    for (const ButtonItem& button : kButtons) {
        states.buttons.push_back({button.command, IsEnabled(button.enabling, units, playlist)});
    }
    return states;
}

}  // namespace vantic
