#pragma once

// Everything the logic asks of the operating system's user interface and
// desktop, in one place. The application object holds one Platform; a
// realisation (Qt for the program, scripted for the tests) supplies it.

#include "platform/blocking_calls.h"
#include "platform/clock.h"
#include "platform/desktop_notices.h"
#include "platform/file_dialog.h"
#include "platform/geometry.h"
#include "platform/list_control.h"
#include "platform/mail.h"
#include "platform/message_box.h"
#include "platform/operation_runner.h"
#include "platform/printing.h"
#include "platform/progress_window.h"
#include "platform/shell.h"
#include "platform/timer.h"
#include "platform/window.h"
#include "platform/window_system.h"

namespace vantic {

class Platform {
  public:
    virtual ~Platform() = default;
    virtual MessageBoxes& Messages() = 0;
    virtual FileDialogs& Files() = 0;
    virtual ProgressWindows& Progress() = 0;
    virtual WindowSystem& Windows() = 0;
    virtual Displays& Screens() = 0;
    virtual TimerService& Timers() = 0;
    virtual ShellLauncher& Shell() = 0;
    virtual MailClient& Mail() = 0;
    virtual PrintService& Printer() = 0;
    virtual Clock& Time() = 0;
    // Requests to the server (a test may route them through itself).
    virtual BlockingCalls& Blocking() = 0;
    // The operator's operations, one at a time.
    virtual OperationRunner& Operations() = 0;
    virtual DesktopNotices& Notices() = 0;
};

}  // namespace vantic
