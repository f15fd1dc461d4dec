#include "qt/qt_admin_forms.h"

#include <gtest/gtest.h>

#include <QDialog>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

#include "qt/qt_window.h"
#include "tests/qt/qt_environment.h"

namespace vantic {
namespace {

using testing::WhenModal;

template <class Widget>
Widget* Item(QDialog* dialog, int id) {
    return qobject_cast<Widget*>(FindItem(dialog, id));
}

TEST(QtAdminForms, CrawlFormKeepsCrLfAndStaysOpenUntilAccepted) {
    QtAdminFormsView view;
    CrawlForm form{"Line one\r\nLine two", "5"};
    std::vector<CrawlForm> handed;
    bool stayedOpen = false;
    QString shown;
    int limit = 0;
    WindowId formWindow = kNoWindow, handedWindow = kNoWindow;
    WhenModal([&](QDialog* dialog) {
        formWindow = IdOf(dialog);
        EXPECT_EQ(dialog->windowTitle(), "Set Crawl Text");
        auto* text = Item<QPlainTextEdit>(dialog, admin_item::kCrawlText);
        auto* refresh = Item<QLineEdit>(dialog, admin_item::kCrawlRefresh);
        auto* ok = Item<QPushButton>(dialog, 1);
        ASSERT_TRUE(text && refresh && ok);
        shown = text->toPlainText();
        limit = refresh->maxLength();
        refresh->setText("0");
        ok->click();
        stayedOpen = dialog->isVisible();
        text->appendPlainText("caf\u00e9");
        refresh->setText("30");
        ok->click();
    });
    EXPECT_TRUE(view.RunCrawlForm(kNoWindow, form, [&](const CrawlForm& typed, WindowId window) {
        handed.push_back(typed);
        handedWindow = window;
        return typed.refresh != "0";
    }));
    EXPECT_EQ(shown, "Line one\nLine two");
    EXPECT_EQ(limit, 5);
    EXPECT_TRUE(stayedOpen);
    EXPECT_NE(handedWindow, kNoWindow);
    EXPECT_EQ(handedWindow, formWindow);  // what OK shows opens over the form
    ASSERT_EQ(handed.size(), 2u);
    EXPECT_EQ(handed[1].text, "Line one\r\nLine two\r\ncaf\xe9");
    EXPECT_EQ(form.refresh, "30");
}

TEST(QtAdminForms, TimeZoneStartsAtCentralAndOwnerBoxHolds63) {
    QtAdminFormsView view;
    bool centralChecked = false;
    WhenModal([&](QDialog* dialog) {
        const int central = admin_item::kFirstTimeZone + static_cast<int>(TimeZone::Central);
        centralChecked = Item<QRadioButton>(dialog, central)->isChecked();
        Item<QRadioButton>(dialog, admin_item::kFirstTimeZone + 5)->click();
        Item<QPushButton>(dialog, 1)->click();
    });
    TimezoneForm zone;
    EXPECT_TRUE(
        view.RunTimezoneForm(kNoWindow, zone, [](const TimezoneForm&, WindowId) { return true; }));
    EXPECT_TRUE(centralChecked);
    EXPECT_EQ(zone.zone, TimeZone::Hawaii);

    int limit = 0;
    WhenModal([&](QDialog* dialog) {
        limit = Item<QLineEdit>(dialog, admin_item::kOwnerName)->maxLength();
        Item<QPushButton>(dialog, 2)->click();
    });
    OwnerForm owner;
    EXPECT_FALSE(
        view.RunOwnerForm(kNoWindow, owner, [](const OwnerForm&, WindowId) { return true; }));
    EXPECT_EQ(limit, 63);
}

}  // namespace
}  // namespace vantic
