#pragma once

// Lays a report's rich text out page by page onto a printer or a PDF: the
// text one inch from every paper edge (or the device's own margin where it
// is wider), the document's page breaks kept as well as those the page
// size forces. The report window's Print and vantic-report-pdf share it.

#include <string>

class QPagedPaintDevice;

namespace vantic {

enum class ReportPrintResult { Printed, PageTooSmall, Failed };

struct ReportPrintRun {
    ReportPrintResult result = ReportPrintResult::Failed;
    int pages = 0;
};

// A page that cannot hold the document's tallest line prints nothing
// (PageTooSmall) rather than spill one line per page without end.
[[nodiscard]] ReportPrintRun PrintReportTo(QPagedPaintDevice& device, const std::string& richText);

}  // namespace vantic
