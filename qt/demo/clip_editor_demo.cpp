// Shows the clip editor on a sample still-image clip, as "Edit Selected
// Media..." would. "vantic-clip-editor-demo --screenshot FILE" saves a
// picture of the dialog to FILE and quits.

#include <QApplication>
#include <QScreen>
#include <QTimer>

#include "platform/system_clock.h"
#include "playlist/entry_fields.h"
#include "qt/qt_clip_editor.h"
#include "qt/qt_dialogs.h"
#include "qt/qt_style.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    vantic::ApplyProgramStyle(app);
    const QStringList args = app.arguments();
    const int at = args.indexOf("--screenshot");
    const QString shot = at >= 0 && at + 1 < args.size() ? args[at + 1] : QString();

    const vantic::cpStringArray fields{"0",
                                       "/srv/media/lobby/winter_menu.jpg",
                                       "15.000000",
                                       "",
                                       "412 KB",
                                       "Weekdays",
                                       "4/hour from 08:00 to 17:30",
                                       "12/01/2026 06:00",
                                       "None",
                                       "A",
                                       "Front screens, morning only"};
    const vantic::PlayEntry clip = *vantic::EntryFromFields(fields);
    vantic::SystemClock clock;
    vantic::QtFileDialogs files;
    const vantic::ClipForm form =
        vantic::OpenClipForm(clip, vantic::ClipFormMode::Edit, clock.LocalNow());

    if (shot.isEmpty()) {
        vantic::QtClipEditor editor(files);
        vantic::ClipForm edited = form;
        return editor.RunClipEditor(vantic::kNoWindow, edited) ? 0 : 1;
    }
    vantic::ClipEditorDialog dialog(form, files, nullptr);
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
