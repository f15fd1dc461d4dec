#include "qt/qt_day_plan.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/qt/qt_environment.h"

namespace vantic {
namespace {

using testing::WhenModal;

TEST(QtDayPlan, ShowsTheLogicsTextForEachChoiceAndHandsBackTheLast) {
    std::vector<DayPlanForm> asked;
    const auto planText = [&asked](const DayPlanForm& form) {
        asked.push_back(form);
        return "plan of channel " + std::to_string(form.channel) + " on day " +
               std::to_string(form.date.day) + "\ncaf\xE9";
    };
    QString opened, afterDate, afterChannel;
    WhenModal([&](QDialog* modal) {
        auto* dialog = dynamic_cast<QtDayPlanDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->windowTitle(), "Day Plan");
        opened = dialog->ShownText();
        dialog->DatePicker().setDate(dialog->DatePicker().date().addDays(-2));
        afterDate = dialog->ShownText();
        dialog->ChannelChoice().setCurrentIndex(3);
        afterChannel = dialog->ShownText();
        dialog->reject();
    });
    DayPlanForm form{{2026, 12, 8}, 1};
    QtDayPlanView view;
    view.RunDayPlan(kNoWindow, form, planText);

    EXPECT_EQ(opened, QString::fromUtf8("plan of channel 1 on day 8\ncafé"));
    EXPECT_EQ(afterDate, QString::fromUtf8("plan of channel 1 on day 6\ncafé"));
    EXPECT_EQ(afterChannel, QString::fromUtf8("plan of channel 3 on day 6\ncafé"));
    EXPECT_EQ(asked.back(), (DayPlanForm{{2026, 12, 6}, 3}));
    EXPECT_EQ(form, asked.back());
}

}  // namespace
}  // namespace vantic
