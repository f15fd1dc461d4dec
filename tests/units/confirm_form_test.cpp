#include "units/confirm_form.h"

#include <gtest/gtest.h>

#include "tests/support/scripted_form_views.h"

namespace vantic {
namespace {

using testing::ScriptedConfirmView;

void Type(ScriptedConfirmView& view, std::string text) {
    view.Type(std::move(text));
}

TEST(ConfirmFormTest, BothWordingsNameTheWord) {
    const ConfirmForm generic = OpenConfirmForm("owner", false);
    EXPECT_EQ(generic.layout, kConfirmLayout);
    EXPECT_EQ(generic.prompt, "Type \"owner\" in the box to continue...");
    EXPECT_EQ(generic.fixedLine, "");
    EXPECT_EQ(generic.typed, "");

    const ConfirmForm channel = OpenConfirmForm("yes", true);
    EXPECT_EQ(channel.layout, kConfirmChannelLayout);
    EXPECT_EQ(channel.prompt,
              "Only the current channel's playlist will be changed. \n\n Type \"yes\" in the box "
              "to continue...");
    EXPECT_EQ(channel.fixedLine, "");  // the prompt has asked for "yes" already
    EXPECT_EQ(OpenConfirmForm("deploy", true).fixedLine, "Type \"yes\" in the box to continue...");
}

TEST(ConfirmFormTest, AcceptsTheWordWithBlanksAndAnyCase) {
    ConfirmForm form = OpenConfirmForm(" yes\t", false);
    for (const char* typed : {"yes", " YES ", "\tYes\r\n", "yEs"}) {
        form.typed = typed;
        EXPECT_TRUE(ConfirmFormAccepts(form)) << typed;
    }
    for (const char* typed : {"ye", "", "yes please", "y e s", "no"}) {
        form.typed = typed;
        EXPECT_FALSE(ConfirmFormAccepts(form)) << typed;
    }
    // The box holds 260 characters; what lies beyond never reached it.
    form.typed = std::string(257, ' ') + "yes" + "junk";
    EXPECT_TRUE(ConfirmFormAccepts(form));
}

TEST(ConfirmByTypingTest, AWrongWordKeepsTheFormOpenUntilOkOrCancel) {
    ScriptedConfirmView view;
    Type(view, "ye");
    Type(view, " YES ");
    EXPECT_TRUE(ConfirmByTyping(view, kNoWindow, "yes", true));
    EXPECT_EQ(view.script.Opened().size(), 2u);

    Type(view, "ye");
    view.script.QueueCancel();
    EXPECT_FALSE(ConfirmByTyping(view, kNoWindow, "yes", false));
}

TEST(ConfirmByTypingTest, AViewThatClosesAnywayConfirmsNothing) {
    class Careless final : public ConfirmFormView {
      public:
        bool RunConfirmForm(WindowId, ConfirmForm& form, const ConfirmCheck&) override {
            form.typed = "nope";
            return true;
        }
    } careless;
    EXPECT_FALSE(ConfirmByTyping(careless, kNoWindow, "yes", true));
}

}  // namespace
}  // namespace vantic
