#include "tools/vanticctl/ctl_console_confirm.h"

#include <istream>
#include <ostream>
#include <string>

namespace vantic::ctl {

bool ConsoleConfirmForm::RunConfirmForm(WindowId /*owner*/, ConfirmForm& form,
                                        const ConfirmCheck& onOk) {
    out_ << form.preview << kConfirmTitle << ": " << form.prompt << "\n";
    if (assumeYes_) {
        form.typed = form.word;
        out_ << "> " << form.typed << std::endl;
        return onOk(form);
    }
    for (;;) {
        out_ << "> " << std::flush;
        std::string line;
        if (!std::getline(in_, line)) {
            out_ << std::endl;
            return false;
        }
        form.typed = line.substr(0, kConfirmTextLimit);
        if (onOk(form)) {
            return true;
        }
    }
}

}  // namespace vantic::ctl
