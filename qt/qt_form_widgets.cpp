#include "qt/qt_form_widgets.h"

#include <QRegularExpression>
#include <QRegularExpressionValidator>

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

}  // namespace vantic
