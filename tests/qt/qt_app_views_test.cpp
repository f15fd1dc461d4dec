#include <gtest/gtest.h>

#include <unistd.h>
#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QProxyStyle>
#include <QPushButton>
#include <QTest>

#include "app/wapp.h"
#include "qt/qt_about.h"
#include "qt/qt_instance.h"
#include "qt/qt_pictures.h"
#include "qt/qt_style.h"
#include "qt/qt_window.h"
#include "tests/qt/qt_environment.h"
#include "tests/support/scripted_platform.h"
#include "tests/support/temp_dir.h"

namespace vantic {
namespace {

using testing::PumpUntil;

// A later start asks the first to come forward, even when it was started
// with another temporary folder.
TEST(QtInstanceGuard, ALaterStartAsksTheFirstToComeForward) {
    const std::string name = "Vantic Test " + std::to_string(::getpid());
    const QByteArray savedTmp = qgetenv("TMPDIR");
    testing::TempDir firstTmp, secondTmp;
    qputenv("TMPDIR", QByteArray::fromStdString(firstTmp.Path()));
    QtInstanceGuard first;
    ASSERT_FALSE(first.ActivateRunning(name));
    int activations = 0;
    ASSERT_TRUE(first.Claim(name, [&] { ++activations; }));
    EXPECT_FALSE(
        QtInstanceGuard::SocketPath(name).startsWith(QString::fromStdString(firstTmp.Path())));

    qputenv("TMPDIR", QByteArray::fromStdString(secondTmp.Path()));
    QtInstanceGuard second;
    EXPECT_TRUE(second.ActivateRunning(name));
    EXPECT_TRUE(PumpUntil([&] { return activations == 1; }));
    if (savedTmp.isNull()) {
        qunsetenv("TMPDIR");
    } else {
        qputenv("TMPDIR", savedTmp);
    }

    // Another name is another program.
    QtInstanceGuard other;
    EXPECT_FALSE(other.ActivateRunning(name + " 2"));
}

TEST(QtInstanceGuard, NamesArePerUserAndSafeForTheFileSystem) {
    const QString server = QtInstanceGuard::ServerName("Vantic Controller");
    EXPECT_EQ(server, "vantic-controller-" + QString::number(::getuid()));
}

TEST(QtPictures, BothPicturesHaveTheirSizesAndAreNotBlank) {
    for (auto [id, width, height] :
         {std::tuple{picture::kSplash, 1342, 250}, std::tuple{picture::kAbout, 360, 67}}) {
        BitmapSurface surface(1, 1);
        ASSERT_TRUE(QtPictures().Load(id, surface));
        EXPECT_EQ(surface.Size(), (ImageSize{width, height}));
        std::set<std::uint32_t> colours(surface.Pixels().begin(), surface.Pixels().end());
        EXPECT_GT(colours.size(), 100u) << id;
        // The round trip to an image keeps every pixel.
        const QImage image = ImageOf(surface);
        EXPECT_EQ(image.pixel(width / 2, height / 2) & 0xFFFFFF,
                  surface.Pixel(width / 2, height / 2));
        // For a doubled screen: twice the pixels, the same logical size,
        // painted all over (not the ordinary picture in one corner).
        const QImage doubled = PaintPicture(id, 2);
        EXPECT_EQ(doubled.size(), QSize(width * 2, height * 2));
        EXPECT_EQ(doubled.deviceIndependentSize(), QSizeF(width, height));
        EXPECT_NEAR(qRed(doubled.pixel(width * 2 - 1, height * 2 - 1)),
                    qRed(image.pixel(width - 1, height - 1)), 8);
    }
    BitmapSurface untouched(1, 1);
    EXPECT_FALSE(QtPictures().Load(999, untouched));
    EXPECT_EQ(untouched.Size(), (ImageSize{1, 1}));
}

class Identity final : public WApp {
  public:
    Identity() : WApp(std::make_unique<testing::ScriptedPlatform>()) {}
    std::string_view ProductName() const override { return "Vantic Controller"; }
    std::string_view VersionText() const override { return "4.1"; }
    std::string_view MajorVersion() const override { return "4"; }
    std::string_view TitleText() const override { return "Vantic Controller 4.1"; }
    std::string_view BuildCode() const override { return "2900"; }
};

TEST(QtAboutBox, ShowsTheFormAndEachLinkAnswersOnlyItsOwnClick) {
    Identity app;
    testing::ScriptedShell shell;
    testing::ScriptedMail mail;
    testing::ScriptedMessageBoxes messages;
    AboutLinks links(app, shell, mail, messages);
    const AboutForm form = OpenAboutForm(app);
    std::unique_ptr<QDialog> box(NewAboutBox(nullptr, form, links));
    box->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(box.get()));

    EXPECT_EQ(box->windowTitle(), "Vantic Controller 4.1 - www.brindle.example");
    auto* code = qobject_cast<QLabel*>(FindItem(box.get(), about_item::kBuildCode));
    ASSERT_NE(code, nullptr);
    EXPECT_EQ(code->text(), "2900");
    auto* picture = qobject_cast<QLabel*>(FindItem(box.get(), about_item::kPicture));
    EXPECT_EQ(picture->pixmap().size(), QSize(360, 67));
    auto* web = qobject_cast<QLabel*>(FindItem(box.get(), about_item::kWebAddress));
    EXPECT_TRUE(web->font().underline());
    // The link reads in the dialog's own face, not a heavy Roman one.
    EXPECT_EQ(web->font().family(), box->font().family());
    EXPECT_EQ(web->font().weight(), box->font().weight());
    EXPECT_EQ(web->palette().color(QPalette::WindowText), QColor(0, 0, 255));

    QTest::mouseClick(web, Qt::LeftButton);
    ASSERT_EQ(shell.opened.size(), 1u);
    EXPECT_EQ(shell.opened[0].target, "https://www.brindle.example");
    EXPECT_TRUE(mail.drafts.empty());

    QTest::mouseClick(FindItem(box.get(), about_item::kEmail), Qt::LeftButton);
    ASSERT_EQ(mail.drafts.size(), 1u);
    EXPECT_EQ(mail.drafts[0].recipientName, "Brindle Sales Manager");
    EXPECT_EQ(shell.opened.size(), 1u);

    QTest::mouseClick(box.get(), Qt::LeftButton, {}, QPoint(2, 2));
    EXPECT_EQ(shell.opened.size() + mail.drafts.size(), 2u);
}

// The generic desktop theme's answer, which puts bitmaps on the buttons.
class PicturedButtonsStyle final : public QProxyStyle {
  public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        return hint == SH_DialogButtonBox_ButtonsHaveIcons
                   ? 1
                   : QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

TEST(QtProgramStyle, OkAndCancelCarryTheirTextWithoutPictures) {
    std::unique_ptr<QStyle> style(NewProgramStyle(new PicturedButtonsStyle));
    EXPECT_EQ(style->styleHint(QStyle::SH_DialogButtonBox_ButtonsHaveIcons), 0);
    QDialogButtonBox buttons;
    buttons.setStyle(style.get());
    buttons.setStandardButtons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    EXPECT_TRUE(buttons.button(QDialogButtonBox::Ok)->icon().isNull());
    EXPECT_TRUE(buttons.button(QDialogButtonBox::Cancel)->icon().isNull());
}

}  // namespace
}  // namespace vantic
