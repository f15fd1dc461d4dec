// The unit list as the operator sees it on Qt: the status bar tells when the
// units were fetched, and each status carries a dot of its own colour.

#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QStatusBar>
#include <QTreeWidget>
#include <map>
#include <set>
#include <string>

#include "framework/worker.h"
#include "qt/qt_list_control.h"
#include "tests/qt/qt_app_rig.h"

namespace vantic {
namespace {

class QtAppStatus : public testing::QtAppRig {};

// The colour at the middle of a status cell's dot.
QRgb DotColour(const QTreeWidgetItem& item, int column) {
    const QImage dot = item.icon(column).pixmap(16, 16).toImage();
    return dot.pixel(dot.width() / 2, dot.height() / 2);
}

TEST_F(QtAppStatus, TheStatusBarAndTheDotsTellTheUnitsState) {
    RunWith([&] {
        auto* bar = Window()->findChild<QStatusBar*>();
        ASSERT_NE(bar, nullptr);
        EXPECT_TRUE(QRegularExpression("^Units updated at \\d\\d:\\d\\d \\(8 units\\)$")
                        .match(bar->currentMessage())
                        .hasMatch())
            << bar->currentMessage().toStdString();

        QTreeWidget* units = nullptr;
        for (auto* list : Window()->findChildren<QTreeWidget*>()) {
            if (list->headerItem()->text(2) == "Status") {
                units = list;
            }
        }
        ASSERT_NE(units, nullptr);
        // One colour per status text, and no two statuses share one.
        std::map<QString, QRgb> colours;
        for (int row = 0; row < units->topLevelItemCount(); ++row) {
            const QTreeWidgetItem& item = *units->topLevelItem(row);
            ASSERT_FALSE(item.icon(2).isNull()) << item.text(2).toStdString();
            const auto [known, added] = colours.emplace(item.text(2), DotColour(item, 2));
            EXPECT_TRUE(added || known->second == DotColour(item, 2));
        }
        ASSERT_GE(colours.size(), 3u);  // the demo venue has OK, late and silent units
        EXPECT_GT(qGreen(colours.at("OK")), qRed(colours.at("OK")));
        EXPECT_GT(qRed(colours.at("Check Network Connection")),
                  qGreen(colours.at("Check Network Connection")));
        std::set<QRgb> distinct;
        for (const auto& [status, colour] : colours) {
            distinct.insert(colour);
        }
        EXPECT_EQ(distinct.size(), colours.size());
    });
}

// A refresh worker that finds the server gone tells the bar as it ends,
// and the dots go grey.
TEST_F(QtAppStatus, ARefreshThatFindsTheServerGoneShowsAtOnce) {
    RunWith([&] {
        const std::string address = server.Address();
        server.Kill();
        ASSERT_TRUE(app->Venue().RefreshInBackground());
        while (LiveWorkers() > 0) {  // its changes come through the loop
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        }
        const std::string line = Window()->findChild<QStatusBar*>()->currentMessage().toStdString();
        EXPECT_EQ(line.rfind("Connection refused by " + address + " since ", 0), 0u) << line;
        EXPECT_TRUE(view->UnitListWidget()->Stale());
    });
}

}  // namespace
}  // namespace vantic
