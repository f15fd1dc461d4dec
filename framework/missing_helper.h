#pragma once

// The one message for an operation that the desktop could not carry out
// because a helper program is not installed: it names the program and the
// package to install, so the operator learns what to do rather than
// finding that nothing happened.

#include <optional>
#include <string_view>

#include "platform/desktop_helper.h"
#include "platform/message_box.h"

namespace vantic {

inline constexpr std::string_view kMissingHelperCaption = "Desktop Helper Missing";

// Shows the message over owner when helper is set: failed says what could
// not be done ("The user manual could not be opened"). True when it was
// shown; a failure with no helper missing is left unreported, as the
// desktop's own failures are.
bool ReportMissingHelper(MessageBoxes& messages, WindowId owner, std::string_view failed,
                         const std::optional<MissingHelper>& helper);

}  // namespace vantic
