#include <gtest/gtest.h>

#include <QApplication>
#include <QPagedPaintDevice>
#include <QPdfWriter>
#include <QPushButton>
#include <QTextBrowser>
#include <QTimer>

#include "qt/qt_platform.h"
#include "qt/qt_report_print.h"
#include "qt/qt_report_window.h"
#include "qt/qt_window.h"
#include "reports/report_window.h"
#include "tests/qt/qt_environment.h"
#include "tests/support/temp_dir.h"

namespace vantic {
namespace {

namespace rw = report_window;

struct Seen {
    QRect viewer;
    QRect done;
    QSize window;
    QString text;
};

Seen Look(QWidget* dialog) {
    const auto* viewer = dialog->findChild<QTextBrowser*>();
    return Seen{viewer->geometry(), FindItem(dialog, rw::kDone)->geometry(), dialog->size(),
                viewer->toPlainText()};
}

TEST(QtReportWindow, ResizingGivesTheGrowthToTheViewerAndKeepsTheButtonsBottomRight) {
    testing::TempDir dir;
    QtPlatform platform;
    QtReportWindowView view;
    WReg settings;
    settings.SetSettingsLocation({dir.Path(), {}});
    Seen before;
    Seen grown;
    QTimer::singleShot(0, [&] {
        QWidget* dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
        before = Look(dialog);
        dialog->resize(dialog->width() + 150, dialog->height() + 90);
        grown = Look(dialog);
        static_cast<QPushButton*>(FindItem(dialog, rw::kDone))->click();
    });
    OpenReportWindow(ReportMode::Activity, ReportContext{platform, settings, view, kNoWindow},
                     [](ReportWindow& window) {
                         window.ShowReportText("{\\rtf1\\ansi \\b Owner\\b0  Caf\\'e9 \\par }");
                         return ReportBuildEnd::Done;
                     });
    EXPECT_TRUE(before.text.startsWith(QString::fromUtf8("Owner Café ")))
        << before.text.toStdString();
    EXPECT_EQ(grown.viewer.topLeft(), before.viewer.topLeft());
    EXPECT_EQ(grown.viewer.size(), before.viewer.size() + QSize(150, 90));
    EXPECT_EQ(grown.done, before.done.translated(150, 90));
    EXPECT_EQ(settings.GetInt("Report_Window_Dim_dx", 0) > before.window.width(), true);
}

TEST(QtReportWindow, APageTooSmallForOneLineStopsPrinting) {
    testing::TempDir dir;
    QPdfWriter pdf(QString::fromStdString(dir.File("tiny.pdf")));
    pdf.setResolution(300);
    pdf.setPageSize(QPageSize(QSizeF(2.05, 2.05), QPageSize::Inch));
    const ReportPrintRun run = PrintReportTo(pdf, "{\\rtf1 \\fs48 Title \\par\\fs24 text \\par }");
    EXPECT_EQ(run.result, ReportPrintResult::PageTooSmall);
}

}  // namespace
}  // namespace vantic
