#pragma once

// The application object's views on Qt.

#include "app/app.h"
#include "qt/qt_about.h"
#include "qt/qt_admin_forms.h"
#include "qt/qt_auto_updates.h"
#include "qt/qt_clip_editor.h"
#include "qt/qt_colour_chooser.h"
#include "qt/qt_confirm_form.h"
#include "qt/qt_date_range_form.h"
#include "qt/qt_day_plan.h"
#include "qt/qt_instance.h"
#include "qt/qt_login_form.h"
#include "qt/qt_main_window.h"
#include "qt/qt_pictures.h"
#include "qt/qt_play_chart_window.h"
#include "qt/qt_report_window.h"
#include "qt/qt_splash.h"
#include "qt/qt_unit_editor.h"

namespace vantic {

class QtAppViews final : public AppViews {
  public:
    // The clip editor's Browse asks dialogs for the media file.
    explicit QtAppViews(FileDialogs& dialogs) : clipEditor_(dialogs), unitEditor_(colours_) {}

    MainWindowView& MainWindow() override { return mainWindow_; }
    SplashView& Splash() override { return splash_; }
    PictureSource& Pictures() override { return pictures_; }
    AboutView& About() override { return about_; }
    InstanceGuard& Instances() override { return instances_; }
    LoginFormView& LoginForm() override { return loginForm_; }
    ClipFormView& ClipEditor() override { return clipEditor_; }
    ConfirmFormView& Confirmation() override { return confirmation_; }
    AdminFormsView& AdminForms() override { return adminForms_; }
    AutoUpdateFormView& AutoUpdates() override { return autoUpdates_; }
    UnitFormView& UnitEditor() override { return unitEditor_; }
    ReportWindowView& ReportWindows() override { return reportWindow_; }
    DateRangeFormView& ReportDates() override { return reportDates_; }
    DayPlanView& DayPlan() override { return dayPlan_; }
    PlayChartView* PlayCharts() override { return &playCharts_; }

    [[nodiscard]] QtMainWindowView& QtMainWindow() { return mainWindow_; }

  private:
    QtInstanceGuard instances_;
    QtMainWindowView mainWindow_;
    QtSplashView splash_;
    QtPictures pictures_;
    QtAboutView about_;
    QtLoginFormView loginForm_;
    QtClipEditor clipEditor_;
    QtConfirmFormView confirmation_;
    QtAdminFormsView adminForms_;
    QtAutoUpdatesView autoUpdates_;
    QtColourChooser colours_;
    QtUnitEditor unitEditor_;
    QtReportWindowView reportWindow_;
    QtDateRangeFormView reportDates_;
    QtDayPlanView dayPlan_;
    QtPlayChartView playCharts_;
};

}  // namespace vantic
