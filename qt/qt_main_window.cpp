#include "qt/qt_main_window.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCompleter>
#include <QInputDialog>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QStatusBar>
#include <QStringListModel>
#include <QStyle>
#include <QTabWidget>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>

#include "qt/qt_blocking_calls.h"
#include "qt/qt_dialogs.h"
#include "qt/qt_list_control.h"
#include "qt/qt_text.h"
#include "qt/qt_window.h"

namespace vantic {

namespace {

// The main dialog's design size; the window never gets smaller than this
// plus the status bar.
constexpr int kDialogWidth = 840;
constexpr int kDialogHeight = 560;
constexpr int kMargin = 8;
constexpr int kRowHeight = 30;
constexpr int kButtonGap = 6;
constexpr int kMinButtonWidth = 84;
// Between the playlist list and the tab pane's frame: the list sits 5
// pixels inside the pane on every side.
constexpr int kPaneSide = 3;
constexpr int kPaneTop = 5;
constexpr int kDefaultWidth = 870;
constexpr int kDefaultHeight = 690;
// The list follows the filter once typing pauses this long, so a fast
// typist's word is applied once rather than letter by letter.
constexpr int kFilterPauseMs = 150;

// Grows with the dialog only through its stretch factor, whatever it would
// like to be: the two lists' halves of the height stay equal.
void StretchEvenly(QWidget* widget) {
    widget->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Ignored);
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

    QMenu* menu = nullptr;
    std::string_view menuTitle;
    for (const CommandItem& item : commands) {
        if (menu == nullptr || item.menu != menuTitle) {
            menuTitle = item.menu;
            menu = window_->menuBar()->addMenu(FromText(item.menu));
            menus_[std::string(item.menu)] = menu;
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
            accelerators_[keys[0].toCombined()] = item.acceleratorId;
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

QPushButton* QtMainWindowView::Button(int commandId) const {
    const auto found = buttons_.find(commandId);
    return found == buttons_.end() ? nullptr : found->second;
}

void QtMainWindowView::SetCommandEnabled(int commandId, bool enabled) {
    if (QAction* action = Action(commandId)) {
        action->setEnabled(enabled);
    }
    if (QPushButton* button = Button(commandId)) {
        button->setEnabled(enabled);
    }
}

void QtMainWindowView::CreateStatusBar(const std::string& text) {
    if (!window_) {
        return;
    }
    statusBar_ = new QStatusBar;
    statusBar_->setSizeGripEnabled(true);
    window_->setStatusBar(statusBar_);
    // An open menu clears the bar's message (the empty tips of its items);
    // the line the application set comes back as soon as it does.
    connect(statusBar_, &QStatusBar::messageChanged, this, [this](const QString& message) {
        if (message.isEmpty() && !statusLine_.isEmpty()) {
            statusBar_->showMessage(statusLine_);
        }
    });
    SetStatusLine(text);
    // The counts stand on their own at the right, apart from the line.
    counts_ = new QLabel;
    counts_->setTextFormat(Qt::RichText);
    counts_->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    counts_->setToolTip(QStringLiteral("Click a count to show only those units"));
    connect(counts_, &QLabel::linkActivated, this, [this](const QString& link) {
        SetUnitFilterText(ToText(QUrl::fromPercentEncoding(link.toLatin1())));
    });
    statusBar_->addPermanentWidget(counts_);
}

// Told with the refresh line, from whichever thread changed the list.
void QtMainWindowView::SetStatusCounts(const StatusCounts& counts) {
    RunOnThreadOf(this, [&] {
        if (counts_ == nullptr) {
            return;
        }
        QString html = FromText(StatusCountsLead(counts)).toHtmlEscaped();
        for (std::size_t i = 0; i < counts.counts.size(); ++i) {
            const StatusCount& count = counts.counts[i];
            const QString link =
                QString::fromLatin1(FromText(count.filter).toUtf8().toPercentEncoding());
            html += (i > 0 ? QStringLiteral(", ") : QString()) + QStringLiteral("<a href=\"") +
                    link + QStringLiteral("\">") + FromText(count.label).toHtmlEscaped() +
                    QStringLiteral("</a>");
        }
        counts_->setText(html);
    });
}

// A refresh worker or an operation may tell the line; it is shown on the
// windows' thread.
void QtMainWindowView::SetStatusLine(const std::string& text) {
    RunOnThreadOf(this, [&] {
        statusLine_ = FromText(text);
        if (statusBar_ != nullptr) {
            statusBar_->showMessage(statusLine_);
        }
    });
}

bool QtMainWindowView::CreateMainDialog(std::span<const ButtonItem> buttons) {
    if (!window_) {
        return false;
    }
    dialog_ = new QWidget;
    // The window never gets smaller than the dialog and the status bar.
    dialog_->setMinimumSize(kDialogWidth, kDialogHeight);
    auto* column = new QVBoxLayout(dialog_);
    column->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
    column->setSpacing(kMargin);
    filter_ = NewFilterField();
    column->addWidget(filter_);
    units_ = new QtListControl;
    StretchEvenly(units_);
    column->addWidget(units_, 1);
    column->addLayout(NewButtonRow(buttons));
    tabs_ = NewChannelTabs();
    column->addWidget(tabs_, 1);
    window_->setCentralWidget(dialog_);
    OfferRowCommands(units_, UnitRowCommands());
    OfferRowCommands(playlist_, ClipRowCommands());
    return true;
}

void QtMainWindowView::OfferRowCommands(QtListControl* list, std::span<const int> commands) {
    list->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(list, &QWidget::customContextMenuRequested, this,
            [this, list, commands](const QPoint& at) { ShowRowMenu(*list, commands, at); });
}

// The actions are the menu bar's own: they run through OnCommand, are
// enabled as the menu items are, and a removed one is not offered.
void QtMainWindowView::ShowRowMenu(QtListControl& list, std::span<const int> commands,
                                   const QPoint& at) {
    const QModelIndex hit = list.indexAt(at);
    if (!hit.isValid()) {
        return;
    }
    if (!list.selectionModel()->isRowSelected(hit.row(), hit.parent())) {
        list.selectionModel()->setCurrentIndex(
            hit, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    }
    QMenu menu(&list);
    menu.setObjectName("rowMenu");
    for (const int id : commands) {
        if (id == 0) {
            menu.addSeparator();
        } else if (QAction* action = Action(id)) {
            menu.addAction(action);
        }
    }
    menu.exec(list.viewport()->mapToGlobal(at));
}

// The "Current Playlist:" line keeps the width it has at the design size;
// the buttons stand at the right edge, left to right.
QLayout* QtMainWindowView::NewButtonRow(std::span<const ButtonItem> buttons) {
    auto* row = new QHBoxLayout;
    row->setSpacing(0);
    title_ = new QLabel(FromText("Current Playlist: < not named >"));
    row->addWidget(title_);
    row->addStretch(1);
    int buttonsWidth = 0;
    for (const ButtonItem& item : buttons) {
        auto* button = new QPushButton(FromText(item.text));
        button->setFixedSize(std::max(kMinButtonWidth, button->sizeHint().width() + 8), kRowHeight);
        if (buttonsWidth > 0) {
            row->addSpacing(kButtonGap);
            buttonsWidth += kButtonGap;
        }
        buttonsWidth += button->width();
        row->addWidget(button);
        const int command = item.command;
        connect(button, &QPushButton::clicked, this,
                [this, command] { events_->OnButton(command); });
        buttons_[command] = button;
    }
    const int rowWidth = kDialogWidth - 2 * kMargin;
    title_->setFixedSize(std::max(0, rowWidth - buttonsWidth - kButtonGap - kMargin), kRowHeight);
    return row;
}

QLineEdit* QtMainWindowView::NewFilterField() {
    auto* field = new QLineEdit;
    field->setPlaceholderText(QStringLiteral("Filter units"));
    field->setClearButtonEnabled(true);
    field->setToolTip(
        QStringLiteral("Words the unit number, notes, status or owner must all contain;\n"
                       "status:late, owner:Harbor and #1012 look at one column (Ctrl+F)"));
    filterPause_ = new QTimer(field);
    filterPause_->setSingleShot(true);
    filterPause_->setInterval(kFilterPauseMs);
    connect(filterPause_, &QTimer::timeout, this, [this] {
        if (events_ != nullptr && filter_ != nullptr) {
            events_->OnUnitFilterChanged(ToText(filter_->text()));
        }
    });
    connect(field, &QLineEdit::textChanged, filterPause_, qOverload<>(&QTimer::start));
    auto* clear =
        new QShortcut(QKeySequence(Qt::Key_Escape), field, nullptr, nullptr, Qt::WidgetShortcut);
    connect(clear, &QShortcut::activated, field, &QLineEdit::clear);
    auto* find = new QShortcut(QKeySequence::Find, window_.get());
    connect(find, &QShortcut::activated, field, [field] {
        field->setFocus(Qt::ShortcutFocusReason);
        field->selectAll();
    });
    groupNames_ = new QStringListModel(field);
    auto* completer = new QCompleter(groupNames_, field);
    completer->setCaseSensitivity(Qt::CaseInsensitive);
    completer->setCompletionMode(QCompleter::PopupCompletion);
    // A group's name completes to its filter.
    connect(completer, qOverload<const QString&>(&QCompleter::activated), this,
            [this](const QString& name) {
                QMetaObject::invokeMethod(
                    this,
                    [this, name] {
                        if (events_ != nullptr) {
                            events_->OnGroupChosen(ToText(name));
                        }
                    },
                    Qt::QueuedConnection);
            });
    field->setCompleter(completer);
    return field;
}

void QtMainWindowView::SetUnitFilterText(const std::string& text) {
    if (filter_ != nullptr) {
        filter_->setText(FromText(text));
    }
}

QMenu* QtMainWindowView::Menu(const std::string& title) const {
    const auto found = menus_.find(title);
    return found == menus_.end() ? nullptr : found->second;
}

// May be called from an operation: the menu is rebuilt on the window's thread.
void QtMainWindowView::SetUnitGroups(const std::vector<std::string>& names) {
    RunOnThreadOf(this, [this, &names] {
        QMenu* menu = Menu("&Groups");
        if (menu == nullptr) {
            return;
        }
        for (QAction* action : groupActions_) {
            delete action;
        }
        groupActions_.clear();
        delete deleteGroups_;  // its item in the menu goes with it
        deleteGroups_ = nullptr;
        QStringList completions;
        if (!names.empty()) {
            groupActions_.push_back(menu->addSeparator());
        }
        auto* deleting = new QMenu(QStringLiteral("Delete Group"), menu);
        for (const std::string& name : names) {
            const QString text = FromText(name);
            completions << text;
            QAction* show = menu->addAction(text);
            connect(show, &QAction::triggered, this,
                    [this, name] { events_->OnGroupChosen(name); });
            groupActions_.push_back(show);
            QAction* drop = deleting->addAction(text + QStringLiteral("..."));
            connect(drop, &QAction::triggered, this,
                    [this, name] { events_->OnGroupDeleteChosen(name); });
        }
        if (names.empty()) {
            delete deleting;
        } else {
            groupActions_.push_back(menu->addSeparator());
            menu->addMenu(deleting);
            deleteGroups_ = deleting;
        }
        if (groupNames_ != nullptr) {
            groupNames_->setStringList(completions);
        }
    });
}

std::optional<std::string> QtMainWindowView::AskGroupName(const std::string& filter) {
    return AskOnUiThread(std::optional<std::string>{}, [&]() -> std::optional<std::string> {
        QInputDialog dialog(window_.get());
        dialog.setWindowTitle(QStringLiteral("Save Filter as Group"));
        dialog.setLabelText(QStringLiteral("Name of the group of the units the filter \"") +
                            FromText(filter) + QStringLiteral("\" shows:"));
        dialog.setTextValue(QString());
        PlaceDialog(dialog, window_.get());
        if (dialog.exec() != QDialog::Accepted) {
            return std::nullopt;
        }
        return ToText(dialog.textValue().trimmed());
    });
}

QTabWidget* QtMainWindowView::NewChannelTabs() {
    auto* tabs = new QTabWidget;
    tabs->setDocumentMode(false);
    StretchEvenly(tabs);
    playlist_ = new QtListControl;
    connect(tabs, &QTabWidget::currentChanged, this, [this](int index) {
        ShowPlaylistOnCurrentTab();
        events_->OnTabSelected(index);
    });
    return tabs;
}

void QtMainWindowView::ShowPlaylistOnCurrentTab() {
    QWidget* page = tabs_ != nullptr ? tabs_->currentWidget() : nullptr;
    if (page == nullptr || playlist_->parentWidget() == page) {
        return;
    }
    const bool focused = playlist_->hasFocus();
    if (QWidget* before = playlist_->parentWidget(); before != nullptr && before->layout()) {
        before->layout()->removeWidget(playlist_);
    }
    page->layout()->addWidget(playlist_);
    playlist_->show();
    if (focused) {
        playlist_->setFocus();
    }
}

ListControl* QtMainWindowView::UnitList() {
    return units_;
}

ListControl* QtMainWindowView::PlaylistList() {
    return playlist_;
}

void QtMainWindowView::SetPlaylistTitle(const std::string& text) {
    if (title_ != nullptr) {
        title_->setText(FromText(text));
    }
}

void QtMainWindowView::InsertTab(int index, const std::string& text) {
    if (tabs_ == nullptr) {
        return;
    }
    auto* page = new QWidget;
    auto* fill = new QVBoxLayout(page);
    fill->setContentsMargins(kPaneSide, kPaneTop, kPaneSide, kPaneSide);
    {
        const QSignalBlocker quiet(tabs_);
        tabs_->insertTab(index, page, FromText(text));
    }
    ShowPlaylistOnCurrentTab();
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
    buttons_.clear();
    statusBar_ = nullptr;
    counts_ = nullptr;
    filter_ = nullptr;
    filterPause_ = nullptr;
    groupNames_ = nullptr;
    menus_.clear();
    groupActions_.clear();
    deleteGroups_ = nullptr;
    tabs_ = nullptr;
    title_ = nullptr;
    if (window_ && playlist_ != nullptr && playlist_->parentWidget() == nullptr) {
        delete playlist_;  // made with the tabs, never shown on a page
    }
    units_ = nullptr;
    playlist_ = nullptr;
    dialog_ = nullptr;
    window_.reset();
}

namespace {

// In a text field (the unit filter) the editing keys edit its text: Ctrl+A
// there selects the text instead of adding media.
bool IsTextEditingKey(const QObject* receiver, const QKeyEvent& key) {
    if (qobject_cast<const QLineEdit*>(receiver) == nullptr) {
        return false;
    }
    for (const QKeySequence::StandardKey editing :
         {QKeySequence::SelectAll, QKeySequence::Copy, QKeySequence::Cut, QKeySequence::Paste,
          QKeySequence::Undo, QKeySequence::Redo}) {
        if (key.matches(editing)) {
            return true;
        }
    }
    return false;
}

}  // namespace

int QtMainWindowView::AcceleratorFor(int key, Qt::KeyboardModifiers modifiers) const {
    const Qt::KeyboardModifiers held = modifiers & ~Qt::KeypadModifier;
    if (!(held & Qt::ControlModifier)) {
        return 0;
    }
    const auto found = accelerators_.find(QKeyCombination(held, Qt::Key(key)).toCombined());
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
    if (key->key() == Qt::Key_F1 && key->modifiers() == Qt::NoModifier) {
        events_->OnCommand(command::kUserManual);
        return true;
    }
    const int id = AcceleratorFor(key->key(), key->modifiers());
    if (id == 0 || IsTextEditingKey(watched, *key)) {
        return false;
    }
    events_->OnCommand(id);
    // The key still reaches the control, except where a list would take it
    // for "select all": Ctrl+A adds media, and a following Delete must not
    // find every row selected.
    return key->matches(QKeySequence::SelectAll) && qobject_cast<QAbstractItemView*>(watched);
}

}  // namespace vantic
