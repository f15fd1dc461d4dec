#pragma once

// The platform of the real program: Qt 6 Widgets for everything on screen,
// the POSIX services for mail and time. Create it after the QApplication
// and on its thread.

#include "platform/platform.h"
#include "platform/system_clock.h"
#include "platform/xdg_desktop.h"
#include "qt/qt_desktop_notices.h"
#include "qt/qt_dialogs.h"
#include "qt/qt_operations.h"
#include "qt/qt_progress.h"
#include "qt/qt_services.h"
#include "qt/qt_window_system.h"

namespace vantic {

class QtPlatform final : public Platform {
  public:
    MessageBoxes& Messages() override { return messages_; }
    FileDialogs& Files() override { return files_; }
    ProgressWindows& Progress() override { return progress_; }
    WindowSystem& Windows() override { return windows_; }
    Displays& Screens() override { return displays_; }
    TimerService& Timers() override { return timers_; }
    ShellLauncher& Shell() override { return shell_; }
    MailClient& Mail() override { return mail_; }
    PrintService& Printer() override { return printer_; }
    Clock& Time() override { return clock_; }
    BlockingCalls& Blocking() override { return blocking_; }
    OperationRunner& Operations() override { return operations_; }
    DesktopNotices& Notices() override { return notices_; }

  private:
    QtMessageBoxes messages_;
    QtFileDialogs files_;
    QtProgressWindows progress_;
    QtWindowSystem windows_;
    QtDisplays displays_;
    QtTimers timers_;
    QtShell shell_;
    XdgMail mail_;
    QtPrinter printer_;
    SystemClock clock_;
    DirectCalls blocking_;
    QtOperations operations_;
    QtDesktopNotices notices_;
};

}  // namespace vantic
