#include "platform/console_platform.h"

#include <gtest/gtest.h>

#include <sstream>

namespace vantic {
namespace {

namespace layout = progress_layout;

TEST(ConsoleMessageBoxesTest, PrintCaptionAndTextAndReadAnswers) {
    std::ostringstream out;
    std::istringstream in("n\n YES \nmaybe\n");
    ConsoleMessageBoxes boxes(out, in, false);
    EXPECT_EQ(boxes.Show({kNoWindow, "Unable to decrypt\r\nContact us.", "Error Deploying",
                          MessageIcon::Error}),
              MessageAnswer::Ok);
    const Message question{kNoWindow, "Deploy an empty list?", "LIST IS EMPTY",
                           MessageIcon::Warning, MessageButtons::YesNoCancel};
    EXPECT_EQ(boxes.Show(question), MessageAnswer::No);
    EXPECT_EQ(boxes.Show(question), MessageAnswer::Yes);
    EXPECT_EQ(boxes.Show(question), MessageAnswer::Cancel);  // neither yes nor no
    EXPECT_EQ(boxes.Show(question), MessageAnswer::Cancel);  // the input ended
    EXPECT_EQ(
        boxes.Show({kNoWindow, "Install?", "Update", MessageIcon::None, MessageButtons::YesNo}),
        MessageAnswer::No);
    EXPECT_TRUE(
        out.str().starts_with("Error Deploying: Unable to decrypt\nContact us.\n"
                              "LIST IS EMPTY: Deploy an empty list? [yes/no/cancel] "))
        << out.str();

    std::ostringstream told;
    std::istringstream nothing;
    ConsoleMessageBoxes yes(told, nothing, true);
    EXPECT_EQ(yes.Show(question), MessageAnswer::Yes);
    EXPECT_EQ(told.str(), "LIST IS EMPTY: Deploy an empty list? yes\n");
}

TEST(ConsoleProgressTest, StatusLinesCarryTheOverallPercentage) {
    std::ostringstream out;
    std::istringstream in;
    ConsolePlatform platform(out, in, false);
    std::unique_ptr<ProgressWindow> dialog =
        platform.Progress().Create(kNoWindow, layout::kOperation, nullptr);
    ASSERT_TRUE(dialog);
    EXPECT_TRUE(dialog->HasItem(layout::kTransferLine));
    dialog->SetText(layout::kStatusLine, "Processing a.mpg");
    dialog->SetText(layout::kOverallLabel, " 50.00%");
    dialog->SetText(layout::kTransferLine, "100 of 200 - 8 kbit/sec");
    dialog->SetText(layout::kStatusLine, "Media Player #4 - Downloading Configuration");
    EXPECT_EQ(out.str(),
              "[0.00%] Processing a.mpg\n[50.00%] Media Player #4 - Downloading Configuration\n");
    EXPECT_FALSE(platform.Progress().Create(kNoWindow, 999, nullptr));
}

TEST(ConsoleProgressTest, AnInterruptCancelsTheOpenDialogsAtTheNextPump) {
    std::ostringstream out;
    std::istringstream in;
    ConsolePlatform platform(out, in, false);
    std::vector<int> pressed;
    std::unique_ptr<ProgressWindow> dialog =
        platform.Progress().Create(kNoWindow, layout::kSimple, [&](int button) {
            pressed.push_back(button);
            dialog.reset();  // as WProgress does: Cancel destroys the dialog
        });
    platform.Windows().PumpMessages();
    EXPECT_TRUE(pressed.empty());
    RequestConsoleCancel();
    platform.Windows().PumpMessages();
    EXPECT_EQ(pressed, std::vector<int>{layout::kCancelButton});
    EXPECT_FALSE(dialog);
    platform.Windows().PumpMessages();
    EXPECT_EQ(pressed.size(), 1u);
}

}  // namespace
}  // namespace vantic
