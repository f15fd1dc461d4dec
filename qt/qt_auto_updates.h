#pragma once

// "Automatic Updates" on Qt: three text lines, three choices (items 1096 to
// 1098), OK and "Ask Me Later".

#include <QDialog>
#include <array>

#include "app/update/update_form.h"

class QRadioButton;

namespace vantic {

inline constexpr std::array<int, 3> kAutoUpdateChoiceItems = {1096, 1097, 1098};

// The dialog bound to a form value; exposed so tests can reach it.
class QtAutoUpdatesDialog final : public QDialog {
  public:
    QtAutoUpdatesDialog(QWidget* owner, AutoUpdateForm& form);

  private:
    void PressOk();

    AutoUpdateForm& form_;
    std::array<QRadioButton*, 3> choices_{};
};

class QtAutoUpdatesView final : public AutoUpdateFormView {
  public:
    bool RunAutoUpdateForm(WindowId owner, AutoUpdateForm& form) override;
};

}  // namespace vantic
