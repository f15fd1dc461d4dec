#include "qt/qt_clip_editor.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimeEdit>
#include <QTimer>
#include <memory>

#include "playlist/entry_fields.h"
#include "qt/qt_form_widgets.h"
#include "qt/qt_window.h"
#include "tests/qt/qt_environment.h"
#include "tests/support/scripted_platform.h"

namespace vantic {
namespace {

using testing::Find;

const LocalTime kToday{2024, 5, 17, 9, 41, 0, 5};

PlayEntry StillImageClip() {
    return EntryFromFields(cpStringArray{"1", "/media/lobby/caf\xC3\xA9.jpg", "12.000000", "",
                                         "42 KB", "Weekends", "loop from 08:00 to 17:30",
                                         "03/05/2026 07:05", "None", "B", "front desk"})
        .value();
}

TEST(QtClipEditor, ShowsTheFormAndReturnsTheOperatorsChanges) {
    testing::ScriptedPlatform platform;
    QWidget owner;
    owner.setGeometry(50, 40, 1000, 700);
    owner.show();
    ClipForm form = OpenClipForm(StillImageClip(), ClipFormMode::Edit, kToday);

    QString title, fileName, firstShown;
    bool durationShown = false, startEnabled = false, restrictAfterTime = true,
         restrictEnabledAfterTime = true, lastDayPickerEnabled = true;
    testing::WhenModal<ClipEditorDialog>([&](ClipEditorDialog* dialog) {
        title = dialog->windowTitle();
        fileName = Find<QLabel>(dialog, "fileName")->text();
        durationShown = Find<QLineEdit>(dialog, "duration")->isVisible() &&
                        Find<QLabel>(dialog, "durationLabel")->isVisible();
        startEnabled = Find<QTimeEdit>(dialog, "start")->isEnabled();
        firstShown = Find<QDateTimeEdit>(dialog, "firstDayPicker")->text();
        lastDayPickerEnabled = Find<QDateTimeEdit>(dialog, "lastDayPicker")->isEnabled();

        Find<QRadioButton>(dialog, "time")->click();
        restrictAfterTime = Find<QCheckBox>(dialog, "restrict")->isChecked();
        restrictEnabledAfterTime = Find<QCheckBox>(dialog, "restrict")->isEnabled();
        Find<QTimeEdit>(dialog, "timePicker")->setTime(QTime(21, 15));
        Find<QRadioButton>(dialog, "audioNone")->click();
        Find<QComboBox>(dialog, "weekDays")->setCurrentIndex(5);
        Find<QLineEdit>(dialog, "notes")->setText(QString::fromUtf8("caf\xC3\xA9 bar"));
        Find<QLineEdit>(dialog, "duration")->setText("30");
        Find<QCheckBox>(dialog, "lastDay")->setChecked(true);
        Find<QDateTimeEdit>(dialog, "lastDayPicker")
            ->setDateTime(QDateTime(QDate(2026, 12, 31), QTime(18, 0)));
        Find<QDialogButtonBox>(dialog, nullptr)->button(QDialogButtonBox::Ok)->click();
    });
    QtClipEditor editor(platform.Files());
    ASSERT_TRUE(editor.RunClipEditor(IdOf(&owner), form));

    EXPECT_EQ(title, "Edit media clip entry");
    EXPECT_EQ(fileName, QString::fromUtf8("caf\xC3\xA9.jpg"));
    EXPECT_TRUE(durationShown);
    EXPECT_TRUE(startEnabled);
    EXPECT_EQ(firstShown, "03/05/26  07:05 AM");
    EXPECT_FALSE(lastDayPickerEnabled);
    EXPECT_FALSE(restrictAfterTime);
    EXPECT_FALSE(restrictEnabledAfterTime);

    PlayEntry clip = StillImageClip();
    ApplyClipFormOk(form, clip);
    EXPECT_EQ(FormatSchedule(clip), "21:15");
    EXPECT_EQ(clip.audio, kAudioNone);
    EXPECT_EQ(clip.day, 5);
    EXPECT_EQ(clip.notes, "caf\xE9 bar");
    EXPECT_EQ(clip.duration, 30);
    EXPECT_EQ(FirstDayOf(clip), (DateTime{3, 5, 2026, 7, 5}));
    EXPECT_EQ(LastDayOf(clip), (DateTime{12, 31, 2026, 18, 0}));
    EXPECT_EQ(clip.path, "/media/lobby/caf\xC3\xA9.jpg");
}

TEST(QtClipEditor, BrowsingToAVideoHidesTheDurationAndCancelKeepsTheForm) {
    testing::ScriptedPlatform platform;
    platform.QueueFileChoice("/media/song.mp3");
    ClipForm form = OpenClipForm(StillImageClip(), ClipFormMode::Edit, kToday);
    form.channel = 3;
    const ClipForm before = form;

    bool durationShownAfter = true, audioEnabled = true;
    QString fileName;
    testing::WhenModal<ClipEditorDialog>([&](ClipEditorDialog* dialog) {
        audioEnabled = Find<QRadioButton>(dialog, "audioA")->isEnabled();
        Find<QPushButton>(dialog, "browse")->click();
        durationShownAfter = Find<QLineEdit>(dialog, "duration")->isVisible();
        fileName = Find<QLabel>(dialog, "fileName")->text();
        EXPECT_EQ(dialog->Form().workingPath, "/media/song.mp3");
        dialog->reject();
    });
    QtClipEditor editor(platform.Files());
    EXPECT_FALSE(editor.RunClipEditor(kNoWindow, form));
    EXPECT_FALSE(audioEnabled);
    EXPECT_FALSE(durationShownAfter);
    EXPECT_EQ(fileName, "song.mp3");
    EXPECT_EQ(form, before);
    EXPECT_EQ(platform.fileDialogs.ShownDialogs().at(0).request.initialPath,
              "/media/lobby/caf\xC3\xA9.jpg");
}

TEST(QtClipEditor, PickersUseTheTwelveHourFormats) {
    testing::ScriptedPlatform platform;
    ClipEditorDialog dialog(OpenClipForm(StillImageClip(), ClipFormMode::Add, kToday),
                            platform.Files(), nullptr);
    EXPECT_EQ(dialog.windowTitle(), "Add a new media clip to this channel");
    EXPECT_EQ(Find<QTimeEdit>(&dialog, "start")->displayFormat(), "hh:mm AP");
    EXPECT_EQ(Find<QTimeEdit>(&dialog, "start")->text(), "08:00 AM");
    EXPECT_EQ(Find<QTimeEdit>(&dialog, "stop")->text(), "05:30 PM");
    EXPECT_EQ(Find<QDateTimeEdit>(&dialog, "lastDayPicker")->displayFormat(), "MM/dd/yy  hh:mm AP");
    EXPECT_EQ(Find<QDateTimeEdit>(&dialog, "lastDayPicker")->text(), "05/17/24  11:59 PM");
    EXPECT_EQ(Find<QComboBox>(&dialog, "weekDays")->count(), 10);
    EXPECT_EQ(Find<QComboBox>(&dialog, "weekDays")->itemText(3), "Sunday");
    EXPECT_EQ(Find<QLineEdit>(&dialog, "frequencyBox")->maxLength(), 2);
    EXPECT_EQ(Find<QLineEdit>(&dialog, "notes")->maxLength(), 100);
    EXPECT_EQ(Find<QLineEdit>(&dialog, "duration")->maxLength(), 6);
    // Unchanged, the form comes back as it went in.
    EXPECT_EQ(dialog.Form(), OpenClipForm(StillImageClip(), ClipFormMode::Add, kToday));
}

// A time typed whole over the selected hour section is the picker's time;
// without AM or PM it stays in the half of the day the picker showed, and
// typing one section works as it always did.
TEST(QtTimePicker, ATimeTypedWholeOverTheHourIsThatTime) {
    struct Case {
        QTime shown;
        const char* typed;
        QTime expected;
    };
    for (const Case& c : {
             Case{QTime(23, 0), "06:00 PM", QTime(18, 0)},
             Case{QTime(9, 15), "6:30 am", QTime(6, 30)},
             Case{QTime(14, 0), "07:45", QTime(19, 45)},
             Case{QTime(8, 0), "12:00 AM", QTime(0, 0)},
             Case{QTime(8, 0), "18:30", QTime(18, 30)},
             Case{QTime(8, 20), "11", QTime(11, 20)},
         }) {
        std::unique_ptr<QTimeEdit> picker(MakeTimePicker("picker"));
        picker->setTime(c.shown);
        picker->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(picker.get()));
        picker->setFocus();
        picker->setSelectedSection(QDateTimeEdit::HourSection);
        QTest::keyClicks(picker.get(), QString(c.typed).left(2));
        QTest::keyClick(picker.get(), Qt::Key_Shift);  // a desktop's, before a colon or capital
        QTest::keyClicks(picker.get(), QString(c.typed).mid(2));
        EXPECT_EQ(picker->text(), picker->locale().toString(c.expected, "hh:mm AP")) << c.typed;
        EXPECT_EQ(picker->time(), c.expected)
            << c.typed << " over " << c.shown.toString().toStdString();
    }
}

}  // namespace
}  // namespace vantic
