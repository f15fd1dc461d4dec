#pragma once

// The logic names windows, dialogs and controls by an opaque id. A
// realisation hands out ids for its own windows and turns them back into
// its own objects; the logic only stores and compares them. The null id
// means "no window": the desktop as an owner, or none at all.

namespace vantic {

struct OpaqueWindow;
using WindowId = OpaqueWindow*;

inline constexpr WindowId kNoWindow = nullptr;

}  // namespace vantic
