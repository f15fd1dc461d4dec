#pragma once

// Desktop notices on Qt: the balloon of the program's tray icon where the
// desktop has a system tray, else the freedesktop notification service
// over D-Bus where Qt was built with it, else nothing. Notices from worker
// threads are shown from the user-interface thread.

#include <QObject>
#include <QPointer>
#include <QSystemTrayIcon>
#include <memory>

#include "platform/desktop_notices.h"

namespace vantic {

class QtDesktopNotices final : public DesktopNotices {
  public:
    // Create on the user-interface thread.
    QtDesktopNotices();
    ~QtDesktopNotices() override;
    QtDesktopNotices(const QtDesktopNotices&) = delete;
    QtDesktopNotices& operator=(const QtDesktopNotices&) = delete;

    void Notify(const DesktopNotice& notice) override;

  private:
    void Show(const DesktopNotice& notice);

    // Lives on the user-interface thread; notices queued to it die with it.
    std::unique_ptr<QObject> receiver_;
    std::unique_ptr<QSystemTrayIcon> tray_;
};

}  // namespace vantic
