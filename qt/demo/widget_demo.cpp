// Shows the controller's main window with sample rows (list views that own
// them, laid out by the window itself), the deployment progress dialog over it and
// the login form and the crawl text form, without a server.

#include <QApplication>
#include <QMainWindow>
#include <QScreen>
#include <QTimer>
#include <memory>
#include <string>
#include <vector>

#include "core/product_identity.h"
#include "framework/wlistview.h"
#include "framework/wprogress.h"
#include "playlist/play_entry.h"
#include "qt/qt_admin_forms.h"
#include "qt/qt_list_control.h"
#include "qt/qt_login_form.h"
#include "qt/qt_main_window.h"
#include "qt/qt_platform.h"
#include "qt/qt_style.h"
#include "qt/qt_window.h"

namespace vantic {
namespace {

namespace pl = progress_layout;

// A row: its cell texts.
struct Cells : RowData {
    explicit Cells(std::vector<std::string> texts) : texts(std::move(texts)) {}
    std::vector<std::string> texts;
};

class CellList : public WListView {
  public:
    using WListView::WListView;
    ~CellList() override { Clear(); }
    void FillRow(int row, RowData* data) override {
        const auto& texts = static_cast<Cells*>(data)->texts;
        for (int column = 0; column < ColumnCount() && column < static_cast<int>(texts.size());
             ++column) {
            Control()->SetCellText(row, column, texts[column]);
        }
    }
};

// The real main window with sample rows: only its layout follows events.
class Demo : private MainWindowEvents {
  public:
    Demo() : units_(platform_.Messages()), clips_(platform_.Messages()) {
        window_ = view_.CreateMainWindow(std::string(identity::kTitle), CommandTable(), *this);
        view_.CreateStatusBar("Ready...");
        (void)view_.CreateMainDialog(ButtonTable());
        for (int channel = 0; channel < kChannelCount; ++channel) {
            view_.InsertTab(channel, std::string(ChannelNames[channel]));
        }
        units_.Attach(view_.UnitList());
        clips_.Attach(view_.PlaylistList());
        units_.Control()->SetGridLines(true);
        clips_.Control()->SetGridLines(true);
        view_.SetPlaylistTitle("Current Playlist: night.show");
        FillUnits();
        FillClips();
        view_.Window()->setGeometry(40, 40, 1060, 680);
    }

    void Show() { view_.ShowMainWindow(); }

    void OpenProgress() {
        progress_.Open(window_, pl::kOperation, pl::kOverallBar, pl::kOverallLabel, 8);
        progress_.SetOverall(3, 8);
        progress_.StartItem(pl::kItemBar, 0, 5);
        progress_.SetItem(3, 5);
        progress_.SetText(pl::kStatusLine, "Media Player #12 - Uploading New Configuration");
        progress_.SetText(pl::kTransferLine, "400000 of 1000000 - 320 kbit/sec - 15 seconds left");
    }
    void CloseProgress() { progress_.Close(); }
    // Runs the login form as the operator finds it with everything stored.
    void RunLogin() {
        LoginForm form = OpenLoginForm("venue.example.com", "operator", true, true);
        QtLoginFormView view;
        view.RunLoginForm(window_, form, [](const LoginForm&) { return true; });
    }
    // Runs "Set Crawl Text" as it opens after an earlier use.
    void RunCrawlForm() {
        CrawlForm form{
            "Welcome to Harbor Mall - <date> <time>\r\n<rss:http://news.example.com/"
            "feed.xml>\r\n",
            "30"};
        QtAdminFormsView view;
        view.RunCrawlForm(window_, form, [](const CrawlForm&, WindowId) { return true; });
    }

  private:
    void OnCommand(int /*commandId*/) override {}
    void OnButton(int /*commandId*/) override {}
    void OnCloseRequest() override { QCoreApplication::quit(); }
    void OnTabSelected(int /*index*/) override {}

    void FillUnits() {
        const std::pair<const char*, int> columns[] = {{"Unit #", 60},
                                                       {"Notes", 220},
                                                       {"Status", 150},
                                                       {"Last Player Call-In", 170},
                                                       {"Next Scheduled Call-In", 170}};
        for (auto [title, width] : columns) {
            units_.InsertColumn(title, width);
        }
        const std::vector<std::vector<std::string>> rows = {
            {"7", "[Harbor Foods] Checkout lanes", "OK", "Sun Dec 06 13:52:13 2026",
             "Sun Dec 06 15:52:13 2026"},
            {"12", "[Harbor Foods] Deli counter", "Late Calling In", "Sat Dec 05 09:14:40 2026",
             "Sat Dec 05 11:14:40 2026"},
            {"19", "[Northgate Mall] Food court", "OK", "Sun Dec 06 13:40:02 2026",
             "Sun Dec 06 15:40:02 2026"},
            {"23", "[Northgate Mall] East entrance", "Check Network Connection",
             "Thu Dec 03 22:05:51 2026", "Fri Dec 04 00:05:51 2026"},
            {"31", "Caf\xE9 lobby", "OK", "Sun Dec 06 13:47:30 2026", "Sun Dec 06 14:47:30 2026"},
            {"44", "[Riverside Clinic] Waiting room", "Factory Defaults",
             "Mon Nov 30 08:00:12 2026", "Mon Nov 30 10:00:12 2026"}};
        for (const auto& row : rows) {
            units_.InsertRow(std::make_unique<Cells>(row));
        }
        units_.SelectRow(1, true);
        units_.SelectRow(2, true);
    }

    void FillClips() {
        const std::pair<const char*, int> columns[] = {
            {"", 30},     {"Media File", 170}, {"Duration", 70}, {"Size", 80},  {"Day", 60},
            {"Time", 90}, {"Start Date", 80},  {"End Date", 80}, {"Audio", 60}, {"Notes", 120}};
        for (auto [title, width] : columns) {
            clips_.InsertColumn(title, width);
        }
        const std::vector<std::vector<std::string>> rows = {
            {"", "winter_sale.mpg", "30", "14.2 MB", "All", "All Day", "12/01/2026", "12/31/2026",
             "On", "Front screens"},
            {"", "store_hours.jpg", "10", "412 KB", "All", "08:00-22:00", "", "", "Off", ""},
            {"", "holiday_menu.mp4", "45", "38.9 MB", "Sat,Sun", "11:00-14:00", "12/05/2026",
             "12/27/2026", "On", "Lunch"},
            {"", "loyalty_card.avi", "Auto", "22.0 MB", "All", "All Day", "", "", "On", ""},
            {"", "new_year.wmv", "20", "9.6 MB", "All", "All Day", "12/26/2026", "01/02/2027", "On",
             "Countdown"}};
        for (const auto& row : rows) {
            clips_.InsertRow(std::make_unique<Cells>(row));
        }
        clips_.NumberColumn(0);
        clips_.SelectRow(2, true);
    }

    QtPlatform platform_;
    QtMainWindowView view_;
    WindowId window_ = kNoWindow;
    CellList units_;
    CellList clips_;
    WProgress progress_{platform_};
};

bool SaveScreen(const QString& path) {
    QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr && screen->grabWindow(0).save(path);
}

}  // namespace
}  // namespace vantic

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    vantic::ApplyProgramStyle(app);
    const QStringList args = app.arguments();
    const int at = args.indexOf("--screenshot");
    const QString directory = at >= 0 && at + 1 < args.size() ? args[at + 1] : QString();

    vantic::Demo demo;
    demo.Show();
    if (directory.isEmpty()) {
        QTimer::singleShot(1500, [&demo] { demo.OpenProgress(); });
        return app.exec();
    }
    int failures = 0;
    QTimer::singleShot(1000, [&] {
        failures += vantic::SaveScreen(directory + "/main.png") ? 0 : 1;
        demo.OpenProgress();
        QTimer::singleShot(800, [&] {
            failures += vantic::SaveScreen(directory + "/progress.png") ? 0 : 1;
            demo.CloseProgress();
            QTimer::singleShot(800, [&] {
                failures += vantic::SaveScreen(directory + "/login.png") ? 0 : 1;
                if (QWidget* login = QApplication::activeModalWidget()) {
                    login->close();
                }
            });
            demo.RunLogin();
            QTimer::singleShot(800, [&] {
                failures += vantic::SaveScreen(directory + "/crawl.png") ? 0 : 1;
                if (QWidget* crawl = QApplication::activeModalWidget()) {
                    crawl->close();
                }
            });
            demo.RunCrawlForm();
            app.quit();
        });
    });
    app.exec();
    return failures;
}
