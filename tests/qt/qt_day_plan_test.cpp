#include "qt/qt_day_plan.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/qt/qt_environment.h"

namespace vantic {
namespace {

using testing::WhenModal;

TEST(QtDayPlan, ShowsTheLogicsPlanForEachChoiceAsTimelineAndTextAndHandsBackTheLast) {
    std::vector<DayPlanForm> asked;
    std::vector<DayPlanPage> pages;
    const auto planPage = [&](const DayPlanForm& form) {
        asked.push_back(form);
        DayPlanPage page;
        page.plan.hours[static_cast<std::size_t>(form.date.day)].push_back(
            PlanClip{form.channel, "caf\xE9.mpg"});
        page.text = "plan of channel " + std::to_string(form.channel) + " on day " +
                    std::to_string(form.date.day) + "\ncaf\xE9";
        pages.push_back(page);
        return page;
    };
    std::vector<QString> texts;
    std::vector<std::vector<TimelineRow>> drawn;
    WhenModal([&](QDialog* modal) {
        auto* dialog = dynamic_cast<QtDayPlanDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->windowTitle(), "Day Plan");
        EXPECT_EQ(dialog->Pages().currentIndex(), 0);  // the timeline first
        const auto note = [&] {
            texts.push_back(dialog->ShownText());
            drawn.push_back(dialog->Timeline().Rows());
        };
        note();
        dialog->DatePicker().setDate(dialog->DatePicker().date().addDays(-2));
        note();
        dialog->ChannelChoice().setCurrentIndex(3);
        note();
        dialog->reject();
    });
    DayPlanForm form{{2026, 12, 8}, 1};
    QtDayPlanView view;
    view.RunDayPlan(kNoWindow, form, planPage);

    EXPECT_EQ(texts, (std::vector<QString>{QString::fromUtf8("plan of channel 1 on day 8\ncafé"),
                                           QString::fromUtf8("plan of channel 1 on day 6\ncafé"),
                                           QString::fromUtf8("plan of channel 3 on day 6\ncafé")}));
    ASSERT_EQ(pages.size(), 3u);
    for (std::size_t i = 0; i < pages.size(); ++i) {
        EXPECT_EQ(drawn[i], PlanTimeline(pages[i].plan));
    }
    EXPECT_EQ(drawn.back()[0].row, 3);
    EXPECT_EQ(asked.back(), (DayPlanForm{{2026, 12, 6}, 3}));
    EXPECT_EQ(form, asked.back());
}

}  // namespace
}  // namespace vantic
