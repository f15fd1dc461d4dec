#pragma once

// Timers, the shell and printing on Qt.

#include <QString>

#include "platform/printing.h"
#include "platform/shell.h"
#include "platform/timer.h"

class QPrinter;

namespace vantic {

class QtTimers final : public TimerService {
  public:
    [[nodiscard]] std::unique_ptr<Timer> Start(int periodMs, std::function<void()> onTick) override;
};

// Files and addresses go to QDesktopServices; a program with parameters is
// started directly.
class QtShell final : public ShellLauncher {
  public:
    bool Open(const std::string& target, const std::string& parameters) override;
    [[nodiscard]] ProgramStart StartProgram(const std::string& program,
                                            const std::string& parameters) override;
    // The desktop services hand files and addresses to xdg-open.
    [[nodiscard]] std::optional<MissingHelper> Missing() const override;
};

class QtPrinter final : public PrintService {
  public:
    PrintOutcome PrintRichText(WindowId owner, const std::string& richText,
                               const std::string& documentName) override;
};

// Lays out a rich-text document on printer's pages (see qt_report_print.h);
// false when nothing could be printed.
bool PrintRichTextTo(QPrinter& printer, const std::string& richText);

}  // namespace vantic
