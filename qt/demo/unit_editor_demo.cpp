// Shows the unit editor on a sample unit, as "Edit Selected Unit..." would.
// "vantic-unit-editor-demo --screenshot FILE" saves a picture of the dialog
// to FILE and quits.

#include <QApplication>
#include <QScreen>
#include <QTimer>

#include "platform/system_clock.h"
#include "qt/qt_colour_chooser.h"
#include "qt/qt_dialogs.h"
#include "qt/qt_style.h"
#include "qt/qt_unit_editor.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    vantic::ApplyProgramStyle(app);
    const QStringList args = app.arguments();
    const int at = args.indexOf("--screenshot");
    const QString shot = at >= 0 && at + 1 < args.size() ? args[at + 1] : QString();

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
    dialog.show();
    vantic::PlaceDialog(dialog, nullptr);
    int failures = 0;
    QTimer::singleShot(500, [&] {
        // With a window manager the frame and title are on the screen too.
        QScreen* screen = dialog.screen();
        const QRect frame = dialog.frameGeometry();
        const QPixmap picture =
            QGuiApplication::platformName() == "xcb" && screen != nullptr
                ? screen->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height())
                : dialog.grab();
        failures = picture.save(shot) ? 0 : 1;
        app.quit();
    });
    app.exec();
    return failures;
}
