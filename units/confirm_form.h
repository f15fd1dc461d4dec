#pragma once

// "Confirm this Action": a small modal form that makes the operator type a
// word before an operation that changes units. OK closes it only when the
// box holds the word; blanks around either are ignored, and so is case.

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "platform/window.h"

namespace vantic {

inline constexpr std::string_view kConfirmTitle = "Confirm this Action";
// The generic wording, and the wording of a channel deployment.
inline constexpr int kConfirmLayout = 113;
inline constexpr int kConfirmChannelLayout = 126;
// The box takes at most this many characters.
inline constexpr std::size_t kConfirmTextLimit = 260;

struct ConfirmForm {
    int layout = kConfirmLayout;
    std::string word;       // what must be typed
    std::string prompt;     // the line above the box
    std::string fixedLine;  // a further line below the prompt; empty for none or a repeat
    std::string typed;      // the box's text
    std::string preview;    // what the operation will do, shown above the prompt; may be empty
};

using ConfirmCheck = std::function<bool(const ConfirmForm&)>;

// The form as it opens, empty box. With channelWording the prompt warns
// that only the current channel's playlist changes.
[[nodiscard]] ConfirmForm OpenConfirmForm(std::string_view word, bool channelWording);

// Whether OK may close the form: the box's text (cut to the box's limit)
// and the word, each trimmed of blanks (space, tab, CR, LF), are equal
// without regard to case.
[[nodiscard]] bool ConfirmFormAccepts(const ConfirmForm& form);

class ConfirmFormView {
  public:
    virtual ~ConfirmFormView() = default;
    // Shows the form modal over owner. Every press of OK hands the form's
    // value to onOk, and the form closes only when onOk returns true. True
    // after such an OK, false after Cancel.
    virtual bool RunConfirmForm(WindowId owner, ConfirmForm& form, const ConfirmCheck& onOk) = 0;
};

// Asks the operator to type word; true when the form was closed with OK.
// A preview, when given, is shown above the prompt.
[[nodiscard]] bool ConfirmByTyping(ConfirmFormView& view, WindowId owner, std::string_view word,
                                   bool channelWording, std::string preview = {});

}  // namespace vantic
