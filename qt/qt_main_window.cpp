#include "qt/qt_main_window.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>
#include <QTabWidget>
#include <QTimer>

#include "qt/qt_list_control.h"
#include "qt/qt_text.h"
#include "qt/qt_window.h"

namespace vantic {

namespace {

namespace d = main_dialog;

// The main dialog's design size; the window never gets smaller than this
// plus the status bar.
constexpr int kDialogWidth = 840;
constexpr int kDialogHeight = 560;
constexpr int kMargin = 8;
constexpr int kRowHeight = 30;
constexpr int kDefaultWidth = 870;
constexpr int kDefaultHeight = 690;

template <class Widget>
Widget* Place(QWidget* dialog, int itemId, Widget* widget, const QRect& rect) {
    widget->setParent(dialog);
    widget->setGeometry(rect);
    SetItemId(widget, itemId);
    return widget;
}

}  // namespace

// The top-level window: a close request goes to the application, which
// decides whether the program quits; the window itself never closes.
class QtMainWindowView::Frame final : public QMainWindow {
  public:
    explicit Frame(MainWindowEvents& events) : events_(events) {}

    // Shows the window. A size set while it was hidden was meant as the
    // outer size, frame included; the frame is only known once the window
    // manager has framed the window, so the size is corrected then, once.
    void ShowKeepingOuterSize() {
        outerSize_ = size();
        outerPlace_ = pos();
        show();
        QTimer::singleShot(kFrameWaitMs, this, [this] { outerSize_ = QSize(); });
    }

  protected:
    void closeEvent(QCloseEvent* event) override {
        event->ignore();
        events_.OnCloseRequest();
    }
    bool event(QEvent* event) override {
        const bool handled = QMainWindow::event(event);
        if (outerSize_.isValid() &&
            (event->type() == QEvent::Move || event->type() == QEvent::Resize)) {
            const QSize frame = frameGeometry().size() - geometry().size();
            if (frame.width() > 0 || frame.height() > 0) {
                const QSize wanted = outerSize_ - frame;
                outerSize_ = QSize();
                resize(wanted);
                move(outerPlace_);
            }
        }
        return handled;
    }

  private:
    static constexpr int kFrameWaitMs = 3000;
    MainWindowEvents& events_;
    QSize outerSize_;
    QPoint outerPlace_;
};

// The client area under the menu bar: the main dialog's parent.
class QtMainWindowView::ClientArea final : public QWidget {
  public:
    explicit ClientArea(MainWindowEvents& events) : events_(events) {}

  protected:
    void resizeEvent(QResizeEvent* event) override {
        QWidget::resizeEvent(event);
        events_.OnSize();
    }

  private:
    MainWindowEvents& events_;
};

QtMainWindowView::QtMainWindowView() = default;

QtMainWindowView::~QtMainWindowView() {
    DestroyMainWindow();
}

WindowId QtMainWindowView::CreateMainWindow(const std::string& title,
                                            std::span<const CommandItem> commands,
                                            MainWindowEvents& events) {
    events_ = &events;
    window_ = std::make_unique<Frame>(events);
    window_->setWindowTitle(FromText(title));
    // Where the system would put a new window: centred on the main screen.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        const QSize size(std::min(area.width(), kDefaultWidth),
                         std::min(area.height(), kDefaultHeight));
        window_->setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size, area));
    }
    client_ = new ClientArea(events);
    window_->setCentralWidget(client_);

    QMenu* menu = nullptr;
    std::string_view menuTitle;
    for (const CommandItem& item : commands) {
        if (menu == nullptr || item.menu != menuTitle) {
            menuTitle = item.menu;
            menu = window_->menuBar()->addMenu(FromText(item.menu));
        }
        // The text after a tab is the menu's right-aligned shortcut column;
        // it binds nothing, the accelerators below do.
        QString text = FromText(item.label);
        if (!item.shortcut.empty()) {
            text += '\t' + FromText(item.shortcut);
        }
        QAction* action = menu->addAction(text);
        const int id = item.id;
        connect(action, &QAction::triggered, this, [this, id] { events_->OnCommand(id); });
        actions_[id] = action;
        if (item.separatorAfter) {
            menu->addSeparator();
        }
        if (item.acceleratorId != 0) {
            const QKeySequence keys(FromText("Ctrl+" + std::string(item.acceleratorKey)));
            accelerators_[keys[0].key()] = item.acceleratorId;
        }
    }
    qApp->installEventFilter(this);
    return IdOf(window_.get());
}

QMainWindow* QtMainWindowView::Window() const {
    return window_.get();
}

QAction* QtMainWindowView::Action(int commandId) const {
    const auto found = actions_.find(commandId);
    return found == actions_.end() ? nullptr : found->second;
}

void QtMainWindowView::RemoveCommand(int commandId) {
    QAction* action = Action(commandId);
    if (action == nullptr) {
        return;
    }
    actions_.erase(commandId);
    delete action;  // leaves its menu
}

void QtMainWindowView::EnableCommand(int commandId, bool enabled) {
    if (QAction* action = Action(commandId)) {
        action->setEnabled(enabled);
    }
}

WindowId QtMainWindowView::CreateStatusBar(const std::string& text) {
    if (client_ == nullptr) {
        return kNoWindow;
    }
    statusBar_ = new QStatusBar(client_);
    statusBar_->setSizeGripEnabled(true);
    statusBar_->showMessage(FromText(text));
    SetItemId(statusBar_, d::kStatusBar);
    statusBar_->show();
    return IdOf(statusBar_);
}

void QtMainWindowView::SetStatusText(const std::string& text) {
    if (statusBar_ != nullptr) {
        statusBar_->showMessage(FromText(text));
    }
}

void QtMainWindowView::PlaceStatusBar() {
    if (statusBar_ == nullptr) {
        return;
    }
    const int height = statusBar_->sizeHint().height();
    statusBar_->setGeometry(0, client_->height() - height, client_->width(), height);
}

WindowId QtMainWindowView::CreateMainDialog(std::span<const ButtonItem> buttons) {
    if (client_ == nullptr) {
        return kNoWindow;
    }
    auto* dialog = new QWidget(client_);
    dialog->setGeometry(0, 0, kDialogWidth, kDialogHeight);
    const int right = kDialogWidth - kMargin;
    const int half = (kDialogHeight - kRowHeight - 4 * kMargin) / 2;

    // The unit list above; the label and buttons; the channel tabs with
    // the playlist list inside their pane below.
    Place(dialog, d::kUnitList, new QtListControl, QRect(kMargin, kMargin, right - kMargin, half));
    const int rowTop = kMargin + half + kMargin;
    int x = right;
    for (auto button = buttons.rbegin(); button != buttons.rend(); ++button) {
        auto* push = new QPushButton(FromText(button->text));
        const int width = std::max(84, push->sizeHint().width() + 8);
        x -= width;
        Place(dialog, button->id, push, QRect(x, rowTop, width, kRowHeight));
        const int id = button->id;
        connect(push, &QPushButton::clicked, this, [this, id] { events_->OnButton(id); });
        x -= 6;
    }
    auto* label = new QLabel(FromText("Current Playlist: < not named >"));
    Place(dialog, d::kPlaylistLabel, label, QRect(kMargin, rowTop, x - 2 * kMargin, kRowHeight));

    const int tabsTop = rowTop + kRowHeight + kMargin;
    tabs_ = Place(dialog, d::kChannelTabs, new QTabWidget,
                  QRect(kMargin, tabsTop, right - kMargin, kDialogHeight - kMargin - tabsTop));
    tabs_->setDocumentMode(false);
    connect(tabs_, &QTabWidget::currentChanged, this,
            [this](int index) { events_->OnTabSelected(index); });
    // The pane starts below the tab headers; measure them with one tab.
    int header = 0;
    {
        const QSignalBlocker quiet(tabs_);
        tabs_->addTab(new QWidget, "Video");
        header = tabs_->tabBar()->sizeHint().height();
        delete tabs_->widget(0);
    }
    auto* playlist = Place(dialog, d::kPlaylistList, new QtListControl,
                           QRect(kMargin + 5, tabsTop + header + 5, right - kMargin - 10,
                                 kDialogHeight - kMargin - tabsTop - header - 10));
    playlist->raise();
    dialog->show();
    // The window never gets smaller than the dialog and the status bar.
    const int status = statusBar_ != nullptr ? statusBar_->sizeHint().height() : 0;
    client_->setMinimumSize(kDialogWidth, kDialogHeight + status);
    return IdOf(dialog);
}

void QtMainWindowView::InsertTab(int index, const std::string& text) {
    if (tabs_ == nullptr) {
        return;
    }
    const QSignalBlocker quiet(tabs_);
    tabs_->insertTab(index, new QWidget, FromText(text));
}

void QtMainWindowView::ShowMainWindow() {
    if (window_) {
        window_->ShowKeepingOuterSize();
    }
}

void QtMainWindowView::BringToFront() {
    if (!window_) {
        return;
    }
    if (window_->isMinimized()) {
        window_->showNormal();
    }
    window_->show();
    window_->raise();
    window_->activateWindow();
}

void QtMainWindowView::ClearFocus() {
    if (QWidget* focused = QApplication::focusWidget()) {
        focused->clearFocus();
    }
}

void QtMainWindowView::PostCommand(int commandId) {
    QMetaObject::invokeMethod(
        this,
        [this, commandId] {
            if (events_ != nullptr && window_) {
                events_->OnCommand(commandId);
            }
        },
        Qt::QueuedConnection);
}

void QtMainWindowView::RunMessageLoop() {
    if (!quitPosted_) {
        QApplication::exec();
    }
}

void QtMainWindowView::PostQuit() {
    quitPosted_ = true;
    QCoreApplication::exit(0);
}

void QtMainWindowView::DestroyMainWindow() {
    qApp->removeEventFilter(this);
    actions_.clear();
    statusBar_ = nullptr;
    tabs_ = nullptr;
    client_ = nullptr;
    window_.reset();
}

int QtMainWindowView::AcceleratorFor(int key, Qt::KeyboardModifiers modifiers) const {
    if ((modifiers & ~Qt::KeypadModifier) != Qt::ControlModifier) {
        return 0;
    }
    const auto found = accelerators_.find(key);
    return found == accelerators_.end() ? 0 : found->second;
}

// The accelerators, for keys typed while the main window is active and no
// modal dialog is up. Each key is looked at once, on its first receiver.
bool QtMainWindowView::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress || !window_ || events_ == nullptr) {
        return false;
    }
    if (QApplication::activeModalWidget() != nullptr ||
        QApplication::activeWindow() != window_.get()) {
        return false;
    }
    QWidget* first = QApplication::focusWidget();
    if (watched != (first != nullptr ? first : window_.get())) {
        return false;
    }
    const auto* key = static_cast<QKeyEvent*>(event);
    const int id = AcceleratorFor(key->key(), key->modifiers());
    if (id == 0) {
        return false;
    }
    events_->OnCommand(id);
    // The key still reaches the control, except where a list would take it
    // for "select all": Ctrl+A adds media, and a following Delete must not
    // find every row selected.
    return key->matches(QKeySequence::SelectAll) && qobject_cast<QAbstractItemView*>(watched);
}

}  // namespace vantic
