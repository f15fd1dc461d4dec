#pragma once

// "Confirm this Action" on Qt: the prompt, in the channel wording a further
// fixed line, a text box of at most 260 characters, OK and Cancel. OK
// closes the dialog only when the typed word is accepted. A form with a
// preview shows it first, read-only, in a box that scrolls when it is long.

#include <QDialog>
#include <QLineEdit>

#include "units/confirm_form.h"

namespace vantic {

// The text box's item id, and the preview's.
inline constexpr int kConfirmTextItem = 1023;
inline constexpr int kConfirmPreviewItem = 1024;

// The dialog bound to a form value; exposed so tests can reach it.
class QtConfirmDialog final : public QDialog {
  public:
    QtConfirmDialog(QWidget* owner, ConfirmForm& form, ConfirmCheck onOk);

  private:
    void PressOk();

    ConfirmForm& form_;
    ConfirmCheck onOk_;
    QLineEdit* text_ = nullptr;
};

class QtConfirmFormView final : public ConfirmFormView {
  public:
    bool RunConfirmForm(WindowId owner, ConfirmForm& form, const ConfirmCheck& onOk) override;
};

}  // namespace vantic
