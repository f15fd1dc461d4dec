#pragma once

// The platform on a text console, for command-line front ends that run the
// program's own operations: every message box is printed as its caption
// and text (questions read their answer from the input, or take Yes when
// told to), progress dialogs print their status lines, and an interrupt
// (Ctrl+C) presses Cancel on the open progress dialog at its next update.
// There are no windows, file dialogs, timers, shell, mail, printer or desktop
// notices: those answer as if the user had cancelled, notices go nowhere.

#include <csignal>
#include <iosfwd>
#include <memory>
#include <vector>

#include "platform/platform.h"
#include "platform/system_clock.h"

namespace vantic {

// Asks the open progress dialog to cancel at its next update. Safe to call
// from a signal handler.
void RequestConsoleCancel();

class ConsoleMessageBoxes final : public MessageBoxes {
  public:
    // assumeYes answers every question Yes without reading.
    ConsoleMessageBoxes(std::ostream& out, std::istream& in, bool assumeYes)
        : out_(out), in_(in), assumeYes_(assumeYes) {}
    MessageAnswer Show(const Message& message) override;
    MessageAnswer ShowWithDetails(const Message& message, const std::string& details) override;

  private:
    [[nodiscard]] MessageAnswer ReadAnswer(MessageButtons buttons);

    std::ostream& out_;
    std::istream& in_;
    bool assumeYes_ = false;
};

class ConsoleProgressWindow;

class ConsoleProgressWindows final : public ProgressWindows {
  public:
    explicit ConsoleProgressWindows(std::ostream& out) : out_(out) {}
    [[nodiscard]] std::unique_ptr<ProgressWindow> Create(WindowId owner, int layoutId,
                                                         ProgressButtonHandler onButton) override;
    // Presses Cancel on every open dialog.
    void CancelOpen();
    void Forget(ConsoleProgressWindow* window);

  private:
    using SignalHandler = void (*)(int);

    std::ostream& out_;
    std::vector<ConsoleProgressWindow*> open_;
    SignalHandler previousInterrupt_ = SIG_DFL;
};

// The message pump: takes a pending interrupt to the progress dialogs.
class ConsoleWindows final : public WindowSystem {
  public:
    explicit ConsoleWindows(ConsoleProgressWindows& progress) : progress_(progress) {}
    void PumpMessages() override;
    void SetEnabled(WindowId /*window*/, bool /*enabled*/) override {}
    [[nodiscard]] bool IsEnabled(WindowId /*window*/) const override { return true; }
    [[nodiscard]] std::unique_ptr<PlacedWindow> Placement(WindowId /*window*/) override {
        return nullptr;
    }

  private:
    ConsoleProgressWindows& progress_;
};

class ConsolePlatform final : public Platform {
  public:
    // Messages and progress go to out; answers come from in.
    ConsolePlatform(std::ostream& out, std::istream& in, bool assumeYes);
    ~ConsolePlatform() override;

    MessageBoxes& Messages() override { return messages_; }
    FileDialogs& Files() override;
    ProgressWindows& Progress() override { return progress_; }
    WindowSystem& Windows() override { return windows_; }
    Displays& Screens() override;
    TimerService& Timers() override;
    ShellLauncher& Shell() override;
    MailClient& Mail() override;
    PrintService& Printer() override;
    Clock& Time() override { return clock_; }
    // A console has no windows to keep alive: requests just run.
    BlockingCalls& Blocking() override { return direct_; }
    OperationRunner& Operations() override { return operations_; }
    DesktopNotices& Notices() override;

  private:
    struct Absent;

    ConsoleMessageBoxes messages_;
    ConsoleProgressWindows progress_;
    ConsoleWindows windows_;
    SystemClock clock_;
    DirectCalls direct_;
    InlineOperations operations_;
    std::unique_ptr<Absent> absent_;
};

}  // namespace vantic
