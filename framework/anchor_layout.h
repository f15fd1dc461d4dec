#pragma once

// The arithmetic of anchored layout. A control anchored with fractions
// (fx, fy, fw, fh) moves by fx and fy of the growth of its window's client
// area and grows by fw and fh of it; growth is measured from the client
// size when the anchor was made.

#include "platform/geometry.h"
#include "platform/window.h"

namespace vantic {

struct SizerAnchor {
    WindowId control = kNoWindow;
    Rect start;  // in the window's client coordinates when anchored
    int clientWidth = 0;
    int clientHeight = 0;
    double fx = 0;
    double fy = 0;
    double fw = 0;
    double fh = 0;
};

// The control's rectangle for the given client size. A width or height
// that would come out negative is 1.
[[nodiscard]] Rect AnchoredRect(const SizerAnchor& anchor, int clientWidth, int clientHeight);

// What fitting a laid-out window into its parent does.
struct FitPlan {
    // Grow the parent's outer size to these, then wait for it to come back.
    bool growParent = false;
    int parentWidth = 0;
    int parentHeight = 0;
    // Otherwise give the laid-out window this size.
    int width = 0;
    int height = 0;
};

// parentClient and parentOuter are the parent's client and outer
// rectangles, design the laid-out window's rectangle when it was attached.
// With keepMinimum the parent is never left smaller than the design plus
// the status bar.
[[nodiscard]] FitPlan PlanFit(const Rect& parentClient, const Rect& parentOuter, int statusHeight,
                              const Rect& design, bool keepMinimum);

}  // namespace vantic
