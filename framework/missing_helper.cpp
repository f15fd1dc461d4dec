#include "framework/missing_helper.h"

#include <string>

namespace vantic {

bool ReportMissingHelper(MessageBoxes& messages, WindowId owner, std::string_view failed,
                         const std::optional<MissingHelper>& helper) {
    if (!helper) {
        return false;
    }
    std::string text(failed);
    text += ": the desktop helper program \"" + helper->program + "\" is not installed.\r\n\r\n";
    text += "Install the package \"" + helper->package + "\" and try again.";
    messages.Show(Message{.owner = owner,
                          .text = std::move(text),
                          .caption = std::string(kMissingHelperCaption),
                          .icon = MessageIcon::Warning});
    return true;
}

}  // namespace vantic
