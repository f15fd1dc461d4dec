#include "qt/qt_progress.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QMetaObject>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QWidget>

#include "framework/wprogress.h"
#include "qt/qt_platform.h"
#include "qt/qt_window.h"
#include "tests/qt/qt_environment.h"

namespace vantic {
namespace {

namespace pl = progress_layout;

class CancelCounting : public WProgress {
  public:
    using WProgress::WProgress;
    void OnCancel() override { ++cancels; }
    int cancels = 0;
};

class QtProgressTest : public ::testing::Test {
  protected:
    QtProgressTest() {
        owner.resize(640, 480);
        owner.show();
    }
    QWidget* Dialog() { return WidgetOf(progress.Dialog()); }
    QString Text(int id) { return qobject_cast<QLabel*>(FindItem(Dialog(), id))->text(); }
    int Bar(int id) { return qobject_cast<QProgressBar*>(FindItem(Dialog(), id))->value(); }

    QWidget owner;
    QtPlatform platform;
    CancelCounting progress{platform};
};

TEST_F(QtProgressTest, CancelReachesTheCancelledFlagThroughThePump) {
    EXPECT_FALSE(progress.Open(IdOf(&owner), ProgressLayout::Operation, 4));
    ASSERT_NE(Dialog(), nullptr);
    EXPECT_TRUE(Dialog()->isVisible());
    EXPECT_FALSE(owner.isEnabled());
    EXPECT_TRUE(Dialog()->isEnabled());  // a window of its own, not disabled with its owner

    QWidget* cancel = FindItem(Dialog(), pl::kCancelButton);
    ASSERT_NE(cancel, nullptr);
    // The click waits in the queue until an update pumps it.
    QMetaObject::invokeMethod(qobject_cast<QPushButton*>(cancel), &QPushButton::click,
                              Qt::QueuedConnection);
    EXPECT_EQ(progress.cancels, 0);
    EXPECT_TRUE(progress.SetOverall(1, 4));
    EXPECT_EQ(progress.cancels, 1);
    EXPECT_TRUE(progress.Cancelled());
    EXPECT_EQ(progress.Dialog(), kNoWindow);
    EXPECT_TRUE(owner.isEnabled());
    EXPECT_TRUE(progress.StepOverall());
}

TEST_F(QtProgressTest, UpdatesShowInTheBarsAndLabels) {
    progress.Open(IdOf(&owner), ProgressLayout::Operation, 4);
    EXPECT_EQ(Dialog()->windowTitle(), "Operation Progress...");
    EXPECT_EQ(Text(pl::kOverallLabel), "0.00%");
    progress.SetOverall(1, 4);
    EXPECT_EQ(Text(pl::kOverallLabel), " 25.00%");
    EXPECT_EQ(Bar(pl::kOverallBar), 25);
    progress.StartItem(3);
    progress.SetLine(ProgressLine::Status, "Media Player #12 - Downloading Configuration");
    progress.FinishItem();
    EXPECT_EQ(Bar(pl::kItemBar), 100);
    EXPECT_EQ(Text(pl::kStatusLine), "Media Player #12 - Downloading Configuration");
    progress.Close();
    EXPECT_TRUE(owner.isEnabled());
}

// Counts the paints of a widget.
class PaintCounter : public QObject {
  public:
    bool eventFilter(QObject*, QEvent* event) override {
        paints += event->type() == QEvent::Paint ? 1 : 0;
        return false;
    }
    int paints = 0;
};

// The line set before a long piece is painted before the piece runs,
// however soon after the last redraw it comes.
TEST_F(QtProgressTest, ANewStatusLineIsPaintedAtOnce) {
    progress.Open(IdOf(&owner), ProgressLayout::Operation, 4);
    progress.StartItem(3);
    progress.StepItem();
    QWidget* line = FindItem(Dialog(), pl::kStatusLine);
    ASSERT_NE(line, nullptr);
    PaintCounter counter;
    line->installEventFilter(&counter);
    progress.SetLine(ProgressLine::Status, "Media Player #12 - Uploading New Configuration");
    EXPECT_GT(counter.paints, 0);
    EXPECT_EQ(Text(pl::kStatusLine), "Media Player #12 - Uploading New Configuration");
    line->removeEventFilter(&counter);
}

TEST_F(QtProgressTest, EscapeAndEnterCancelToo) {
    progress.Open(IdOf(&owner), ProgressLayout::Download, 100);
    EXPECT_EQ(Dialog()->windowTitle(), "Downloading Software Update....");
    EXPECT_EQ(FindItem(Dialog(), pl::kItemBar), nullptr);
    QTest::keyClick(Dialog(), Qt::Key_Escape);
    EXPECT_EQ(progress.cancels, 1);
    EXPECT_TRUE(progress.Cancelled());

    progress.Open(IdOf(&owner), ProgressLayout::Simple, 100);
    EXPECT_FALSE(progress.Cancelled());
    QTest::keyClick(Dialog(), Qt::Key_Return);
    EXPECT_EQ(progress.cancels, 2);
    EXPECT_TRUE(owner.isEnabled());
}

// Lines that come and go, short and long, leave the dialog as wide as it was.
TEST_F(QtProgressTest, TheDialogKeepsItsWidthWhateverItsLinesSay) {
    progress.Open(IdOf(&owner), ProgressLayout::Operation, 4);
    QCoreApplication::processEvents();
    const int width = Dialog()->width();
    for (const char* line :
         {"Media Player #7 - Downloading Configuration", "",
          "Checking a-clip-whose-name-goes-on-far-beyond-the-dialog's-edge.mpg"}) {
        progress.SetLine(ProgressLine::Status, line);
        progress.SetLine(ProgressLine::Transfer, line);
        QCoreApplication::processEvents();
        EXPECT_EQ(Dialog()->width(), width) << line;
    }
}

TEST_F(QtProgressTest, TheDialogOpensOverItsOwner) {
    owner.move(100, 100);
    progress.Open(IdOf(&owner), ProgressLayout::Simple, 100);
    const QRect dialog = Dialog()->frameGeometry();
    const QRect area = owner.frameGeometry();
    EXPECT_NEAR(dialog.center().x(), area.center().x(), 2);
    EXPECT_NEAR(dialog.top() - area.top(), (area.height() - dialog.height()) / 3, 2);
}

}  // namespace
}  // namespace vantic
