#pragma once

// Where a dialog opens over its owner: centred horizontally, with a third
// of the spare height above it. A dialog larger than its owner in one
// direction lines up with the owner's left or top edge. Without an owner
// the screen area takes the owner's place.

#include "platform/geometry.h"

namespace vantic {

// The dialog's rectangle, keeping its width and height.
[[nodiscard]] Rect PlaceOverOwner(int dialogWidth, int dialogHeight, const Rect& owner);

}  // namespace vantic
