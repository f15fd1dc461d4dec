#include "framework/wsizer.h"

namespace vantic {

WSizer::WSizer(WindowGeometry& geometry) : geometry_(geometry) {}

void WSizer::Attach(WindowId window, bool keepMinimum) {
    window_ = window;
    design_ = geometry_.ScreenRect(window);
    keepMinimum_ = keepMinimum;
}

bool WSizer::Anchor(WindowId control, double fx, double fy, double fw, double fh) {
    if (control == kNoWindow || window_ == kNoWindow) {
        return false;
    }
    const Rect client = geometry_.ClientRect(window_);
    anchors_.push_back(SizerAnchor{control, geometry_.RectInParent(control), client.Width(),
                                   client.Height(), fx, fy, fw, fh});
    fx_ = fx;
    fy_ = fy;
    fw_ = fw;
    fh_ = fh;
    return true;
}

bool WSizer::AnchorItem(int itemId, double fx, double fy, double fw, double fh) {
    if (window_ == kNoWindow) {
        return false;
    }
    return Anchor(geometry_.Item(window_, itemId), fx, fy, fw, fh);
}

bool WSizer::AnchorItemLike(int itemId) {
    return AnchorItem(itemId, fx_, fy_, fw_, fh_);
}

void WSizer::Relayout() {
    if (window_ == kNoWindow) {
        return;
    }
    const Rect client = geometry_.ClientRect(window_);
    for (auto anchor = anchors_.rbegin(); anchor != anchors_.rend(); ++anchor) {
        geometry_.SetRectInParent(anchor->control,
                                  AnchoredRect(*anchor, client.Width(), client.Height()));
    }
}

void WSizer::FitToParent(WindowId statusBar) {
    if (window_ == kNoWindow) {
        return;
    }
    const WindowId parent = geometry_.Parent(window_);
    if (parent == kNoWindow) {
        return;
    }
    const int statusHeight = statusBar == kNoWindow ? 0 : geometry_.ScreenRect(statusBar).Height();
    const FitPlan plan = PlanFit(geometry_.ClientRect(parent), geometry_.ScreenRect(parent),
                                 statusHeight, design_, keepMinimum_);
    if (plan.growParent) {
        geometry_.ResizeOuter(parent, plan.parentWidth, plan.parentHeight);
        return;  // the parent's resize calls back here
    }
    const Rect now = geometry_.RectInParent(window_);
    geometry_.SetRectInParent(
        window_, Rect{now.left, now.top, now.left + plan.width, now.top + plan.height});
    Relayout();
}

}  // namespace vantic
