#pragma once

// Every window and form of the program, and how the desktop walk opens
// and leaves each. A new window is one more row of WalkedWindows().

#include <QString>
#include <vector>

namespace vantic {

// What is selected before the command runs.
enum class WalkSelection { None, OneUnit, ThreeUnits, FirstClip };
// How the walk leaves the window: as Escape does, or by its "OK" button,
// which opens the next row's window.
enum class WalkLeave { Cancel, Ok };

struct WalkedWindow {
    QString name;     // its screenshots' file names: "report-window"
    int command = 0;  // opens it; 0: the main window, or the row before opens it
    QString title;    // how its title begins; empty for the main window
    WalkSelection select = WalkSelection::None;
    WalkLeave leave = WalkLeave::Cancel;
    QString picture;  // the user manual's picture of it; empty for none
};

// In the order the walk opens them; the main window comes first.
[[nodiscard]] std::vector<WalkedWindow> WalkedWindows();

}  // namespace vantic
