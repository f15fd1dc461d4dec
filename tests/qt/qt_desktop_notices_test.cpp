#ifdef VANTIC_HAVE_QTDBUS

#include <gtest/gtest.h>

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <QSystemTrayIcon>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "qt/qt_desktop_notices.h"
#include "tests/qt/qt_environment.h"

namespace vantic {
namespace {

// A session bus of this test alone, made the process's session bus before
// anything asks for it.
class PrivateSessionBus {
  public:
    PrivateSessionBus() {
        FILE* daemon = popen("dbus-daemon --session --fork --print-address=1 --print-pid=1", "r");
        if (daemon == nullptr) {
            return;
        }
        char line[512];
        if (std::fgets(line, sizeof line, daemon) != nullptr) {
            address_ = line;
            address_.erase(address_.find_last_not_of("\n") + 1);
        }
        if (std::fgets(line, sizeof line, daemon) != nullptr) {
            pid_ = std::atoi(line);
        }
        (void)pclose(daemon);
        setenv("DBUS_SESSION_BUS_ADDRESS", address_.c_str(), 1);
    }
    ~PrivateSessionBus() {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
        }
    }
    PrivateSessionBus(const PrivateSessionBus&) = delete;
    PrivateSessionBus& operator=(const PrivateSessionBus&) = delete;

    [[nodiscard]] bool Started() const { return pid_ > 0 && !address_.empty(); }
    [[nodiscard]] QString Address() const { return QString::fromStdString(address_); }

  private:
    std::string address_;
    pid_t pid_ = 0;
};

// The desktop's notification service as far as Notify goes: it keeps the
// arguments of every call and answers with a notification id.
class NotificationService final : public QDBusVirtualObject {
  public:
    QString introspect(const QString&) const override { return {}; }
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
        if (message.member() != "Notify") {
            return false;
        }
        calls.push_back(message.arguments());
        (void)connection.send(message.createReply(QVariant::fromValue(1u)));
        return true;
    }

    std::vector<QList<QVariant>> calls;
};

// Without a system tray (the offscreen desktop has none), a notice raised
// on a worker thread reaches the notification service as one Notify call,
// its 8-bit text read as the rest of the program reads it.
TEST(QtDesktopNoticesTest, WithoutATrayANoticeFromAWorkerGoesToTheNotificationService) {
    PrivateSessionBus bus;
    ASSERT_TRUE(bus.Started()) << "dbus-daemon is needed";
    ASSERT_FALSE(QSystemTrayIcon::isSystemTrayAvailable());
    QDBusConnection service = QDBusConnection::connectToBus(bus.Address(), "notifications");
    NotificationService notifications;
    ASSERT_TRUE(service.registerVirtualObject("/org/freedesktop/Notifications", &notifications));
    ASSERT_TRUE(service.registerService("org.freedesktop.Notifications"));

    QtDesktopNotices notices;
    std::thread worker([&notices] {
        notices.Notify({"Unit status changed", "Unit 4 (Caf\xE9): Check Network Connection"});
    });
    worker.join();
    EXPECT_TRUE(testing::PumpUntil([&] { return !notifications.calls.empty(); }, 10000));

    ASSERT_EQ(notifications.calls.size(), 1u);
    const QList<QVariant>& call = notifications.calls[0];
    ASSERT_EQ(call.size(), 8);
    EXPECT_EQ(call[3].toString(), "Unit status changed");
    EXPECT_EQ(call[4].toString(), QString::fromUtf8("Unit 4 (Café): Check Network Connection"));
    QDBusConnection::disconnectFromBus("notifications");
}

}  // namespace
}  // namespace vantic

#endif  // VANTIC_HAVE_QTDBUS
