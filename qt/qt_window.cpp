#include "qt/qt_window.h"

#include <QVariant>

namespace vantic {

namespace {

constexpr const char* kItemIdProperty = "vanticItemId";

}  // namespace

void SetItemId(QWidget* widget, int itemId) {
    widget->setProperty(kItemIdProperty, itemId);
}

QWidget* FindItem(QWidget* dialog, int itemId) {
    if (dialog == nullptr) {
        return nullptr;
    }
    const auto children = dialog->findChildren<QWidget*>();
    for (QWidget* child : children) {
        const QVariant id = child->property(kItemIdProperty);
        if (id.isValid() && id.toInt() == itemId) {
            return child;
        }
    }
    return nullptr;
}

}  // namespace vantic
