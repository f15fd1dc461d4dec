#include "platform/console_platform.h"

#include <algorithm>
#include <istream>
#include <ostream>
#include <string>

#include "core/cpstring.h"

namespace vantic {
namespace {

namespace layout = progress_layout;

volatile std::sig_atomic_t cancelRequested = 0;

extern "C" void OnInterrupt(int /*signal*/) {
    cancelRequested = 1;
}

std::string OneText(const std::string& text) {
    std::string printed = text;
    NormalizeLineEnds(printed, "\n");
    return printed;
}

bool HasLayoutItem(int layoutId, int itemId) {
    const bool common = itemId == layout::kOverallBar || itemId == layout::kOverallLabel ||
                        itemId == layout::kOkButton || itemId == layout::kCancelButton;
    switch (layoutId) {
        case layout::kOperation:
            return common || itemId == layout::kItemBar || itemId == layout::kStatusLine ||
                   itemId == layout::kTransferLine;
        case layout::kSimple:
        case layout::kDownload:
            return common;
        default:
            return false;
    }
}

class NoFileDialogs final : public FileDialogs {
  public:
    [[nodiscard]] std::optional<std::string> RunOpenDialog(const FileDialogRequest&) override {
        return std::nullopt;
    }
    [[nodiscard]] std::optional<std::string> RunSaveDialog(const FileDialogRequest&) override {
        return std::nullopt;
    }
};

class NoDisplays final : public Displays {
  public:
    [[nodiscard]] std::optional<std::vector<Rect>> MonitorRects() const override {
        return std::nullopt;
    }
    [[nodiscard]] Rect WorkArea() const override { return {}; }
};

class NoTimer final : public Timer {};

class NoTimers final : public TimerService {
  public:
    [[nodiscard]] std::unique_ptr<Timer> Start(int, std::function<void()>) override {
        return std::make_unique<NoTimer>();
    }
};

class NoShell final : public ShellLauncher {
  public:
    bool Open(const std::string&, const std::string&) override { return false; }
};

class NoMail final : public MailClient {
  public:
    [[nodiscard]] bool Available() const override { return false; }
    bool SendDocument(WindowId, const std::string&, const std::string&) override { return false; }
    bool Compose(const MailDraft&) override { return false; }
};

class NoPrinter final : public PrintService {
  public:
    PrintOutcome PrintRichText(WindowId, const std::string&, const std::string&) override {
        return PrintOutcome::Failed;
    }
};

class NoNotices final : public DesktopNotices {
  public:
    void Notify(const DesktopNotice& /*notice*/) override {}
};

}  // namespace

void RequestConsoleCancel() {
    cancelRequested = 1;
}

// A progress dialog as lines of text: each status line is printed with the
// overall percentage, which the dialog is told at every change. Bars and
// the transfer line stay silent.
class ConsoleProgressWindow final : public ProgressWindow {
  public:
    ConsoleProgressWindow(ConsoleProgressWindows& owner, std::ostream& out, int layoutId,
                          ProgressButtonHandler onButton)
        : owner_(owner), out_(out), layout_(layoutId), onButton_(std::move(onButton)) {}
    ~ConsoleProgressWindow() override { owner_.Forget(this); }

    [[nodiscard]] WindowId Id() const override {
        return reinterpret_cast<WindowId>(const_cast<ConsoleProgressWindow*>(this));
    }
    [[nodiscard]] bool HasItem(int itemId) const override { return HasLayoutItem(layout_, itemId); }
    void Show() override {}
    [[nodiscard]] bool TakesEveryUpdate() const override { return true; }
    void SetBar(int /*barId*/, int /*percent*/) override {}
    void SetText(int itemId, const std::string& text) override {
        if (itemId == layout::kOverallLabel) {
            overall_ = std::string(TrimmedView(text));
        } else if (itemId == layout::kStatusLine) {
            out_ << "[" << (overall_.empty() ? "0.00%" : overall_) << "] " << text << std::endl;
        }
    }
    // May destroy this window.
    void PressCancel() {
        if (onButton_) {
            onButton_(layout::kCancelButton);
        }
    }

  private:
    ConsoleProgressWindows& owner_;
    std::ostream& out_;
    int layout_ = 0;
    ProgressButtonHandler onButton_;
    std::string overall_;
};

MessageAnswer ConsoleMessageBoxes::Show(const Message& message) {
    out_ << OneText(message.caption) << ": " << OneText(message.text);
    MessageAnswer answer = MessageAnswer::Ok;
    if (message.buttons == MessageButtons::Ok) {
        out_ << std::endl;
    } else {
        answer = ReadAnswer(message.buttons);
    }
    if (!message.details.empty()) {  // the cause, on a line of its own
        out_ << OneText(message.details) << std::endl;
    }
    return answer;
}

MessageAnswer ConsoleMessageBoxes::ShowWithDetails(const Message& message,
                                                   const std::string& details) {
    MessageAnswer answer = Show(message);
    out_ << OneText(details) << std::endl;
    return answer;
}

MessageAnswer ConsoleMessageBoxes::ReadAnswer(MessageButtons buttons) {
    const bool withCancel = buttons == MessageButtons::YesNoCancel;
    if (assumeYes_) {
        out_ << " yes" << std::endl;
        return MessageAnswer::Yes;
    }
    out_ << (withCancel ? " [yes/no/cancel] " : " [yes/no] ") << std::flush;
    std::string line;
    if (!std::getline(in_, line)) {
        out_ << std::endl;
        return withCancel ? MessageAnswer::Cancel : MessageAnswer::No;
    }
    Trim(line);
    if (EqualsNoCase(line, "y") || EqualsNoCase(line, "yes")) {
        return MessageAnswer::Yes;
    }
    if (EqualsNoCase(line, "n") || EqualsNoCase(line, "no") || !withCancel) {
        return MessageAnswer::No;
    }
    return MessageAnswer::Cancel;
}

std::unique_ptr<ProgressWindow> ConsoleProgressWindows::Create(WindowId /*owner*/, int layoutId,
                                                               ProgressButtonHandler onButton) {
    if (!HasLayoutItem(layoutId, layout::kCancelButton)) {
        return nullptr;
    }
    if (open_.empty()) {
        // While a dialog is open, Ctrl+C cancels it rather than ending the program.
        cancelRequested = 0;
        previousInterrupt_ = std::signal(SIGINT, OnInterrupt);
    }
    auto window =
        std::make_unique<ConsoleProgressWindow>(*this, out_, layoutId, std::move(onButton));
    open_.push_back(window.get());
    return window;
}

void ConsoleProgressWindows::Forget(ConsoleProgressWindow* window) {
    std::erase(open_, window);
    if (open_.empty()) {
        std::signal(SIGINT, previousInterrupt_ == SIG_ERR ? SIG_DFL : previousInterrupt_);
    }
}

void ConsoleProgressWindows::CancelOpen() {
    // Pressing Cancel destroys the dialog, and with it its place in the list.
    const std::vector<ConsoleProgressWindow*> pressed = open_;
    for (ConsoleProgressWindow* window : pressed) {
        if (std::find(open_.begin(), open_.end(), window) != open_.end()) {
            window->PressCancel();
        }
    }
}

void ConsoleWindows::PumpMessages() {
    if (cancelRequested != 0) {
        cancelRequested = 0;
        progress_.CancelOpen();
    }
}

struct ConsolePlatform::Absent {
    NoFileDialogs files;
    NoDisplays displays;
    NoTimers timers;
    NoShell shell;
    NoMail mail;
    NoPrinter printer;
    NoNotices notices;
};

ConsolePlatform::ConsolePlatform(std::ostream& out, std::istream& in, bool assumeYes)
    : messages_(out, in, assumeYes),
      progress_(out),
      windows_(progress_),
      absent_(std::make_unique<Absent>()) {}

ConsolePlatform::~ConsolePlatform() = default;

FileDialogs& ConsolePlatform::Files() {
    return absent_->files;
}
Displays& ConsolePlatform::Screens() {
    return absent_->displays;
}
TimerService& ConsolePlatform::Timers() {
    return absent_->timers;
}
ShellLauncher& ConsolePlatform::Shell() {
    return absent_->shell;
}
MailClient& ConsolePlatform::Mail() {
    return absent_->mail;
}
PrintService& ConsolePlatform::Printer() {
    return absent_->printer;
}
DesktopNotices& ConsolePlatform::Notices() {
    return absent_->notices;
}

}  // namespace vantic
