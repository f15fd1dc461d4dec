// The main window's close request while a deployment to all units runs:
// the window stays, the deployment reaches every unit, and no file for a
// unit numbered 0 appears on the server.

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

#include "qt/qt_confirm_form.h"
#include "qt/qt_progress.h"
#include "qt/qt_window.h"
#include "tests/qt/qt_app_rig.h"
#include "tests/qt/qt_environment.h"

namespace vantic {
namespace {

using testing::QtAppRig;
using testing::WhenModal;

[[nodiscard]] bool ProgressShown() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (dynamic_cast<QtProgressDialog*>(widget) != nullptr && widget->isVisible()) {
            return true;
        }
    }
    return false;
}

class QtAppClose : public QtAppRig {};

TEST_F(QtAppClose, TheWindowRefusesToCloseWhileADeploymentToAllUnitsRuns) {
    const std::string clip = dir.File("intro.mpg");
    ASSERT_TRUE(testing::WriteFileBytes(clip, "a clip"));
    int closesWhileBusy = 0;
    bool stayedOpen = false;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (closesWhileBusy == 0 && ProgressShown() && !Window()->isEnabled()) {
            ++closesWhileBusy;
            Window()->close();  // as the window manager's close button does
            stayedOpen = Window()->isVisible();
        }
    });
    int unitsAfter = -1;
    RunWith([&] {
        ASSERT_EQ(app->Venue().ItemCount(), 8);
        ASSERT_TRUE(app->Playlist().AddFile(clip));
        WhenModal([](QDialog* confirm) {
            auto* text = qobject_cast<QLineEdit*>(FindItem(confirm, kConfirmTextItem));
            ASSERT_NE(text, nullptr);
            text->setText("yes");
            qobject_cast<QPushButton*>(FindItem(confirm, 1))->click();
            WhenModal<QMessageBox>([](QMessageBox* success) {
                EXPECT_EQ(success->windowTitle(), "SUCCESS");
                if (QAbstractButton* ok = success->button(QMessageBox::Ok)) {
                    ok->click();
                } else {
                    success->reject();
                }
            });
        });
        closer.start(0);
        RunCommand(command::kDeployToAll);
        closer.stop();
        unitsAfter = app->Venue().ItemCount();
    });
    EXPECT_EQ(closesWhileBusy, 1);
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(unitsAfter, 8);
    EXPECT_FALSE(FileExists(server.DataDir() + "/units/0"));
}

}  // namespace
}  // namespace vantic
