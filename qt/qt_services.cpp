#include "qt/qt_services.h"

#include "qt/qt_blocking_calls.h"

#include <QDesktopServices>
#include <QPrintDialog>
#include <QPrinter>
#include <QTimer>
#include <QUrl>

#include "platform/spawn.h"
#include "platform/xdg_desktop.h"
#include "qt/qt_report_print.h"
#include "qt/qt_text.h"
#include "qt/qt_window.h"

namespace vantic {

namespace {

class QtTimer final : public Timer {
  public:
    QtTimer(int periodMs, std::function<void()> onTick) {
        timer_.setInterval(periodMs);
        QObject::connect(&timer_, &QTimer::timeout, [tick = std::move(onTick)] { tick(); });
        timer_.start();
    }

  private:
    QTimer timer_;
};

}  // namespace

std::unique_ptr<Timer> QtTimers::Start(int periodMs, std::function<void()> onTick) {
    return std::make_unique<QtTimer>(periodMs, std::move(onTick));
}

bool QtShell::Open(const std::string& target, const std::string& parameters) {
    return OnUiThread([&]() -> bool {
        if (target.empty()) {
            return false;
        }
        if (!parameters.empty()) {
            std::vector<std::string> argv{target};
            for (std::string& piece : SplitParameters(parameters)) {
                argv.push_back(std::move(piece));
            }
            return SpawnDetached(argv);
        }
        return QDesktopServices::openUrl(QUrl::fromUserInput(FromPath(target)));
    });
}

std::optional<MissingHelper> QtShell::Missing() const {
    return MissingXdgOpen();
}

// A program needs no desktop services, so no hop to the window's thread.
ProgramStart QtShell::StartProgram(const std::string& program, const std::string& parameters) {
    return SpawnProgram(program, parameters);
}

bool PrintRichTextTo(QPrinter& printer, const std::string& richText) {
    printer.setFullPage(false);
    return PrintReportTo(printer, richText).result == ReportPrintResult::Printed;
}

PrintOutcome QtPrinter::PrintRichText(WindowId owner, const std::string& richText,
                                      const std::string& documentName) {
    return AskOnUiThread(PrintOutcome::Cancelled, [&]() -> PrintOutcome {
        QPrinter printer(QPrinter::HighResolution);
        printer.setDocName(FromText(documentName));
        printer.setCopyCount(1);
        QPrintDialog dialog(&printer, WidgetOf(owner));
        dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
        dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
        if (dialog.exec() != QDialog::Accepted) {
            return PrintOutcome::Cancelled;
        }
        if (!printer.isValid()) {
            return PrintOutcome::Failed;
        }
        if (!PrintRichTextTo(printer, richText) || printer.printerState() == QPrinter::Error) {
            return PrintOutcome::Failed;
        }
        return PrintOutcome::Printed;
    });
}

}  // namespace vantic
