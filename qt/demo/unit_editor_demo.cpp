// Shows the unit editor on a sample unit, as "Edit Selected Unit..." would.
// "vantic-unit-editor-demo --screenshot FILE" saves a picture of the dialog
// to FILE and quits.

#include <QApplication>

#include "platform/system_clock.h"
#include "qt/demo/demo_screenshot.h"
#include "qt/qt_colour_chooser.h"
#include "qt/qt_style.h"
#include "qt/qt_unit_editor.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    vantic::ApplyProgramStyle(app);
    const QString shot = vantic::ScreenshotPath(app.arguments());

    vantic::UnitSettings settings;
    settings.Set("notes", "Caf\xe9 front window");
    settings.Set("location1", "12 Harbour Street");
    settings.Set("location2", "Ground floor, left of the counter");
    settings.Set("crawl", "1");
    settings.Set("crawlspeed", "7");
    settings.Set("crawlbackground", "203a60");
    settings.Set("RestrictedPlay", "1");
    settings.Set("RestrictedPlayStart", "07:30");
    settings.Set("RestrictedPlayStop", "22:15");
    settings.Set("VideoRandom", "yes");
    vantic::SystemClock clock;
    const vantic::UnitForm form = vantic::OpenUnitForm(settings, "1012", clock.LocalNow());
    vantic::QtColourChooser chooser;

    if (shot.isEmpty()) {
        vantic::QtUnitEditor editor(chooser);
        vantic::UnitForm edited = form;
        return editor.RunUnitEditor(vantic::kNoWindow, edited) ? 0 : 1;
    }
    vantic::UnitEditorDialog dialog(form, chooser, nullptr);
    return vantic::SaveDialogScreenshot(app, dialog, shot);
}
