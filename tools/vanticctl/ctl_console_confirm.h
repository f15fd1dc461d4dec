#pragma once

// The typed confirmation on a console: the form's prompt is printed and
// each line read is what the operator typed into the box, until one is
// accepted or the input ends (which cancels). With assumeYes the word is
// typed without reading.

#include <iosfwd>

#include "units/confirm_form.h"

namespace vantic::ctl {

class ConsoleConfirmForm final : public ConfirmFormView {
  public:
    ConsoleConfirmForm(std::ostream& out, std::istream& in, bool assumeYes)
        : out_(out), in_(in), assumeYes_(assumeYes) {}
    bool RunConfirmForm(WindowId owner, ConfirmForm& form, const ConfirmCheck& onOk) override;

  private:
    std::ostream& out_;
    std::istream& in_;
    bool assumeYes_ = false;
};

}  // namespace vantic::ctl
