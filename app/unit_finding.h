#pragma once

// Finding and grouping units in the main window: the filter field above
// the unit list, the status counts in the status bar, "Select Shown Units",
// and the saved groups of the Groups menu (kept in the settings store, see
// units/unit_groups.h). The unit list does the filtering; this part keeps
// the window's pieces in step with it.

#include <optional>
#include <string>

#include "app/main_window_view.h"
#include "framework/wreg.h"
#include "platform/message_box.h"
#include "units/status_counts.h"
#include "units/venue_list.h"

namespace vantic {

class UnitFinding {
  public:
    UnitFinding(VenueList& venue, WReg& store, MainWindowView& view, MessageBoxes& messages);

    // The window that owns the questions and messages.
    void SetMainWindow(WindowId mainWindow) { mainWindow_ = mainWindow; }

    // The field's text: the list shows what matches. While busyNow (an
    // operation has the list) the text waits for ApplyWaitingFilter.
    void FilterTyped(const std::string& text, bool busyNow);
    // Applies a text that had to wait; call when nothing has the list.
    void ApplyWaitingFilter();
    // The status counts and the groups, into the window when they changed.
    void ShowCounts();
    void ShowGroups();

    // The commands; these run as operations.
    void SelectShownUnits();
    void SaveFilterAsGroup();
    void DeleteGroup(const std::string& name);
    // On the window's thread: the group's filter into the field.
    void ShowGroup(const std::string& name);

    // For "Channel to All Units": "All N units, including M not shown by
    // the filter.", or empty when the filter hides none.
    [[nodiscard]] std::string HiddenUnitsNote();

  private:
    void Tell(const std::string& text, const std::string& caption, MessageIcon icon);

    VenueList& venue_;
    WReg& store_;
    MainWindowView& view_;
    MessageBoxes& messages_;
    WindowId mainWindow_ = kNoWindow;
    std::optional<std::string> waitingFilter_;
    std::string countsShown_;
};

}  // namespace vantic
