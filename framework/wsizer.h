#pragma once

// WSizer keeps a dialog's controls anchored while the dialog is resized,
// and keeps the dialog's parent at least as large as the dialog was made.

#include <vector>

#include "framework/anchor_layout.h"
#include "platform/window_system.h"

namespace vantic {

class WSizer {
  public:
    explicit WSizer(WindowGeometry& geometry);
    virtual ~WSizer() = default;
    WSizer(const WSizer&) = delete;
    WSizer& operator=(const WSizer&) = delete;

    // Lays out window from now on; its current rectangle is the design size.
    void Attach(WindowId window, bool keepMinimum);
    // Anchors a control of the window at its current place; the fractions
    // become the defaults for AnchorItemLike. False for a missing control.
    bool Anchor(WindowId control, double fx, double fy, double fw, double fh);
    bool AnchorItem(int itemId, double fx, double fy, double fw, double fh);
    bool AnchorItemLike(int itemId);

    // Moves and sizes every anchored control for the current client size.
    void Relayout();
    // Called when the parent changes size; statusBar may be kNoWindow. Sizes
    // the window to the parent's client area less the status bar, or, with
    // the minimum-size rule, first grows a parent that became too small.
    void FitToParent(WindowId statusBar);

    [[nodiscard]] WindowId Window() const { return window_; }
    [[nodiscard]] const Rect& DesignRect() const { return design_; }
    [[nodiscard]] std::size_t AnchorCount() const { return anchors_.size(); }

  private:
    WindowGeometry& geometry_;
    WindowId window_ = kNoWindow;
    Rect design_;
    bool keepMinimum_ = false;
    std::vector<SizerAnchor> anchors_;  // oldest first; laid out newest first
    double fx_ = 0;
    double fy_ = 0;
    double fw_ = 0;
    double fh_ = 0;
};

}  // namespace vantic
