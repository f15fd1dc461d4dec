#pragma once

// The platform the logic's tests run on. Message boxes, file dialogs and
// the print dialog take their answers from queues the test fills; any of
// them shown with an empty queue, and any answer still queued when the
// test ends, fails the test (see test_main.cpp). Everything shown is
// recorded for the test to check.

#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "tests/support/manual_clock.h"
#include "tests/support/scripted_list.h"
#include "tests/support/scripted_progress.h"
#include "tests/support/scripted_windows.h"

namespace vantic::testing {

class ScriptedMessageBoxes final : public MessageBoxes {
  public:
    MessageAnswer Show(const Message& message) override;
    MessageAnswer ShowWithDetails(const Message& message, const std::string& details) override {
        details_ = details;
        shownDetails_.push_back(details);
        return Show(message);
    }
    // The details of the last box that had some.
    [[nodiscard]] const std::string& LastDetails() const { return details_; }

    // With expectedCaption, the box that takes the answer must carry it.
    void Queue(MessageAnswer answer, std::string expectedCaption = {});
    [[nodiscard]] const std::vector<Message>& Shown() const { return shown_; }
    // Notes answers still queued and forgets them.
    void NoteUnused();
    // Notes every box shown since the last call whose caption, text or
    // details hold a known test password.
    void NotePasswords();

  private:
    struct Answer {
        MessageAnswer answer;
        std::string caption;
    };
    std::deque<Answer> answers_;
    std::vector<Message> shown_;
    std::vector<std::string> shownDetails_;
    std::string details_;
    std::size_t messagesChecked_ = 0;
    std::size_t detailsChecked_ = 0;
};

class ScriptedFileDialogs final : public FileDialogs {
  public:
    struct Shown {
        bool save = false;
        FileDialogRequest request;
    };
    [[nodiscard]] std::optional<std::string> RunOpenDialog(
        const FileDialogRequest& request) override;
    [[nodiscard]] std::optional<std::string> RunSaveDialog(
        const FileDialogRequest& request) override;

    // None: the user cancels.
    void Queue(std::optional<std::string> choice);
    [[nodiscard]] const std::vector<Shown>& ShownDialogs() const { return shown_; }
    void NoteUnused();

  private:
    std::optional<std::string> Answer(bool save, const FileDialogRequest& request);
    std::deque<std::optional<std::string>> choices_;
    std::vector<Shown> shown_;
};

class ScriptedTimers final : public TimerService {
  public:
    [[nodiscard]] std::unique_ptr<Timer> Start(int periodMs, std::function<void()> onTick) override;
    // Ticks every running timer once.
    void FireAll();
    [[nodiscard]] int RunningCount() const;
    [[nodiscard]] std::vector<int> RunningPeriods() const;

  private:
    struct Entry {
        int period = 0;
        std::function<void()> onTick;
        bool running = true;
    };
    std::vector<std::shared_ptr<Entry>> entries_;
};

class ScriptedShell final : public ShellLauncher {
  public:
    struct Opened {
        std::string target;
        std::string parameters;
    };
    bool Open(const std::string& target, const std::string& parameters) override;
    // Recorded as Open records; a failed start gives failureCause.
    [[nodiscard]] ProgramStart StartProgram(const std::string& program,
                                            const std::string& parameters) override;
    [[nodiscard]] std::optional<MissingHelper> Missing() const override { return missing; }
    std::vector<Opened> opened;
    bool result = true;
    std::string failureCause = "cannot execute: Permission denied";
    std::optional<MissingHelper> missing;  // what Open lacks, when it fails for that
};

class ScriptedMail final : public MailClient {
  public:
    struct Document {
        std::string path;
        std::string attachmentName;
    };
    bool SendDocument(WindowId owner, const std::string& path,
                      const std::string& attachmentName) override;
    bool Compose(const MailDraft& draft) override;
    [[nodiscard]] bool Available() const override { return available; }
    [[nodiscard]] std::optional<MissingHelper> Missing() const override { return missing; }
    std::vector<Document> documents;
    std::vector<MailDraft> drafts;
    bool available = true;  // whether the mail program can be started
    bool result = true;
    std::optional<MissingHelper> missing;
};

class ScriptedPrinter final : public PrintService {
  public:
    PrintOutcome PrintRichText(WindowId owner, const std::string& richText,
                               const std::string& documentName) override;
    void Queue(PrintOutcome outcome);
    void NoteUnused();
    std::vector<std::string> printed;  // the documents given, whatever the outcome

  private:
    std::deque<PrintOutcome> outcomes_;
};

// Records every notice; workers notify too, so the record is guarded.
class ScriptedNotices final : public DesktopNotices {
  public:
    void Notify(const DesktopNotice& notice) override {
        std::lock_guard hold(mutex_);
        shown_.push_back(notice);
    }
    [[nodiscard]] std::vector<DesktopNotice> Shown() const {
        std::lock_guard hold(mutex_);
        return shown_;
    }

  private:
    mutable std::mutex mutex_;
    std::vector<DesktopNotice> shown_;
};

// Records every drawing and capture; a capture reads `windowPixels`.
class ScriptedDisplays final : public Displays {
  public:
    struct Drawing {
        WindowId window = kNoWindow;
        int x = 0;
        int y = 0;
        Rect source;
        ScreenPixels image;  // a copy of what was handed over
    };
    struct Capture {
        WindowId window = kNoWindow;
        bool clientOnly = false;
    };

    [[nodiscard]] std::optional<std::vector<Rect>> MonitorRects() const override {
        return monitors;
    }
    [[nodiscard]] Rect WorkArea() const override { return workArea; }
    bool DrawPixels(WindowId window, int x, int y, const PixelView& image,
                    const Rect& source) override {
        const std::size_t count =
            static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height);
        drawn.push_back({window,
                         x,
                         y,
                         source,
                         {image.width, image.height, {image.pixels, image.pixels + count}}});
        return true;
    }
    [[nodiscard]] std::optional<ScreenPixels> CaptureWindow(WindowId window,
                                                            bool clientOnly) override {
        captured.push_back({window, clientOnly});
        return windowPixels;
    }

    std::optional<std::vector<Rect>> monitors = std::vector<Rect>{Rect{0, 0, 1920, 1080}};
    Rect workArea{0, 0, 1920, 1040};
    std::vector<Drawing> drawn;
    std::vector<Capture> captured;
    std::optional<ScreenPixels> windowPixels;
};

// Runs each call at once; whileWaiting, when set, runs first, as events
// dispatched during a request's wait would.
class ScriptedBlockingCalls final : public BlockingCalls {
  public:
    void Run(const std::function<void()>& call, const std::function<void()>& tick) override {
        ++calls;
        if (whileWaiting) {
            whileWaiting();
        }
        call();
        if (tick) {
            tick();
        }
    }
    int calls = 0;
    std::function<void()> whileWaiting;
};

class ScriptedPlatform final : public Platform {
  public:
    ScriptedPlatform();
    // Notes any answer still queued.
    ~ScriptedPlatform() override;
    ScriptedPlatform(const ScriptedPlatform&) = delete;
    ScriptedPlatform& operator=(const ScriptedPlatform&) = delete;

    MessageBoxes& Messages() override { return messageBoxes; }
    FileDialogs& Files() override { return fileDialogs; }
    ProgressWindows& Progress() override { return progress; }
    WindowSystem& Windows() override { return windows; }
    Displays& Screens() override { return displays; }
    TimerService& Timers() override { return timers; }
    ShellLauncher& Shell() override { return shell; }
    MailClient& Mail() override { return mail; }
    PrintService& Printer() override { return printer; }
    Clock& Time() override { return clock; }
    BlockingCalls& Blocking() override { return blocking; }
    OperationRunner& Operations() override { return operations; }
    DesktopNotices& Notices() override { return notices; }

    // The answer to the next message box.
    void QueueAnswer(MessageAnswer answer, std::string expectedCaption = {}) {
        messageBoxes.Queue(answer, std::move(expectedCaption));
    }
    // The choice of the next file dialog; none cancels it.
    void QueueFileChoice(std::optional<std::string> choice) {
        fileDialogs.Queue(std::move(choice));
    }
    [[nodiscard]] const std::vector<Message>& ShownMessages() const { return messageBoxes.Shown(); }

    ScriptedMessageBoxes messageBoxes;
    ScriptedFileDialogs fileDialogs;
    ScriptedProgressWindows progress;
    ScriptedWindows windows;
    ScriptedDisplays displays;
    ScriptedTimers timers;
    ScriptedShell shell;
    ScriptedMail mail;
    ScriptedPrinter printer;
    ManualClock clock;
    ScriptedBlockingCalls blocking;
    InlineOperations operations;
    ScriptedNotices notices;

  private:
    void NoteUnused();
    int endCheck_ = 0;
};

}  // namespace vantic::testing
