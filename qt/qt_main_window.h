#pragma once

// The main window on Qt: a QMainWindow whose menu bar is built from the
// command table, with the main dialog as its central widget above the
// status bar. The dialog is laid out by Qt layouts: as the window grows,
// the unit list takes the upper half of the extra height, the channel tabs
// with the playlist list the lower half, and the "Current Playlist:" line
// and the buttons move down by half of it keeping their size, the buttons
// along the right edge. Accelerators are seen by an application-wide
// filter while the main window is active: the command runs first, then the
// key still goes to the focused control; F1 opens the user manual. A right
// click on a unit or clip row offers that row's menu commands.

#include <QMainWindow>
#include <QObject>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/main_window_view.h"

class QAction;
class QLabel;
class QLayout;
class QLineEdit;
class QMenu;
class QStringListModel;
class QTimer;
class QPushButton;
class QStatusBar;
class QTabWidget;

namespace vantic {

class QtListControl;

class QtMainWindowView final : public QObject, public MainWindowView {
  public:
    QtMainWindowView();
    ~QtMainWindowView() override;

    [[nodiscard]] WindowId CreateMainWindow(const std::string& title,
                                            std::span<const CommandItem> commands,
                                            MainWindowEvents& events) override;
    void RemoveCommand(int commandId) override;
    void SetCommandEnabled(int commandId, bool enabled) override;
    void CreateStatusBar(const std::string& text) override;
    void SetStatusLine(const std::string& text) override;
    [[nodiscard]] bool CreateMainDialog(std::span<const ButtonItem> buttons) override;
    [[nodiscard]] ListControl* UnitList() override;
    [[nodiscard]] ListControl* PlaylistList() override;
    void SetStatusCounts(const StatusCounts& counts) override;
    void SetUnitFilterText(const std::string& text) override;
    void SetUnitGroups(const std::vector<std::string>& names) override;
    [[nodiscard]] std::optional<std::string> AskGroupName(const std::string& filter) override;
    void SetPlaylistTitle(const std::string& text) override;
    void InsertTab(int index, const std::string& text) override;
    void ShowMainWindow() override;
    void BringToFront() override;
    void ClearFocus() override;
    void PostCommand(int commandId) override;
    void RunMessageLoop() override;
    void PostQuit() override;
    void DestroyMainWindow() override;

    // The window and its parts, for tests and the screenshot hook; null
    // before they are made.
    [[nodiscard]] QMainWindow* Window() const;
    [[nodiscard]] QAction* Action(int commandId) const;
    [[nodiscard]] QWidget* Dialog() const { return dialog_; }
    [[nodiscard]] QtListControl* UnitListWidget() const { return units_; }
    [[nodiscard]] QtListControl* PlaylistWidget() const { return playlist_; }
    [[nodiscard]] QTabWidget* Tabs() const { return tabs_; }
    [[nodiscard]] QLabel* TitleLabel() const { return title_; }
    [[nodiscard]] QStatusBar* StatusBar() const { return statusBar_; }
    [[nodiscard]] QLineEdit* FilterField() const { return filter_; }
    [[nodiscard]] QLabel* CountsLabel() const { return counts_; }
    [[nodiscard]] QMenu* Menu(const std::string& title) const;
    // The button that runs commandId; null when none does.
    [[nodiscard]] QPushButton* Button(int commandId) const;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    class Frame;

    [[nodiscard]] int AcceleratorFor(int key, Qt::KeyboardModifiers modifiers) const;
    [[nodiscard]] QLayout* NewButtonRow(std::span<const ButtonItem> buttons);
    [[nodiscard]] QTabWidget* NewChannelTabs();
    // A right click on a row of list: the row is selected (alone, unless it
    // was already among the selected), then a menu of those commands' own
    // menu actions opens there.
    void OfferRowCommands(QtListControl* list, std::span<const int> commands);
    void ShowRowMenu(QtListControl& list, std::span<const int> commands, const QPoint& at);
    // The filter field above the unit list: Ctrl+F focuses it, Escape
    // clears it, the groups complete it, and the list follows its text once
    // typing pauses.
    [[nodiscard]] QLineEdit* NewFilterField();
    // The one playlist list moves to the page of the tab shown.
    void ShowPlaylistOnCurrentTab();

    std::unique_ptr<Frame> window_;
    QWidget* dialog_ = nullptr;
    QStatusBar* statusBar_ = nullptr;
    QString statusLine_;
    QtListControl* units_ = nullptr;
    QtListControl* playlist_ = nullptr;
    QLabel* title_ = nullptr;
    QLineEdit* filter_ = nullptr;
    QTimer* filterPause_ = nullptr;
    QStringListModel* groupNames_ = nullptr;
    QLabel* counts_ = nullptr;
    std::map<std::string, QMenu*> menus_;  // by title
    std::vector<QAction*> groupActions_;   // the Groups menu's items made from the groups
    QMenu* deleteGroups_ = nullptr;        // its "Delete Group" submenu
    QTabWidget* tabs_ = nullptr;
    MainWindowEvents* events_ = nullptr;
    std::map<int, QAction*> actions_;
    std::map<int, QPushButton*> buttons_;  // by the command each runs
    std::map<int, int> accelerators_;      // Qt key with Ctrl -> accelerator id
    bool quitPosted_ = false;
};

}  // namespace vantic
