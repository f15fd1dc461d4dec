// vantic-report-pdf IN.rtf OUT.pdf: lays a saved report out onto a PDF
// exactly as the report window prints it, for archiving and for checking
// what printing produces. Prints the number of pages.

#include <QGuiApplication>
#include <QPageSize>
#include <QPdfWriter>
#include <QSaveFile>
#include <cstdio>

#include "core/cpstring.h"
#include "qt/qt_report_print.h"
#include "qt/qt_text.h"

int main(int argc, char* argv[]) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: vantic-report-pdf IN.rtf OUT.pdf\n");
        return 1;
    }
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");  // no window is ever shown
    }
    QGuiApplication application(argc, argv);
    const std::optional<std::string> report = vantic::ReadWholeFile(argv[1]);
    if (!report) {
        std::fprintf(stderr, "vantic-report-pdf: cannot read %s\n", argv[1]);
        return 1;
    }
    // The PDF replaces OUT.pdf only once it is complete.
    QSaveFile out(vantic::FromPath(argv[2]));
    if (!out.open(QIODevice::WriteOnly)) {
        std::fprintf(stderr, "vantic-report-pdf: cannot write %s\n", argv[2]);
        return 1;
    }
    vantic::ReportPrintRun run;
    {
        QPdfWriter pdf(&out);
        pdf.setResolution(600);
        pdf.setPageSize(QPageSize(QPageSize::Letter));
        run = vantic::PrintReportTo(pdf, *report);
    }
    if (run.result != vantic::ReportPrintResult::Printed) {
        out.cancelWriting();
        std::fprintf(stderr, "vantic-report-pdf: %s\n",
                     run.result == vantic::ReportPrintResult::PageTooSmall
                         ? "the page is too small for a line of the report"
                         : "the report could not be laid out");
        return 1;
    }
    if (!out.commit()) {
        std::fprintf(stderr, "vantic-report-pdf: cannot write %s\n", argv[2]);
        return 1;
    }
    std::printf("%d pages\n", run.pages);
    return 0;
}
