#pragma once

// How Qt widgets appear to the logic: a widget's WindowId is its address;
// a dialog's items are its descendants tagged with an item id; calls from
// other threads run on the widget's thread while the caller waits.

#include <QMetaObject>
#include <QObject>
#include <QThread>
#include <QWidget>
#include <type_traits>
#include <utility>

#include "platform/window.h"

namespace vantic {

[[nodiscard]] inline WindowId IdOf(QWidget* widget) {
    return reinterpret_cast<WindowId>(widget);
}
[[nodiscard]] inline QWidget* WidgetOf(WindowId window) {
    return reinterpret_cast<QWidget*>(window);
}

// Tags a widget as item itemId of the dialog it sits in.
void SetItemId(QWidget* widget, int itemId);
// The descendant of dialog tagged itemId, or null.
[[nodiscard]] QWidget* FindItem(QWidget* dialog, int itemId);

// Runs call on context's thread: directly when already there, otherwise
// queued to it, blocking until it has run. The context's thread must be
// pumping messages, or the caller waits until it does.
template <class Call>
auto RunOnThreadOf(QObject* context, Call&& call) -> decltype(call()) {
    using Result = decltype(call());
    if (QThread::currentThread() == context->thread()) {
        return call();
    }
    if constexpr (std::is_void_v<Result>) {
        QMetaObject::invokeMethod(context, std::forward<Call>(call), Qt::BlockingQueuedConnection);
    } else {
        Result result{};
        QMetaObject::invokeMethod(
            context, [&result, &call] { result = call(); }, Qt::BlockingQueuedConnection);
        return result;
    }
}

}  // namespace vantic
