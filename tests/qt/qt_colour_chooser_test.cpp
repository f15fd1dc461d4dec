#include "qt/qt_colour_chooser.h"

#include <gtest/gtest.h>

#include <QColorDialog>
#include <QDialogButtonBox>
#include <QPushButton>

#include "tests/qt/qt_environment.h"

namespace vantic {
namespace {

// The chooser speaks 0x00BBGGRR (red in the lowest byte), Qt red, green,
// blue: the preset and the custom colours must arrive with red and blue in
// their places, and the choice and the operator's custom colour come back
// the same way.
TEST(QtColourChooser, PresetsTheColourAndCustomsAndHandsBackTheChoice) {
    CustomColours customs{};
    for (std::size_t i = 0; i < customs.size(); ++i) {
        customs[i] = 0x000080u | (static_cast<std::uint32_t>(i) << 16);  // red 0x80, blue i
    }
    std::uint32_t colour = 0x563412u;  // red 0x12, green 0x34, blue 0x56
    QColor shown;
    std::vector<QColor> shownCustoms;
    testing::WhenModal<QColorDialog>([&](QColorDialog* dialog) {
        shown = dialog->currentColor();
        for (int i = 0; i < QColorDialog::customCount(); ++i) {
            shownCustoms.push_back(QColorDialog::customColor(i));
        }
        dialog->setCurrentColor(QColor(0xAA, 0xBB, 0xCC));
        QColorDialog::setCustomColor(3, QColor(1, 2, 3));
        dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
    });
    const CustomColours before = customs;
    ASSERT_TRUE(QtColourChooser().ChooseColour(kNoWindow, colour, customs));

    EXPECT_EQ(shown, QColor(0x12, 0x34, 0x56));
    ASSERT_EQ(shownCustoms.size(), 16u);
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(shownCustoms[static_cast<std::size_t>(i)], QColor(0x80, 0, i)) << i;
    }
    EXPECT_EQ(colour, 0xCCBBAAu);
    EXPECT_EQ(customs[3], 0x030201u);
    EXPECT_EQ(customs[4], before[4]);
    EXPECT_EQ(customs[15], before[15]);
}

}  // namespace
}  // namespace vantic
