#include "qt/qt_desktop_notices.h"

#include <QApplication>
#include <QMetaObject>
#include <QThread>

#include "qt/qt_text.h"

#ifdef VANTIC_HAVE_QTDBUS
#include <QDBusConnection>
#include <QDBusMessage>
#include <QVariantMap>
#endif

namespace vantic {

namespace {

constexpr int kShownMs = 10000;

#ifdef VANTIC_HAVE_QTDBUS
// org.freedesktop.Notifications.Notify, sent without waiting for anything:
// an interface object would first ask the service to describe itself, and a
// hung notification daemon would freeze the window for the bus's timeout.
void NotifyOverDBus(const QString& title, const QString& text) {
    QDBusMessage notify = QDBusMessage::createMethodCall("org.freedesktop.Notifications",
                                                         "/org/freedesktop/Notifications",
                                                         "org.freedesktop.Notifications", "Notify");
    notify << QApplication::applicationName() << 0u << QString() << title << text << QStringList()
           << QVariantMap() << kShownMs;
    (void)QDBusConnection::sessionBus().send(notify);
}
#endif

}  // namespace

QtDesktopNotices::QtDesktopNotices() : receiver_(std::make_unique<QObject>()) {}

QtDesktopNotices::~QtDesktopNotices() = default;

void QtDesktopNotices::Notify(const DesktopNotice& notice) {
    if (QThread::currentThread() == receiver_->thread()) {
        Show(notice);
        return;
    }
    QMetaObject::invokeMethod(
        receiver_.get(), [this, notice] { Show(notice); }, Qt::QueuedConnection);
}

void QtDesktopNotices::Show(const DesktopNotice& notice) {
    const QString title = FromText(notice.title);
    const QString text = FromText(notice.text);
    if (QSystemTrayIcon::isSystemTrayAvailable()) {
        if (!tray_) {
            tray_ = std::make_unique<QSystemTrayIcon>(QApplication::windowIcon());
            tray_->setToolTip(QApplication::applicationDisplayName());
            tray_->show();
        }
        tray_->showMessage(title, text, QSystemTrayIcon::Information, kShownMs);
        return;
    }
#ifdef VANTIC_HAVE_QTDBUS
    NotifyOverDBus(title, text);
#endif
}

}  // namespace vantic
