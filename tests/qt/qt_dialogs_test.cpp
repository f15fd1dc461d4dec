#include "qt/qt_dialogs.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QPrinter>
#include <QTest>
#include <QTimer>

#include "qt/qt_services.h"
#include "qt/qt_window.h"
#include "tests/qt/qt_environment.h"
#include "tests/support/temp_dir.h"

namespace vantic {
namespace {

using testing::WhenModal;

// Runs answer on the next message box once it takes keys and clicks.
void WhenBoxArmed(std::function<void(QMessageBox*)> answer) {
    WhenModal<QMessageBox>([answer](QMessageBox* box) {
        QTimer::singleShot(kMessageBoxArmingMs + 50, box, [answer, box] { answer(box); });
    });
}

TEST(QtMessageBoxes, ShowTheMessageAndReturnTheButtonPressed) {
    QWidget owner;
    owner.show();
    QString text, title;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    int buttons = 0;
    WhenModal<QMessageBox>([&](QMessageBox* box) {
        text = box->text();
        title = box->windowTitle();
        icon = box->icon();
        buttons = box->buttons().size();
        box->button(QMessageBox::No)->click();
    });
    QtMessageBoxes boxes;
    const MessageAnswer answer =
        boxes.Show(Message{IdOf(&owner), "Please select a media file in the list...\r\n and press",
                           "None Selected", MessageIcon::Warning, MessageButtons::YesNoCancel});
    EXPECT_EQ(answer, MessageAnswer::No);
    EXPECT_EQ(text, "Please select a media file in the list...\n and press");
    EXPECT_EQ(title, "None Selected");
    EXPECT_EQ(icon, QMessageBox::Warning);
    EXPECT_EQ(buttons, 3);
}

TEST(QtMessageBoxes, ClosingWithoutAButtonCancelsOrSaysNo) {
    QtMessageBoxes boxes;
    WhenBoxArmed([](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Escape); });
    EXPECT_EQ(boxes.Show(Message{kNoWindow, "Install?", "Install New Update?", MessageIcon::None,
                                 MessageButtons::YesNo}),
              MessageAnswer::No);
    WhenModal<QMessageBox>([](QMessageBox* box) { box->reject(); });
    EXPECT_EQ(boxes.Show(Message{kNoWindow, "Save?", "Play-List file has un-saved changes",
                                 MessageIcon::Warning, MessageButtons::YesNoCancel}),
              MessageAnswer::Cancel);
}

// Enter answers Yes unless Yes would destroy data; a cause goes to the details.
TEST(QtMessageBoxes, EnterTakesTheSafeDefaultAndTheCauseIsInTheDetails) {
    QtMessageBoxes boxes;
    for (bool destroys : {false, true}) {
        QString details;
        WhenBoxArmed([&](QMessageBox* box) {
            details = box->detailedText();
            QTest::keyClick(box, Qt::Key_Return);
        });
        Message question{kNoWindow, "Are you sure you want to deploy an empty list?",
                         "LIST IS EMPTY", MessageIcon::Warning, MessageButtons::YesNoCancel};
        question.noIsDefault = destroys;
        question.details = destroys ? "No answer within 30 seconds" : "";
        EXPECT_EQ(boxes.Show(question), destroys ? MessageAnswer::No : MessageAnswer::Yes);
        EXPECT_EQ(details, destroys ? "No answer within 30 seconds" : "");
    }
}

// A question the operator never saw answers nothing: not once the program
// is quitting, when the box returns at once, and not with a key that was
// already on its way when the box opened.
TEST(QtMessageBoxes, OnlyTheOperatorAnswersAQuestion) {
    QtMessageBoxes boxes;
    const Message save{kNoWindow, "Would you like to save your changes before closing?",
                       "Play-List file has un-saved changes", MessageIcon::Warning,
                       MessageButtons::YesNoCancel};
    const Message install{kNoWindow, "Install?", "Install New Update?", MessageIcon::Question,
                          MessageButtons::YesNo};
    // A command inside the program's loop runs a nested loop that the quit
    // ends; the questions after it come while the program quits.
    std::vector<MessageAnswer> whileQuitting;
    QTimer::singleShot(0, [&] {
        QEventLoop nested;
        QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
        nested.exec();
        whileQuitting = {boxes.Show(save), boxes.Show(install)};
    });
    QCoreApplication::exec();
    EXPECT_EQ(whileQuitting,
              (std::vector<MessageAnswer>{MessageAnswer::Cancel, MessageAnswer::Cancel}));
    // The key that opened the question repeats into it, and the next one
    // comes before the box could be read; the operator's own answers later.
    int typedAhead = 0;
    WhenModal<QMessageBox>([&](QMessageBox* box) {
        QTest::keyClick(box, Qt::Key_Return);
        QTest::sendKeyEvent(QTest::KeyAction::Press, box, Qt::Key_Return, '\r', Qt::NoModifier);
        QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, "\r", true);
        QApplication::sendEvent(box, &repeat);
        typedAhead = box->isVisible() ? 2 : 0;
        QTimer::singleShot(kMessageBoxArmingMs + 50, box, [box] {
            QTest::keyClick(box, Qt::Key_N);  // the operator: "&No"
            if (box->isVisible()) {
                box->button(QMessageBox::No)->click();
            }
        });
    });
    EXPECT_EQ(boxes.Show(save), MessageAnswer::No);
    EXPECT_EQ(typedAhead, 2);
}

TEST(QtFileDialogs, OpenOverTheOwnerAndReturnTheChoice) {
    testing::TempDir dir;
    QWidget owner;
    owner.setGeometry(50, 40, 1200, 900);
    owner.show();
    QRect placed;
    QStringList filters;
    WhenModal<QFileDialog>([&](QFileDialog* dialog) {
        placed = dialog->frameGeometry();
        filters = dialog->nameFilters();
        dialog->selectFile(QString::fromStdString(dir.File("night.PLY")));
        QMetaObject::invokeMethod(dialog, "accept");
    });
    FileDialogRequest request;
    request.owner = IdOf(&owner);
    request.title = "Choose Playlist File name";
    request.filters = {FileFilter{"Playlist Files", "*.PLY"}, FileFilter{"All Files", "*"}};
    request.confirmOverwrite = true;
    QtFileDialogs dialogs;
    EXPECT_EQ(dialogs.ChooseSaveFile(request), dir.File("night.PLY"));
    EXPECT_EQ(filters, (QStringList{"Playlist Files (*.PLY)", "All Files (*)"}));
    const QRect area = owner.frameGeometry();
    EXPECT_NEAR(placed.center().x(), area.center().x(), 2);
    EXPECT_NEAR(placed.top() - area.top(), (area.height() - placed.height()) / 3, 2);
}

TEST(QtFileDialogs, FiltersJoinTheirPatterns) {
    EXPECT_EQ(QtFilterText(FileFilter{"JPEG Files", "*.JPG;*.JPEG"}), "JPEG Files (*.JPG *.JPEG)");
}

TEST(QtPrinting, ARichTextReportPrintsWithItsPageBreaks) {
    testing::TempDir dir;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(dir.File("report.pdf")));
    PrintRichTextTo(printer,
                    "{\\rtf1\\ansi{\\fonttbl{\\f0 MS Sans Serif;}}\\fs48 Media Player "
                    "Report \\par\\fs24 Unit 1\\par \\page\r\nUnit 2\\par }");
    QFile pdf(QString::fromStdString(dir.File("report.pdf")));
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    const QByteArray bytes = pdf.readAll();
    EXPECT_EQ(bytes.count("/Type /Page\n") + bytes.count("/Type /Page\r"), 2);
}

TEST(QtTimers, TickUntilDestroyed) {
    QtTimers timers;
    int ticks = 0;
    auto timer = timers.Start(5, [&ticks] { ++ticks; });
    EXPECT_TRUE(testing::PumpUntil([&ticks] { return ticks >= 2; }));
    timer.reset();
    const int stopped = ticks;
    QTest::qWait(30);
    EXPECT_EQ(ticks, stopped);
}

}  // namespace
}  // namespace vantic
