// The colour chooser with the custom colours kept in "customcolor.dat".

#include "units/colour_pick.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>

#include "core/cpstring.h"
#include "framework/program_path.h"
#include "tests/support/temp_dir.h"

namespace vantic {
namespace {

using testing::ReadFileBytes;
using testing::WriteFileBytes;

// Answers like an operator: confirms (setting a colour and custom colour
// 15) or cancels, and remembers what it was shown.
class ScriptedChooser final : public ColourChooser {
  public:
    bool ChooseColour(WindowId /*owner*/, std::uint32_t& colour, CustomColours& customs) override {
        shownColour = colour;
        shownCustoms = customs;
        if (!confirm) {
            customs[15] = 0x123456;  // what the operator did in a cancelled dialog
            return false;
        }
        colour = 0x0000FF;  // red in the platform's order
        customs[15] = 0x00563412;
        return true;
    }
    bool confirm = true;
    std::uint32_t shownColour = 0;
    CustomColours shownCustoms{};
};

class ColourPickTest : public ::testing::Test {
  protected:
    ColourPickTest() { SetProgramDirectoryForTesting(dir.Path()); }
    ~ColourPickTest() override { SetProgramDirectoryForTesting(""); }
    [[nodiscard]] std::string File() const { return dir.File("customcolor.dat"); }

    testing::TempDir dir;
    ScriptedChooser chooser;
};

TEST_F(ColourPickTest, ConfirmingRewritesAllSixtyFourBytesLittleEndianInThePlatformOrder) {
    // Five bytes: the first colour whole, one byte of the second.
    ASSERT_TRUE(WriteFileBytes(File(), std::string("\x01\x02\x03\x00\x7f", 5)));
    std::uint32_t colour = 0xFFFF00;  // yellow as a swatch holds it
    ASSERT_TRUE(PickColour(chooser, kNoWindow, colour));
    EXPECT_EQ(chooser.shownColour, 0x00FFFFu);  // red and blue exchanged
    EXPECT_EQ(chooser.shownCustoms[0], 0x030201u);
    EXPECT_EQ(chooser.shownCustoms[1], 0x7Fu);
    EXPECT_EQ(chooser.shownCustoms[2], 0u);
    EXPECT_EQ(colour, 0xFF0000u);

    const std::string bytes = ReadFileBytes(File());
    ASSERT_EQ(bytes.size(), 64u);
    EXPECT_EQ(bytes.substr(0, 8), std::string("\x01\x02\x03\x00\x7f\x00\x00\x00", 8));
    EXPECT_EQ(bytes.substr(60), std::string("\x12\x34\x56\x00", 4));
    EXPECT_EQ(bytes.substr(8, 52), std::string(52, '\0'));
    // No temporary is left beside it.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
}

TEST_F(ColourPickTest, CancellingLeavesTheFileAndTheColourAsTheyWere) {
    std::string longer(70, '\x55');
    ASSERT_TRUE(WriteFileBytes(File(), longer));
    chooser.confirm = false;
    std::uint32_t colour = 0x000080;
    EXPECT_FALSE(PickColour(chooser, kNoWindow, colour));
    EXPECT_EQ(colour, 0x000080u);
    EXPECT_EQ(chooser.shownCustoms[15], 0x55555555u);  // only the first 64 bytes count
    EXPECT_EQ(ReadFileBytes(File()), longer);

    // Without a file the customs are black, and a cancel makes none.
    ASSERT_TRUE(RemoveFile(File()));
    EXPECT_FALSE(PickColour(chooser, kNoWindow, colour));
    EXPECT_EQ(chooser.shownCustoms, CustomColours{});
    EXPECT_FALSE(FileExists(File()));
}

}  // namespace
}  // namespace vantic
