#include "app/main_dialog_layout.h"

#include "app/command_table.h"

namespace vantic {

void AnchorMainDialog(WSizer& sizer, WindowId dialog) {
    namespace d = main_dialog;
    sizer.Attach(dialog, true);
    // The unit list takes the upper half of any growth in height, the tabs
    // and the playlist the lower half; the label and buttons between them
    // move down with the tabs and keep their size. The buttons also follow
    // the right edge, so their row stays flush with the lists' right edge
    // however wide the window grows.
    sizer.AnchorItem(d::kUnitList, 0, 0, 1, 0.5);
    sizer.AnchorItem(d::kChannelTabs, 0, 0.5, 1, 0.5);
    sizer.AnchorItem(d::kPlaylistList, 0, 0.5, 1, 0.5);
    sizer.AnchorItem(d::kPlaylistLabel, 0, 0.5, 0, 0);
    for (const ButtonItem& button : ButtonTable()) {
        sizer.AnchorItem(button.id, 1, 0.5, 0, 0);
    }
}

}  // namespace vantic
