// The scripted platform is what every logic test stands on; these check
// that it fails tests for what they did not script.
#include "tests/support/scripted_platform.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include "tests/support/script_ledger.h"

namespace vantic::testing {
namespace {

Message Question(const std::string& caption) {
    return Message{kNoWindow, "Sure?", caption, MessageIcon::Warning, MessageButtons::YesNoCancel};
}

TEST(ScriptedPlatform, AnswersQueuedBoxesInOrderAndRecordsThem) {
    ScriptedPlatform platform;
    platform.QueueAnswer(MessageAnswer::Yes);
    platform.QueueAnswer(MessageAnswer::Cancel, "Second");
    EXPECT_EQ(platform.Messages().Show(Question("First")), MessageAnswer::Yes);
    EXPECT_EQ(platform.Messages().Show(Question("Second")), MessageAnswer::Cancel);
    ASSERT_EQ(platform.ShownMessages().size(), 2u);
    EXPECT_EQ(platform.ShownMessages()[1].caption, "Second");
    EXPECT_TRUE(ScriptLedger::Instance().Issues().empty());
}

TEST(ScriptedPlatform, AnUnexpectedMessageBoxFailsTheTest) {
    ScriptedPlatform platform;
    EXPECT_EQ(platform.Messages().Show(Question("Surprise")), MessageAnswer::Cancel);
    EXPECT_NONFATAL_FAILURE(ScriptLedger::Instance().FailOnIssues(),
                            "Unexpected message box: caption \"Surprise\"");
}

TEST(ScriptedPlatform, AnAnswerForAnotherCaptionFailsTheTest) {
    ScriptedPlatform platform;
    platform.QueueAnswer(MessageAnswer::Yes, "Expected");
    platform.Messages().Show(Question("Other"));
    EXPECT_NONFATAL_FAILURE(ScriptLedger::Instance().FailOnIssues(), "met another message box");
}

TEST(ScriptedPlatform, UnusedAnswersFailTheTest) {
    ScriptedPlatform platform;
    platform.QueueFileChoice("/tmp/a.PLY");
    EXPECT_NONFATAL_FAILURE(ScriptLedger::Instance().FailOnIssues(),
                            "1 queued file dialog choice(s) never used");
    // Reported once: the platform forgot them.
    EXPECT_TRUE(ScriptLedger::Instance().Issues().empty());
}

TEST(ScriptedPlatform, FileDialogsTakeQueuedChoices) {
    ScriptedPlatform platform;
    platform.QueueFileChoice("/tmp/show.PLY");
    platform.QueueFileChoice(std::nullopt);
    FileDialogRequest request;
    request.title = "Choose Playlist File name";
    EXPECT_EQ(platform.Files().ChooseSaveFile(request), "/tmp/show.PLY");
    EXPECT_EQ(platform.Files().ChooseOpenFile(request), std::nullopt);
    ASSERT_EQ(platform.fileDialogs.ShownDialogs().size(), 2u);
    EXPECT_TRUE(platform.fileDialogs.ShownDialogs()[0].save);
    EXPECT_NONFATAL_FAILURE(
        {
            EXPECT_EQ(platform.Files().ChooseOpenFile(request), std::nullopt);
            ScriptLedger::Instance().FailOnIssues();
        },
        "Unexpected file dialog: \"Choose Playlist File name\"");
}

TEST(ScriptedPlatform, CancelIsPressedAtTheNthPumpWhileADialogIsOpen) {
    ScriptedPlatform platform;
    std::vector<int> pressed;
    platform.progress.CancelAtPump(2);
    platform.Windows().PumpMessages();  // no dialog yet: not counted
    auto dialog = platform.Progress().Create(kNoWindow, progress_layout::kSimple,
                                             [&](int button) { pressed.push_back(button); });
    ASSERT_NE(dialog, nullptr);
    platform.Windows().PumpMessages();
    EXPECT_TRUE(pressed.empty());
    platform.Windows().PumpMessages();
    EXPECT_EQ(pressed, std::vector<int>{progress_layout::kCancelButton});
    EXPECT_EQ(platform.Progress().Create(kNoWindow, 999, nullptr), nullptr);
}

TEST(ManualClock, SleepingAndAdvancingMoveBothClocks) {
    ManualClock clock;
    clock.SetNow(86'400 * 3);
    clock.SetTick(0xFFFFFF00u);
    clock.Sleep(700);
    clock.Advance(300);
    EXPECT_EQ(clock.Now(), 86'400 * 3 + 1);
    EXPECT_EQ(clock.TickMs(), 0xFFFFFF00u + 1000u);  // wrapped
    EXPECT_EQ(clock.LocalNow(), (LocalTime{1970, 1, 4, 0, 0, 1, 0}));
}

}  // namespace
}  // namespace vantic::testing
