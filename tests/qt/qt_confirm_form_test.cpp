#include "qt/qt_confirm_form.h"

#include <gtest/gtest.h>

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTimer>

#include "qt/qt_window.h"
#include "tests/qt/qt_environment.h"

namespace vantic {
namespace {

using testing::WhenModal;

QStringList Labels(QDialog* dialog) {
    QStringList texts;
    for (QLabel* label : dialog->findChildren<QLabel*>()) {
        texts << label->text();
    }
    return texts;
}

TEST(QtConfirmForm, OkClosesOnlyOnTheWord) {
    QWidget owner;
    owner.show();
    bool stayedOpen = false;
    QStringList labels;
    int limit = 0;
    WhenModal([&](QDialog* dialog) {
        EXPECT_EQ(dialog->windowTitle(), "Confirm this Action");
        labels = Labels(dialog);
        for (QLabel* label : dialog->findChildren<QLabel*>()) {  // no sentence wraps
            for (const QString& line : label->text().split('\n')) {
                EXPECT_GE(label->width(), label->fontMetrics().horizontalAdvance(line))
                    << line.toStdString();
            }
        }
        auto* text = qobject_cast<QLineEdit*>(FindItem(dialog, kConfirmTextItem));
        auto* ok = qobject_cast<QPushButton*>(FindItem(dialog, 1));
        ASSERT_TRUE(text && ok);
        limit = text->maxLength();
        QTest::keyClicks(text, "ye");
        ok->click();
        stayedOpen = dialog->isVisible();
        text->setText(" YES\t");
        ok->click();
    });
    QtConfirmFormView view;
    EXPECT_TRUE(ConfirmByTyping(view, IdOf(&owner), "yes", true));
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(limit, 260);
    EXPECT_EQ(labels, (QStringList{"Only the current channel's playlist will be changed. \n\n Type "
                                   "\"yes\" in the box to continue..."}));
}

TEST(QtConfirmForm, CancelConfirmsNothing) {
    QStringList labels;
    WhenModal([&](QDialog* dialog) {
        labels = Labels(dialog);
        auto* text = qobject_cast<QLineEdit*>(FindItem(dialog, kConfirmTextItem));
        ASSERT_TRUE(text);
        text->setText("owner");
        qobject_cast<QPushButton*>(FindItem(dialog, 2))->click();
    });
    QtConfirmFormView view;
    EXPECT_FALSE(ConfirmByTyping(view, kNoWindow, "owner", false));
    EXPECT_EQ(labels, QStringList{"Type \"owner\" in the box to continue..."});
}

TEST(QtConfirmForm, APreviewComesAboveTheUnchangedTexts) {
    const std::string preview =
        "Deployment preview: channel \"Video\"\nUnits: 2 (4, 9)\nClips: 10\n";
    QStringList labels;
    QString shown;
    bool above = false;
    bool readOnly = false;
    WhenModal([&](QDialog* dialog) {
        labels = Labels(dialog);
        auto* box = qobject_cast<QPlainTextEdit*>(FindItem(dialog, kConfirmPreviewItem));
        auto* text = qobject_cast<QLineEdit*>(FindItem(dialog, kConfirmTextItem));
        ASSERT_TRUE(box && text);
        shown = box->toPlainText();
        readOnly = box->isReadOnly();
        QLabel* prompt = dialog->findChildren<QLabel*>().at(0);
        above = box->geometry().bottom() < prompt->geometry().top();
        text->setText("yes");
        qobject_cast<QPushButton*>(FindItem(dialog, 1))->click();
    });
    QtConfirmFormView view;
    EXPECT_TRUE(ConfirmByTyping(view, kNoWindow, "yes", true, preview));
    EXPECT_EQ(shown.toStdString() + "\n", preview);
    EXPECT_TRUE(readOnly);
    EXPECT_TRUE(above);
    EXPECT_EQ(labels, (QStringList{"Only the current channel's playlist will be changed. \n\n Type "
                                   "\"yes\" in the box to continue..."}));
}

// The box fits the preview: every line whole without a horizontal bar,
// and all lines without a vertical one unless the preview is longer than
// the box shows, when it scrolls downwards only.
TEST(QtConfirmForm, APreviewFitsItsBoxUpToTheLongestLine) {
    for (const int clips : {7, 30}) {
        std::string preview = "Deployment preview: channel \"Video\"\nMedia the server holds: 7\n";
        for (int n = 0; n < clips; ++n) {
            preview += "  spot" + std::to_string(n) + ".mpg\n";
        }
        preview += "Estimated upload time: not known until an upload has been measured\n";
        bool horizontal = true;
        bool vertical = false;
        qreal textWidth = 0;
        qreal textHeight = 0;
        QSize room;
        WhenModal([&](QDialog* dialog) {
            auto* box = qobject_cast<QPlainTextEdit*>(FindItem(dialog, kConfirmPreviewItem));
            ASSERT_NE(box, nullptr);
            horizontal = box->horizontalScrollBar()->isVisible();
            vertical = box->verticalScrollBar()->isVisible();
            textWidth = box->document()->size().width();
            for (QTextBlock block = box->document()->firstBlock(); block.isValid();
                 block = block.next()) {
                textHeight += box->document()->documentLayout()->blockBoundingRect(block).height();
            }
            textHeight += box->document()->documentMargin();  // the top one
            room = box->viewport()->size();
            dialog->reject();
        });
        QtConfirmFormView view;
        EXPECT_FALSE(ConfirmByTyping(view, kNoWindow, "yes", true, preview));
        EXPECT_FALSE(horizontal) << clips;
        EXPECT_LE(textWidth, room.width()) << clips;
        EXPECT_EQ(vertical, clips == 30) << clips;
        EXPECT_EQ(textHeight <= room.height(), clips == 7) << clips;
    }
}

}  // namespace
}  // namespace vantic
