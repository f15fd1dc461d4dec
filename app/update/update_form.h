#pragma once

// "Automatic Updates": how the operator wants updates checked. The form
// always opens on option 0, whatever is stored; the view shows the texts
// below and edits `option`.

#include <array>

#include "platform/window.h"

namespace vantic {

namespace update_option {
inline constexpr int kAskEachTime = 0;
inline constexpr int kNotifyOnly = 1;
inline constexpr int kNever = 2;
}  // namespace update_option

struct AutoUpdateForm {
    int option = update_option::kAskEachTime;  // the selected choice, 0 to 2
};

inline constexpr const char* kAutoUpdateTitle = "Automatic Updates";
inline constexpr std::array<const char*, 3> kAutoUpdateIntro = {
    "This Brindle product can notify you when software",
    "updates are available , keeping you up to date with the latest",
    "functionality.  Please choose an option:",
};
// In option order.
inline constexpr std::array<const char*, 3> kAutoUpdateChoices = {
    "Check for software updates just once, right now",
    "Notify me automatically only when a new update is available",
    "Do not check for updates (not recommended)",
};
inline constexpr const char* kAutoUpdateOkText = "OK";
inline constexpr const char* kAutoUpdateLaterText = "Ask Me Later";

// The form's modal view. True for OK; false for "Ask Me Later" or closing.
class AutoUpdateFormView {
  public:
    virtual ~AutoUpdateFormView() = default;
    virtual bool RunAutoUpdateForm(WindowId owner, AutoUpdateForm& form) = 0;
};

// A stored option as the rules read it: anything outside 0 to 2 is 0.
[[nodiscard]] int EffectiveUpdateOption(int stored);

// The option the operator chose; anything but 1 or 2 counts as 0.
[[nodiscard]] int ChosenUpdateOption(const AutoUpdateForm& form);

}  // namespace vantic
