#include "platform/placement.h"

namespace vantic {

namespace {

// The start of a span of length size inside area [start, start + length):
// a share of the spare room before it, or start when there is none.
int PlaceSpan(int start, int length, int size, int shareDivisor) {
    const int spare = length - size;
    if (spare <= 0) {
        return start;
    }
    return start + spare / shareDivisor;
}

}  // namespace

Rect PlaceOverOwner(int dialogWidth, int dialogHeight, const Rect& owner) {
    const int left = PlaceSpan(owner.left, owner.Width(), dialogWidth, 2);
    const int top = PlaceSpan(owner.top, owner.Height(), dialogHeight, 3);
    return Rect{left, top, left + dialogWidth, top + dialogHeight};
}

}  // namespace vantic
