#include "qt/qt_form_widgets.h"

#include <QDialogButtonBox>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <utility>

#include "qt/qt_window.h"

namespace vantic {

QTimeEdit* MakeTimePicker(const QString& name) {
    auto* picker = new QTimeEdit;
    picker->setObjectName(name);
    picker->setDisplayFormat("hh:mm AP");
    return picker;
}

QLineEdit* MakeDigitsBox(const QString& name, int maxLength) {
    auto* box = new QLineEdit;
    box->setObjectName(name);
    box->setMaxLength(maxLength);
    box->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]*"), box));
    return box;
}

QPushButton* AddOkCancel(QDialog& dialog, QBoxLayout& layout, std::function<void()> pressOk) {
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
    ok->setDefault(true);
    SetItemId(ok, 1);
    SetItemId(buttons->button(QDialogButtonBox::Cancel), 2);
    QObject::connect(ok, &QPushButton::clicked, &dialog, std::move(pressOk));
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout.addWidget(buttons);
    return ok;
}

}  // namespace vantic
