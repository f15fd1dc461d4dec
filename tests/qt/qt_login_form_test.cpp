#include "qt/qt_login_form.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFocusEvent>
#include <QLabel>
#include <QTest>
#include <QTimer>

#include "qt/qt_window.h"
#include "tests/qt/qt_environment.h"
#include "tests/support/memory_login_store.h"

namespace vantic {
namespace {

using testing::WhenModal;

template <class Widget>
Widget* Item(QWidget* dialog, int itemId) {
    return qobject_cast<Widget*>(FindItem(dialog, itemId));
}

TEST(QtLoginForm, BindsTheFormAndStaysOpenUntilOkIsAccepted) {
    testing::MemoryLoginStore store;
    store.values = {{"Distribution_Server", "venue.example"},
                    {"Distribution_Username", "op"},
                    {"Distribution_Userpass", "stored"},
                    {"Distribution_Userpass_Remember", "1"}};
    LoginSettings settings(store, "p.key");
    LoginForm form = OpenLoginForm(settings.ServerHost(), settings.ServerLoginName(),
                                   !settings.ServerPassword().empty(), true);
    QWidget owner;
    owner.show();

    bool stayedOpen = false;
    QString maskShown;
    WhenModal([&](QDialog* dialog) {
        EXPECT_EQ(dialog->windowTitle(), "Please Enter Login Info");
        auto* host = Item<QLineEdit>(dialog, kLoginHostItem);
        auto* name = Item<QLineEdit>(dialog, kLoginNameItem);
        auto* password = Item<QLineEdit>(dialog, kLoginPasswordItem);
        auto* remember = Item<QCheckBox>(dialog, kLoginRememberItem);
        auto* ok = Item<QPushButton>(dialog, 1);
        ASSERT_TRUE(host && name && password && remember && ok);
        EXPECT_EQ(host->text(), "venue.example");
        EXPECT_EQ(host->maxLength(), 259);
        EXPECT_EQ(name->maxLength(), 23);
        EXPECT_EQ(password->echoMode(), QLineEdit::Password);
        EXPECT_TRUE(remember->isChecked());
        maskShown = password->text();

        // Entering the password field clears the mask; an empty name keeps
        // the form open.
        QFocusEvent focus(QEvent::FocusIn, Qt::TabFocusReason);
        QApplication::sendEvent(password, &focus);
        EXPECT_EQ(password->text(), "");
        QTest::keyClicks(password, "n3w pass");
        name->clear();
        ok->click();
        stayedOpen = dialog->isVisible();
        QTest::keyClicks(name, "Operator");
        ok->click();
    });
    QtLoginFormView view;
    const bool confirmed = view.RunLoginForm(
        IdOf(&owner), form,
        [&settings](const LoginForm& value) { return ApplyLoginFormOk(settings, value); });
    EXPECT_TRUE(confirmed);
    EXPECT_EQ(maskShown, "********");
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(store.Value("Distribution_Username"), "Operator");
    EXPECT_EQ(store.Value("Distribution_Userpass"), "n3w pass");
    EXPECT_EQ(settings.ServerLoginName(), "operator");
    EXPECT_EQ(settings.ServerPassword(), "n3w pass");
}

TEST(QtLoginForm, CancelReturnsFalse) {
    LoginForm form = OpenLoginForm("", "", false, false);
    WhenModal([](QDialog* dialog) {
        EXPECT_TRUE(FindItem(dialog, kLoginHostItem)->hasFocus() || !dialog->isActiveWindow());
        Item<QPushButton>(dialog, 2)->click();
    });
    QtLoginFormView view;
    int oks = 0;
    EXPECT_FALSE(view.RunLoginForm(kNoWindow, form, [&oks](const LoginForm&) {
        ++oks;
        return true;
    }));
    EXPECT_EQ(oks, 0);
}

}  // namespace
}  // namespace vantic
