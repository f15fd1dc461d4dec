#include "qt/qt_auto_updates.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include "qt/qt_window.h"
#include "tests/qt/qt_environment.h"

namespace vantic {
namespace {

using testing::WhenModal;

// Runs the form over a window; inside, `act` sees the dialog.
bool RunForm(AutoUpdateForm& form, const std::function<void(QDialog*)>& act) {
    QWidget owner;
    owner.show();
    WhenModal([&](QDialog* dialog) { act(dialog); });
    QtAutoUpdatesView view;
    return view.RunAutoUpdateForm(IdOf(&owner), form);
}

TEST(QtAutoUpdates, ShowsItsTextsWithTheFirstChoiceAndHandsBackTheChoice) {
    AutoUpdateForm form;
    QStringList labels;
    QStringList choices;
    bool firstChecked = false;
    const bool ok = RunForm(form, [&](QDialog* dialog) {
        EXPECT_EQ(dialog->windowTitle(), "Automatic Updates");
        for (QLabel* label : dialog->findChildren<QLabel*>()) {
            labels << label->text();
        }
        for (int id : kAutoUpdateChoiceItems) {
            auto* choice = qobject_cast<QRadioButton*>(FindItem(dialog, id));
            ASSERT_NE(choice, nullptr);
            choices << choice->text();
        }
        firstChecked = qobject_cast<QRadioButton*>(FindItem(dialog, 1096))->isChecked();
        EXPECT_EQ(qobject_cast<QPushButton*>(FindItem(dialog, 2))->text(), "Ask Me Later");
        testing::KeepPicture(*dialog, "auto_updates.png");
        qobject_cast<QRadioButton*>(FindItem(dialog, 1098))->click();
        qobject_cast<QPushButton*>(FindItem(dialog, 1))->click();
    });
    EXPECT_TRUE(ok);
    EXPECT_TRUE(firstChecked);
    EXPECT_EQ(form.option, 2);
    EXPECT_EQ(labels, (QStringList{"This Brindle product can notify you when software",
                                   "updates are available , keeping you up to date with the latest",
                                   "functionality.  Please choose an option:"}));
    EXPECT_EQ(choices, (QStringList{"Check for software updates just once, right now",
                                    "Notify me automatically only when a new update is available",
                                    "Do not check for updates (not recommended)"}));
}

TEST(QtAutoUpdates, AskMeLaterIsNoAnswer) {
    AutoUpdateForm form;
    const bool ok = RunForm(form, [](QDialog* dialog) {
        qobject_cast<QRadioButton*>(FindItem(dialog, 1097))->click();
        qobject_cast<QPushButton*>(FindItem(dialog, 2))->click();
    });
    EXPECT_FALSE(ok);
}

}  // namespace
}  // namespace vantic
