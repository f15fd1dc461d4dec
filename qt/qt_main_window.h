#pragma once

// The main window on Qt: a QMainWindow whose menu bar is built from the
// command table, and whose central client area holds the main dialog and
// the status bar. Accelerators are seen by an application-wide filter
// while the main window is active: the command runs first, then the key
// still goes to the focused control.

#include <QMainWindow>
#include <QObject>
#include <map>
#include <memory>

#include "app/main_window_view.h"

class QAction;
class QStatusBar;
class QTabWidget;

namespace vantic {

class QtMainWindowView final : public QObject, public MainWindowView {
  public:
    QtMainWindowView();
    ~QtMainWindowView() override;

    [[nodiscard]] WindowId CreateMainWindow(const std::string& title,
                                            std::span<const CommandItem> commands,
                                            MainWindowEvents& events) override;
    void RemoveCommand(int commandId) override;
    void EnableCommand(int commandId, bool enabled) override;
    [[nodiscard]] WindowId CreateStatusBar(const std::string& text) override;
    void SetStatusText(const std::string& text) override;
    void PlaceStatusBar() override;
    [[nodiscard]] WindowId CreateMainDialog(std::span<const ButtonItem> buttons) override;
    void InsertTab(int index, const std::string& text) override;
    void ShowMainWindow() override;
    void BringToFront() override;
    void ClearFocus() override;
    void PostCommand(int commandId) override;
    void RunMessageLoop() override;
    void PostQuit() override;
    void DestroyMainWindow() override;

    // The window, for tests and the screenshot hook; null before it is made.
    [[nodiscard]] QMainWindow* Window() const;
    [[nodiscard]] QAction* Action(int commandId) const;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    class Frame;
    class ClientArea;

    [[nodiscard]] int AcceleratorFor(int key, Qt::KeyboardModifiers modifiers) const;

    std::unique_ptr<Frame> window_;
    ClientArea* client_ = nullptr;
    QStatusBar* statusBar_ = nullptr;
    QTabWidget* tabs_ = nullptr;
    MainWindowEvents* events_ = nullptr;
    std::map<int, QAction*> actions_;
    std::map<int, int> accelerators_;  // Qt key with Ctrl -> accelerator id
    bool quitPosted_ = false;
};

}  // namespace vantic
