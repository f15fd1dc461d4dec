#pragma once

// How the main dialog's controls follow the window's size.

#include "framework/wsizer.h"

namespace vantic {

// Attaches the sizer to the dialog, keeping the window at least as large as
// the dialog was made, and anchors the dialog's items.
void AnchorMainDialog(WSizer& sizer, WindowId dialog);

}  // namespace vantic
