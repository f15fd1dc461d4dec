#include "tests/support/scripted_platform.h"

#include "platform/connection_watch.h"

#include <algorithm>

#include "tests/support/script_ledger.h"
#include "tests/support/test_passwords.h"

namespace vantic::testing {

namespace {

MessageAnswer DismissAnswer(MessageButtons buttons) {
    switch (buttons) {
        case MessageButtons::Ok:
            return MessageAnswer::Ok;
        case MessageButtons::YesNo:
            return MessageAnswer::No;
        case MessageButtons::YesNoCancel:
            return MessageAnswer::Cancel;
    }
    return MessageAnswer::Cancel;
}

std::string Describe(const Message& message) {
    return "caption \"" + message.caption + "\", text \"" + message.text + "\"";
}

}  // namespace

// As on the desktop, an operation whose requests were cancelled shows
// nothing more and every question it asks answers Cancel.
MessageAnswer ScriptedMessageBoxes::Show(const Message& message) {
    if (RequestsCancelled()) {
        return MessageAnswer::Cancel;
    }
    shown_.push_back(message);
    if (answers_.empty()) {
        ScriptLedger::Instance().Note("Unexpected message box: " + Describe(message));
        return DismissAnswer(message.buttons);
    }
    const Answer next = answers_.front();
    answers_.pop_front();
    if (!next.caption.empty() && next.caption != message.caption) {
        ScriptLedger::Instance().Note("Answer queued for \"" + next.caption +
                                      "\" met another message box: " + Describe(message));
    }
    return next.answer;
}

void ScriptedMessageBoxes::Queue(MessageAnswer answer, std::string expectedCaption) {
    answers_.push_back(Answer{answer, std::move(expectedCaption)});
}

void ScriptedMessageBoxes::NoteUnused() {
    if (!answers_.empty()) {
        ScriptLedger::Instance().Note(std::to_string(answers_.size()) +
                                      " queued message box answer(s) never used");
        answers_.clear();
    }
}

// The note names the box, not the password: a failure's report is output
// too.
void ScriptedMessageBoxes::NotePasswords() {
    for (; messagesChecked_ < shown_.size(); ++messagesChecked_) {
        const Message& message = shown_[messagesChecked_];
        if (!PasswordsIn(message.caption + "\n" + message.text + "\n" + message.details).empty()) {
            ScriptLedger::Instance().Note("A test password is in message box " +
                                          std::to_string(messagesChecked_ + 1) + " shown");
        }
    }
    for (; detailsChecked_ < shownDetails_.size(); ++detailsChecked_) {
        if (!PasswordsIn(shownDetails_[detailsChecked_]).empty()) {
            ScriptLedger::Instance().Note("A test password is in the details of message box " +
                                          std::to_string(detailsChecked_ + 1) + " with details");
        }
    }
}

std::optional<std::string> ScriptedFileDialogs::Answer(bool save,
                                                       const FileDialogRequest& request) {
    shown_.push_back(Shown{save, request});
    if (choices_.empty()) {
        ScriptLedger::Instance().Note("Unexpected file dialog: \"" + request.title + "\"");
        return std::nullopt;
    }
    std::optional<std::string> choice = std::move(choices_.front());
    choices_.pop_front();
    return choice;
}

std::optional<std::string> ScriptedFileDialogs::RunOpenDialog(const FileDialogRequest& request) {
    return Answer(false, request);
}

std::optional<std::string> ScriptedFileDialogs::RunSaveDialog(const FileDialogRequest& request) {
    return Answer(true, request);
}

void ScriptedFileDialogs::Queue(std::optional<std::string> choice) {
    choices_.push_back(std::move(choice));
}

void ScriptedFileDialogs::NoteUnused() {
    if (!choices_.empty()) {
        ScriptLedger::Instance().Note(std::to_string(choices_.size()) +
                                      " queued file dialog choice(s) never used");
        choices_.clear();
    }
}

namespace {

class ScriptedTimer final : public Timer {
  public:
    explicit ScriptedTimer(std::function<void()> stop) : stop_(std::move(stop)) {}
    ~ScriptedTimer() override { stop_(); }

  private:
    std::function<void()> stop_;
};

}  // namespace

std::unique_ptr<Timer> ScriptedTimers::Start(int periodMs, std::function<void()> onTick) {
    auto entry = std::make_shared<Entry>(Entry{periodMs, std::move(onTick), true});
    entries_.push_back(entry);
    return std::make_unique<ScriptedTimer>([entry] { entry->running = false; });
}

void ScriptedTimers::FireAll() {
    const auto entries = entries_;
    for (const auto& entry : entries) {
        if (entry->running && entry->onTick) {
            entry->onTick();
        }
    }
}

int ScriptedTimers::RunningCount() const {
    return static_cast<int>(std::count_if(entries_.begin(), entries_.end(),
                                          [](const auto& entry) { return entry->running; }));
}

std::vector<int> ScriptedTimers::RunningPeriods() const {
    std::vector<int> periods;
    for (const auto& entry : entries_) {
        if (entry->running) {
            periods.push_back(entry->period);
        }
    }
    return periods;
}

bool ScriptedShell::Open(const std::string& target, const std::string& parameters) {
    opened.push_back(Opened{target, parameters});
    return result;
}

ProgramStart ScriptedShell::StartProgram(const std::string& program,
                                         const std::string& parameters) {
    const bool started = Open(program, parameters);
    return ProgramStart{started, started ? std::string() : failureCause};
}

bool ScriptedMail::SendDocument(WindowId /*owner*/, const std::string& path,
                                const std::string& attachmentName) {
    documents.push_back(Document{path, attachmentName});
    return result;
}

bool ScriptedMail::Compose(const MailDraft& draft) {
    drafts.push_back(draft);
    return result;
}

PrintOutcome ScriptedPrinter::PrintRichText(WindowId /*owner*/, const std::string& richText,
                                            const std::string& /*documentName*/) {
    printed.push_back(richText);
    if (outcomes_.empty()) {
        ScriptLedger::Instance().Note("Unexpected print dialog");
        return PrintOutcome::Cancelled;
    }
    const PrintOutcome outcome = outcomes_.front();
    outcomes_.pop_front();
    return outcome;
}

void ScriptedPrinter::Queue(PrintOutcome outcome) {
    outcomes_.push_back(outcome);
}

void ScriptedPrinter::NoteUnused() {
    if (!outcomes_.empty()) {
        ScriptLedger::Instance().Note(std::to_string(outcomes_.size()) +
                                      " queued print outcome(s) never used");
        outcomes_.clear();
    }
}

ScriptedPlatform::ScriptedPlatform() {
    windows.OnPump([this] { progress.NotePump(); });
    endCheck_ = ScriptLedger::Instance().AddEndCheck([this] { NoteUnused(); });
}

ScriptedPlatform::~ScriptedPlatform() {
    ScriptLedger::Instance().RemoveEndCheck(endCheck_);
    NoteUnused();
}

void ScriptedPlatform::NoteUnused() {
    messageBoxes.NoteUnused();
    messageBoxes.NotePasswords();
    fileDialogs.NoteUnused();
    printer.NoteUnused();
}

}  // namespace vantic::testing
