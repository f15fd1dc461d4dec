#include "qt/qt_login_form.h"

#include "qt/qt_blocking_calls.h"

#include <QFocusEvent>
#include <QFormLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "qt/qt_dialogs.h"
#include "qt/qt_form_widgets.h"
#include "qt/qt_text.h"
#include "qt/qt_window.h"

namespace vantic {

namespace {

constexpr int kFieldWidth = 240;

QLineEdit* NewField(QWidget* parent, int itemId, const std::string& text, std::size_t limit) {
    auto* field = new QLineEdit(parent);
    field->setMaxLength(static_cast<int>(limit));
    field->setText(FromText(text));
    field->setMinimumWidth(kFieldWidth);
    SetItemId(field, itemId);
    return field;
}

}  // namespace

QtLoginDialog::QtLoginDialog(QWidget* owner, LoginForm& form, OkCheck onOk)
    : QDialog(owner), form_(form), onOk_(std::move(onOk)) {
    setWindowTitle("Please Enter Login Info");
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    BuildFields();
    // Connected once the fields hold their first texts, so that only the
    // operator's changes (and the clearing on focus) count.
    connect(password_, &QLineEdit::textChanged, this,
            [this](const QString& text) { EditPasswordField(form_, ToText(text)); });
    password_->installEventFilter(this);
    FocusFirst();
}

void QtLoginDialog::BuildFields() {
    host_ = NewField(this, kLoginHostItem, form_.host, kHostFieldLimit);
    loginName_ = NewField(this, kLoginNameItem, form_.loginName, kLoginNameFieldLimit);
    password_ = NewField(this, kLoginPasswordItem, form_.password, kPasswordFieldLimit);
    password_->setEchoMode(QLineEdit::Password);
    remember_ = new QCheckBox("Remember Password", this);
    remember_->setChecked(form_.rememberPassword);
    SetItemId(remember_, kLoginRememberItem);

    auto* fields = new QFormLayout;
    fields->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
    fields->setFieldGrowthPolicy(QFormLayout::ExpandingFieldsGrow);
    fields->addRow("Server Name or IP Address:", host_);
    fields->addRow("Login Name:", loginName_);
    fields->addRow("Password:", password_);
    fields->addRow(QString(), remember_);

    auto* contact = new QLabel("Please contact Brindle if you do not have this information.", this);
    contact->setWordWrap(true);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addSpacing(4);
    layout->addWidget(contact);
    layout->addSpacing(4);
    ok_ = AddOkCancel(*this, *layout, [this] { PressOk(); });
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void QtLoginDialog::FocusFirst() {
    switch (form_.focus) {
        case LoginFormFocus::Host:
            host_->setFocus();
            break;
        case LoginFormFocus::LoginName:
            loginName_->setFocus();
            break;
        case LoginFormFocus::Password:
            password_->setFocus();
            break;
        case LoginFormFocus::Ok:
            ok_->setFocus();
            break;
    }
}

// The password field clears whenever it takes the focus, except when a
// context menu of its own gives the focus back.
bool QtLoginDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == password_ && event->type() == QEvent::FocusIn &&
        static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason) {
        FocusPasswordField(form_);
        password_->clear();
    }
    return QDialog::eventFilter(watched, event);
}

void QtLoginDialog::PressOk() {
    form_.host = ToText(host_->text());
    form_.loginName = ToText(loginName_->text());
    form_.rememberPassword = remember_->isChecked();
    if (onOk_ && onOk_(form_)) {
        accept();
    }
}

bool QtLoginFormView::RunLoginForm(WindowId owner, LoginForm& form,
                                   const std::function<bool(const LoginForm&)>& onOk) {
    return AskOnUiThread(false, [&]() -> bool {
        QtLoginDialog dialog(WidgetOf(owner), form, onOk);
        PlaceDialog(dialog, WidgetOf(owner));
        return dialog.exec() == QDialog::Accepted;
    });
}

}  // namespace vantic
