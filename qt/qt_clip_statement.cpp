#include "qt/qt_clip_statement.h"

#include <QAbstractTextDocumentLayout>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTextDocument>

#include "qt/qt_play_chart.h"
#include "qt/qt_text.h"

namespace vantic {

namespace {

// The chart takes this share of a page's height.
constexpr qreal kChartShare = 0.42;

QString Escaped(std::string_view text) {
    return FromText(text).toHtmlEscaped();
}

QString Cell(const QString& text, bool number = false) {
    return QString("<td%1>%2</td>").arg(number ? " align=\"right\"" : "", text);
}

QString UnitRows(const ClipStatement& statement) {
    QString rows;
    for (const StatementUnit& unit : statement.units) {
        rows += "<tr>" + Cell(Escaped(ChartUnitText(unit.unit))) + Cell(Escaped(unit.notes)) +
                Cell(QString::number(unit.daysPlayed), true) +
                Cell(QString::number(unit.plays), true) + "</tr>";
    }
    rows += "<tr><td><b>Total</b></td><td></td>" +
            Cell("<b>" + QString::number(statement.daysPlayed) + "</b>", true) +
            Cell("<b>" + QString::number(statement.plays) + "</b>", true) + "</tr>";
    return rows;
}

}  // namespace

QString StatementHtml(const ClipStatement& statement) {
    return "<h1>" + Escaped(kStatementTitle) + "</h1>" + "<p>Clip file: <b>" +
           Escaped(statement.clip.clipFile) + "</b><br>" +
           "Content name: " + Escaped(statement.clip.contentName) + "<br>" +
           "Days: " + Escaped(ChartRangeText(statement.range)) + "</p>" +
           "<table border=\"1\" cellspacing=\"0\" cellpadding=\"4\" width=\"100%\">"
           "<tr><th align=\"left\">Unit</th><th align=\"left\">Notes</th>"
           "<th align=\"right\">Days played</th><th align=\"right\">Plays</th></tr>" +
           UnitRows(statement) + "</table>" + "<p>Generated: " + Escaped(statement.generated) +
           "</p>";
}

bool WriteStatementPdf(const ClipStatement& statement, const QString& path) {
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly)) {
        return false;
    }
    bool drawn = false;
    {
        QPdfWriter pdf(&out);
        pdf.setTitle(FromText(kStatementTitle) + " - " + FromText(statement.clip.clipFile));
        pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait,
                                      QMarginsF(1, 1, 1, 1), QPageLayout::Inch));
        const QRect area = pdf.pageLayout().paintRectPixels(pdf.resolution());
        QTextDocument document;
        document.documentLayout()->setPaintDevice(&pdf);
        document.setDocumentMargin(0);
        // Without ligatures the PDF's text reads back letter for letter
        // ("file", not a ligature glyph), as copying and searching expect.
        QFont font = document.defaultFont();
        font.setStyleStrategy(QFont::PreferNoShaping);
        document.setDefaultFont(font);
        document.setHtml(StatementHtml(statement));
        document.setPageSize(QSizeF(area.size()));
        QPainter painter;
        if (painter.begin(&pdf)) {
            drawn = true;
            const int pages = document.pageCount();
            for (int page = 0; page < pages && drawn; ++page) {
                drawn = page == 0 || pdf.newPage();
                painter.save();
                painter.translate(0, -page * area.height());
                document.drawContents(&painter,
                                      QRectF(0, page * area.height(), area.width(), area.height()));
                painter.restore();
            }
            // The chart follows the text, on a page of its own when the last
            // page has no room left for it.
            const qreal used = document.size().height() - (pages - 1) * area.height();
            const qreal chartHeight = area.height() * kChartShare;
            qreal top = used + area.height() * 0.03;
            if (top + chartHeight > area.height()) {
                drawn = drawn && pdf.newPage();
                top = 0;
            }
            const qreal width =
                std::min<qreal>(area.width(), chartHeight * kChartImageWidth / kChartImageHeight);
            PaintPlayChart(painter, QRectF(0, top, width, chartHeight), statement.chart,
                           ChartStyle::StackedBars);
            drawn = painter.end() && drawn;
        }
    }
    if (!drawn) {
        out.cancelWriting();
        return false;
    }
    return out.commit();
}

}  // namespace vantic
