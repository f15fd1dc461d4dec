#pragma once

// Progress dialogs in memory. Each dialog keeps a record of what it was
// told that outlives it; a test can press its buttons, or have Cancel
// pressed at the n-th message pump while a dialog is open.

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/progress_window.h"

namespace vantic::testing {

struct ProgressRecord {
    WindowId owner = kNoWindow;
    int layout = 0;
    bool shown = false;
    bool destroyed = false;
    std::map<int, std::vector<int>> bars;           // every percentage set, by bar
    std::map<int, std::vector<std::string>> texts;  // every text set, by item
    ProgressButtonHandler onButton;

    // The id the dialog has while it exists.
    [[nodiscard]] WindowId Id() const {
        return reinterpret_cast<WindowId>(const_cast<ProgressRecord*>(this));
    }
    [[nodiscard]] int SetCount(int itemId) const;
    [[nodiscard]] std::string LastText(int itemId) const;
    [[nodiscard]] int LastBar(int barId) const;  // -1 when never set
};

class ScriptedProgressWindows final : public ProgressWindows {
  public:
    [[nodiscard]] std::unique_ptr<ProgressWindow> Create(WindowId owner, int layoutId,
                                                         ProgressButtonHandler onButton) override;

    void RefuseCreate(bool refuse) { refuse_ = refuse; }
    [[nodiscard]] const std::vector<std::unique_ptr<ProgressRecord>>& Records() const {
        return records_;
    }
    // The most recent dialog's record; null before the first.
    [[nodiscard]] ProgressRecord* Last() const;
    [[nodiscard]] bool AnyOpen() const;
    // Presses a button of the open dialog; false when none is open.
    bool Press(int buttonId);
    // The n-th pump (1-based) that happens while a dialog is open presses Cancel.
    void CancelAtPump(int n);
    // To be called on every message pump.
    void NotePump();

  private:
    std::vector<std::unique_ptr<ProgressRecord>> records_;
    bool refuse_ = false;
    int cancelAt_ = 0;
    int openPumps_ = 0;
};

// The item ids a layout has.
[[nodiscard]] bool ProgressLayoutHas(int layoutId, int itemId);

}  // namespace vantic::testing
