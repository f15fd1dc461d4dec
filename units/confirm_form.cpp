#include "units/confirm_form.h"

#include "core/cpstring.h"

namespace vantic {

ConfirmForm OpenConfirmForm(std::string_view word, bool channelWording) {
    ConfirmForm form;
    form.word = std::string(word);
    const std::string quoted = "\"" + form.word + "\"";
    if (channelWording) {
        form.layout = kConfirmChannelLayout;
        form.prompt = "Only the current channel's playlist will be changed. \n\n Type " + quoted +
                      " in the box to continue...";
        // The form's own line asks for "yes"; when that is the word, the
        // prompt has just said it and the line would only repeat it.
        if (!EqualsNoCase(TrimmedView(form.word), "yes")) {
            form.fixedLine = "Type \"yes\" in the box to continue...";
        }
    } else {
        form.layout = kConfirmLayout;
        form.prompt = "Type " + quoted + " in the box to continue...";
    }
    return form;
}

bool ConfirmFormAccepts(const ConfirmForm& form) {
    std::string_view typed = form.typed;
    typed = typed.substr(0, kConfirmTextLimit);
    return EqualsNoCase(TrimmedView(typed), TrimmedView(form.word));
}

bool ConfirmByTyping(ConfirmFormView& view, WindowId owner, std::string_view word,
                     bool channelWording, std::string preview) {
    ConfirmForm form = OpenConfirmForm(word, channelWording);
    form.preview = std::move(preview);
    // The view closes the form on OK only when the check passes; the check
    // is repeated so that a view that closes anyway confirms nothing.
    return view.RunConfirmForm(owner, form, ConfirmFormAccepts) && ConfirmFormAccepts(form);
}

}  // namespace vantic
