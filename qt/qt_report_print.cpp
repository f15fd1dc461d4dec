#include "qt/qt_report_print.h"

#include <QAbstractTextDocumentLayout>
#include <QMarginsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

#include "platform/rich_text.h"

namespace vantic {

namespace {

// The height of the tallest line once the document is laid out.
qreal TallestLine(const QTextDocument& document) {
    qreal tallest = 0;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const QTextLayout* layout = block.layout();
        for (int i = 0; layout != nullptr && i < layout->lineCount(); ++i) {
            tallest = std::max(tallest, layout->lineAt(i).height());
        }
    }
    return tallest;
}

}  // namespace

ReportPrintRun PrintReportTo(QPagedPaintDevice& device, const std::string& richText) {
    // Margins are measured from the paper's edge; a device that cannot print
    // that close keeps its own minimum.
    device.setPageMargins(QMarginsF(1, 1, 1, 1), QPageLayout::Inch);
    const QRect area = device.pageLayout().paintRectPixels(device.logicalDpiX());
    if (area.width() < 1 || area.height() < 1) {
        return {ReportPrintResult::PageTooSmall, 0};
    }
    QTextDocument document;
    document.documentLayout()->setPaintDevice(&device);
    document.setDocumentMargin(0);
    document.setHtml(QString::fromLatin1(RichTextToHtml(richText)));
    document.setPageSize(QSizeF(area.size()));
    if (TallestLine(document) > area.height()) {
        return {ReportPrintResult::PageTooSmall, 0};
    }
    const int pages = document.pageCount();
    QPainter painter;
    if (!painter.begin(&device)) {
        return {ReportPrintResult::Failed, 0};
    }
    const qreal height = area.height();
    for (int page = 0; page < pages; ++page) {
        if (page > 0 && !device.newPage()) {
            return {ReportPrintResult::Failed, page};
        }
        painter.save();
        painter.translate(0, -page * height);
        // The band stops short of the next page's first line, which starts
        // exactly at the page's end and would otherwise be drawn clipped here.
        document.drawContents(&painter, QRectF(0, page * height, area.width(), height - 1));
        painter.restore();
    }
    return {painter.end() ? ReportPrintResult::Printed : ReportPrintResult::Failed, pages};
}

}  // namespace vantic
