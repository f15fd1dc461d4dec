#include "qt/qt_unit_editor.h"

#include <gtest/gtest.h>

#include <map>

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFocusEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimeEdit>
#include <QTimer>

#include "framework/program_path.h"
#include "qt/qt_window.h"
#include "tests/qt/qt_environment.h"
#include "tests/support/temp_dir.h"

namespace vantic {
namespace {

using testing::Find;

const LocalTime kNow{2026, 12, 7, 9, 41, 0, 1};

// Confirms blue (0x00BBGGRR order) and keeps the custom colours.
class BlueChooser final : public ColourChooser {
  public:
    bool ChooseColour(WindowId /*owner*/, std::uint32_t& colour,
                      CustomColours& /*customs*/) override {
        shown = colour;
        colour = 0xFF0000;
        return true;
    }
    std::uint32_t shown = 0;
};

TEST(QtUnitEditor, FillsFromTheSettingsAndHandsBackTheOperatorsChanges) {
    testing::TempDir dir;
    SetProgramDirectoryForTesting(dir.Path());
    UnitSettings settings;
    settings.Set("notes", "caf\xe9 lobby");
    settings.Set("crawlforeground", "F00");
    settings.Set("crawlbackground", "00ff00");
    settings.Set("RestrictedUpdate", "1");
    settings.Set("RestrictedUpdateStart", "19:05");
    settings.Set("AudioBRandom", "yes");
    settings.Set("Password", "pw9");
    UnitForm form = OpenUnitForm(settings, "9", kNow);

    QString title, notes, password, updateStart, pickText;
    bool playEnabled = true, updateEnabled = false, playEnabledAfter = false, audioB = false,
         masked = false;
    std::uint32_t textPixel = 0, backgroundPixel = 0, textPixelAfter = 0;
    testing::WhenModal<UnitEditorDialog>([&](UnitEditorDialog* dialog) {
        title = dialog->windowTitle();
        notes = Find<QLineEdit>(dialog, "notes")->text();
        auto* passwordBox = Find<QLineEdit>(dialog, "password");
        password = passwordBox->text();
        masked = passwordBox->echoMode() == QLineEdit::Password;
        updateStart = Find<QTimeEdit>(dialog, "updateStart")->text();
        playEnabled = Find<QTimeEdit>(dialog, "playStart")->isEnabled();
        updateEnabled = Find<QTimeEdit>(dialog, "updateStop")->isEnabled();
        audioB = Find<QCheckBox>(dialog, "audioBRandom")->isChecked();
        pickText = Find<QPushButton>(dialog, "pickText")->text();
        textPixel = Find<ColourSwatch>(dialog, "textSwatch")->Surface().Pixel(3, 3);
        backgroundPixel = Find<ColourSwatch>(dialog, "backgroundSwatch")->Surface().Pixel(0, 0);

        Find<QCheckBox>(dialog, "playRestrict")->click();
        playEnabledAfter = Find<QTimeEdit>(dialog, "playStart")->isEnabled();
        Find<QTimeEdit>(dialog, "playStart")->setTime(QTime(7, 30));
        Find<QPushButton>(dialog, "pickText")->click();
        textPixelAfter = Find<ColourSwatch>(dialog, "textSwatch")->Surface().Pixel(3, 3);
        QFocusEvent focusIn(QEvent::FocusIn);
        QApplication::sendEvent(passwordBox, &focusIn);
        QTest::keyClicks(passwordBox, "m0dem");
        Find<QLineEdit>(dialog, "crawlSpeed")->clear();
        QTest::keyClicks(Find<QLineEdit>(dialog, "crawlSpeed"), "x9");  // digits only
        Find<QDialogButtonBox>(dialog, nullptr)->button(QDialogButtonBox::Ok)->click();
    });
    BlueChooser chooser;
    QtUnitEditor editor(chooser);
    const bool ok = editor.RunUnitEditor(kNoWindow, form);
    SetProgramDirectoryForTesting("");
    ASSERT_TRUE(ok);

    EXPECT_EQ(title, "Edit unit number: 9");
    EXPECT_EQ(notes, QString::fromUtf8("caf\xC3\xA9 lobby"));
    EXPECT_EQ(password, "********");
    EXPECT_TRUE(masked);
    EXPECT_EQ(updateStart, "07:05 PM");
    EXPECT_FALSE(playEnabled);
    EXPECT_TRUE(updateEnabled);
    EXPECT_TRUE(playEnabledAfter);
    EXPECT_TRUE(audioB);
    EXPECT_EQ(pickText, "PIck...");
    EXPECT_EQ(textPixel, 0xFF0000u);  // "F00" is too short: the red placeholder
    EXPECT_EQ(backgroundPixel, 0x00FF00u);
    EXPECT_EQ(chooser.shown, 0x0000FFu);
    EXPECT_EQ(textPixelAfter, 0x0000FFu);

    std::map<std::string, std::string> values;
    for (const PlayEntry& entry : UnitFormChanges(form)) {
        values[entry.key] = entry.value;
    }
    EXPECT_EQ(values["notes"], "caf\xe9 lobby");
    EXPECT_EQ(values["crawlforeground"], "0000ff");
    EXPECT_EQ(values["crawlbackground"], "00ff00");
    EXPECT_EQ(values["crawlspeed"], "9");
    EXPECT_EQ(values["Password"], "m0dem");
    EXPECT_EQ(values["RestrictedPlay"], "1");
    EXPECT_EQ(values["RestrictedPlayStart"], "07:30");
    EXPECT_EQ(values["RestrictedUpdateStart"], "19:05");
    EXPECT_EQ(values["AudioBRandom"], "1");

    // Opened again and left with OK at once: the password box was never
    // focused or typed into, so the unit's own password goes back.
    UnitForm untouched = OpenUnitForm(settings, "9", kNow);
    testing::WhenModal<UnitEditorDialog>([](UnitEditorDialog* dialog) {
        Find<QDialogButtonBox>(dialog, nullptr)->button(QDialogButtonBox::Ok)->click();
    });
    ASSERT_TRUE(editor.RunUnitEditor(kNoWindow, untouched));
    EXPECT_FALSE(untouched.passwordChanged);
    values.clear();
    for (const PlayEntry& entry : UnitFormChanges(untouched)) {
        values[entry.key] = entry.value;
    }
    EXPECT_EQ(values["Password"], "pw9");
}

// The swatch puts its surface on screen through the desktop, and reading
// the widget back through it shows the colour inside the frame line.
TEST(QtUnitEditor, SwatchIsDrawnFromItsSurfaceAndReadsBack) {
    ColourSwatch swatch(PackRgb(0x12, 0x34, 0x56));
    QtDisplays screen;
    BitmapSurface shot(screen);
    shot.Create(1, 1);
    ASSERT_TRUE(shot.CaptureWindow(IdOf(&swatch), true));
    EXPECT_EQ(shot.Size(), (ImageSize{48, 20}));
    EXPECT_EQ(shot.Pixel(10, 10), 0x123456u);
    EXPECT_NE(shot.Pixel(0, 0), 0x123456u);
    // Outside a paint event Qt draws nothing into a widget.
    EXPECT_EQ(shot.Draw(0, 0, 0, 0, 0, 0, IdOf(&swatch)), 0);
}

}  // namespace
}  // namespace vantic
