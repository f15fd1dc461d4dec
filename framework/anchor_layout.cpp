#include "framework/anchor_layout.h"

#include <algorithm>

namespace vantic {

namespace {

int Share(int growth, double fraction) {
    return static_cast<int>(growth * fraction);  // truncates toward zero
}

}  // namespace

Rect AnchoredRect(const SizerAnchor& anchor, int clientWidth, int clientHeight) {
    const int dw = clientWidth - anchor.clientWidth;
    const int dh = clientHeight - anchor.clientHeight;
    const int x = anchor.start.left + Share(dw, anchor.fx);
    const int y = anchor.start.top + Share(dh, anchor.fy);
    int width = anchor.start.Width() + Share(dw, anchor.fw);
    int height = anchor.start.Height() + Share(dh, anchor.fh);
    if (width < 0) {
        width = 1;
    }
    if (height < 0) {
        height = 1;
    }
    return Rect{x, y, x + width, y + height};
}

FitPlan PlanFit(const Rect& parentClient, const Rect& parentOuter, int statusHeight,
                const Rect& design, bool keepMinimum) {
    const int shortWidth = design.Width() - parentClient.Width();
    const int shortHeight = design.Height() + statusHeight - parentClient.Height();
    FitPlan plan;
    if (keepMinimum && (shortWidth > 0 || shortHeight > 0)) {
        plan.growParent = true;
        plan.parentWidth = parentOuter.Width() + std::max(0, shortWidth);
        plan.parentHeight = parentOuter.Height() + std::max(0, shortHeight);
        return plan;
    }
    plan.width = std::max(0, parentClient.Width());
    plan.height = std::max(0, parentClient.Height() - statusHeight);
    return plan;
}

}  // namespace vantic
