// Shows the clip editor on a sample still-image clip, as "Edit Selected
// Media..." would. "vantic-clip-editor-demo --screenshot FILE" saves a
// picture of the dialog to FILE and quits.

#include <QApplication>

#include "platform/system_clock.h"
#include "playlist/entry_fields.h"
#include "qt/demo/demo_screenshot.h"
#include "qt/qt_clip_editor.h"
#include "qt/qt_dialogs.h"
#include "qt/qt_style.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    vantic::ApplyProgramStyle(app);
    const QString shot = vantic::ScreenshotPath(app.arguments());

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
    return vantic::SaveDialogScreenshot(app, dialog, shot);
}
