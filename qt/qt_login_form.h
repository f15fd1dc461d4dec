#pragma once

// The login form on Qt, "Please Enter Login Info": three text fields, the
// "Remember Password" box, OK and Cancel. The widgets are tagged with the
// form's item ids (server 1037, login name 1092, password 1070, remember
// 1093, OK 1, Cancel 2).

#include <QCheckBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <functional>

#include "net/login_form.h"

namespace vantic {

inline constexpr int kLoginHostItem = 1037;
inline constexpr int kLoginNameItem = 1092;
inline constexpr int kLoginPasswordItem = 1070;
inline constexpr int kLoginRememberItem = 1093;

// The dialog bound to a form value; exposed so tests and screenshots can
// reach it without running it modally.
class QtLoginDialog final : public QDialog {
  public:
    using OkCheck = std::function<bool(const LoginForm&)>;
    QtLoginDialog(QWidget* owner, LoginForm& form, OkCheck onOk);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void BuildFields();
    void FocusFirst();
    void PressOk();

    LoginForm& form_;
    OkCheck onOk_;
    QLineEdit* host_ = nullptr;
    QLineEdit* loginName_ = nullptr;
    QLineEdit* password_ = nullptr;
    QCheckBox* remember_ = nullptr;
    QPushButton* ok_ = nullptr;
};

class QtLoginFormView final : public LoginFormView {
  public:
    bool RunLoginForm(WindowId owner, LoginForm& form,
                      const std::function<bool(const LoginForm&)>& onOk) override;
};

}  // namespace vantic
