#include "qt/qt_date_range_form.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDateEdit>
#include <QPushButton>
#include <QTimer>

#include "qt/qt_platform.h"
#include "qt/qt_report_window.h"
#include "qt/qt_window.h"
#include "reports/report_window.h"
#include "tests/qt/qt_environment.h"
#include "tests/support/temp_dir.h"

namespace vantic {
namespace {

using testing::WhenModal;

// The picker's date changed as an operator would, then the form closed.
bool PickAndClose(int closeButton, DateRangeForm& form) {
    WhenModal([closeButton](QDialog* dialog) {
        EXPECT_EQ(dialog->windowTitle(), "Date Range for Report");
        auto* first = qobject_cast<QDateEdit*>(FindItem(dialog, kFirstDayItem));
        auto* close = qobject_cast<QPushButton*>(FindItem(dialog, closeButton));
        ASSERT_TRUE(first && close && FindItem(dialog, kLastDayItem));
        first->setDate(first->date().addDays(-3));
        close->click();
    });
    QtDateRangeFormView view;
    return view.RunDateRangeForm(kNoWindow, form);
}

TEST(QtDateRangeForm, OkAndCancelBothHandBackThePickedDates) {
    DateRangeForm form{{2026, 3, 2}, {2026, 3, 31}};
    EXPECT_TRUE(PickAndClose(1, form));
    EXPECT_EQ(form.first, (ReportDate{2026, 2, 27}));
    EXPECT_EQ(form.last, (ReportDate{2026, 3, 31}));
    EXPECT_FALSE(PickAndClose(2, form));
    EXPECT_EQ(form.first, (ReportDate{2026, 2, 24}));
}

TEST(QtReportWindowExport, OnlyTheStatusReportHasExportCsvAfterSave) {
    testing::TempDir dir;
    QtPlatform platform;
    QtReportWindowView view;
    WReg settings;
    settings.SetSettingsLocation({dir.Path(), {}});
    for (const ReportMode mode : {ReportMode::Status, ReportMode::Activity}) {
        bool hasExport = false;
        bool afterSave = false;
        QTimer::singleShot(0, [&] {
            auto* dialog = dynamic_cast<QtReportDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            QWidget* exportButton = dialog->Button(ReportButton::ExportCsv);
            hasExport = exportButton != nullptr;
            afterSave = hasExport && exportButton->x() > dialog->Button(ReportButton::Save)->x() &&
                        exportButton->x() < dialog->Button(ReportButton::Done)->x();
            dialog->Button(ReportButton::Done)->click();
        });
        OpenReportWindow(mode, ReportContext{platform, settings, view, kNoWindow}, {});
        EXPECT_EQ(hasExport, mode == ReportMode::Status);
        EXPECT_EQ(afterSave, mode == ReportMode::Status);
    }
}

}  // namespace
}  // namespace vantic
