// When the check runs and what the "Automatic Updates" form stores, on a
// scripted clock.

#include "tests/app/update_fixture.h"

namespace vantic::testing {
namespace {

using UpdateRules = UpdateFixture;

constexpr int kWeek = 604'800;

TEST_F(UpdateRules, FirstAutomaticRunOnlyStartsTheClock) {
    settings.SetInt(kUpdateOptionKey, update_option::kNotifyOnly);
    Run(false);
    EXPECT_EQ(LastCheck(), Now());
    EXPECT_TRUE(table.fetched.empty());
    EXPECT_TRUE(form.script.Opened().empty());
}

TEST_F(UpdateRules, NotifyOnlyChecksWithoutTheFormOnceAWeekHasPassed) {
    settings.SetInt(kUpdateOptionKey, update_option::kNotifyOnly);
    settings.SetInt(kLastUpdateCheckKey, Now() - (kWeek - 1));
    const int before = LastCheck();
    Run(false);
    EXPECT_TRUE(table.fetched.empty());
    EXPECT_EQ(LastCheck(), before);

    platform.clock.Advance(1000);
    Run(false);  // the server has nothing: silent
    EXPECT_EQ(table.fetched, std::vector<std::string>{kSigPath});
    EXPECT_EQ(LastCheck(), Now());
    EXPECT_TRUE(form.script.Opened().empty());
    EXPECT_TRUE(platform.ShownMessages().empty());
}

TEST_F(UpdateRules, ClockSetBackDelaysTheCheck) {
    settings.SetInt(kUpdateOptionKey, update_option::kNotifyOnly);
    settings.SetInt(kLastUpdateCheckKey, Now() + 3600);
    Run(false);
    EXPECT_TRUE(table.fetched.empty());
}

TEST_F(UpdateRules, NeverStopsTheAutomaticCheckButNotTheMenuCommand) {
    for (int stored : {update_option::kNotifyOnly, update_option::kNever}) {
        settings.SetInt(kUpdateOptionKey, stored);
        table.fetched.clear();
        settings.SetInt(kLastUpdateCheckKey, Now() - 10 * kWeek);
        Run(false);
        if (stored == update_option::kNever) {
            EXPECT_TRUE(table.fetched.empty());
        }
        form.script.QueueOk();  // option 0 as the form opened
        platform.QueueAnswer(MessageAnswer::Ok, "Software is Current");
        Run(true);
        ASSERT_FALSE(form.script.Opened().empty());
        EXPECT_EQ(form.script.Opened().back().option, update_option::kAskEachTime);
        EXPECT_EQ(form.owners.back(), owner);
        EXPECT_EQ(Option(), stored) << "a choice of 0 leaves the stored option";
        EXPECT_EQ(LastCheck(), Now());
    }
    EXPECT_EQ(platform.ShownMessages().back().text, "No new updates are available at this time");
}

TEST_F(UpdateRules, FormAnswersDecideWhatIsStored) {
    settings.SetInt(kLastUpdateCheckKey, Now() - kWeek);
    const int due = LastCheck();

    form.script.QueueCancel();  // "Ask Me Later"
    Run(false);
    EXPECT_EQ(LastCheck(), due);
    EXPECT_EQ(Option(), -1);

    form.script.Queue([](AutoUpdateForm& f) {
        f.option = update_option::kNever;
        return true;
    });
    Run(false);
    EXPECT_EQ(Option(), update_option::kNever);
    EXPECT_EQ(LastCheck(), due) << "choosing 2 stores no check time";
    EXPECT_TRUE(table.fetched.empty());

    form.script.Queue([](AutoUpdateForm& f) {
        f.option = update_option::kNotifyOnly;
        return true;
    });
    platform.QueueAnswer(MessageAnswer::Ok, "Software is Current");
    Run(true);  // on request the server's silence is reported
    EXPECT_EQ(Option(), update_option::kNotifyOnly);
}

TEST_F(UpdateRules, StoredOptionOutsideTheRangeAsksEachTime) {
    settings.SetInt(kUpdateOptionKey, 7);
    settings.SetInt(kLastUpdateCheckKey, Now() - kWeek);
    form.script.QueueCancel();
    Run(false);
    EXPECT_EQ(form.script.Opened().size(), 1u);
    EXPECT_EQ(EffectiveUpdateOption(-1), 0);
    EXPECT_EQ(ChosenUpdateOption(AutoUpdateForm{3}), 0);
}

}  // namespace
}  // namespace vantic::testing
