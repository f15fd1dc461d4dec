#pragma once

// A form view for tests: each time the logic opens the form, the next
// queued answer edits the form's value and says whether the operator
// pressed OK. A form opened with nothing queued, or an answer left unused
// when the test ends, fails the test.
//
//     ScriptedForm<ClipForm> clipEditor{"clip editor"};
//     clipEditor.Queue([](ClipForm& form) { form.notes = "lobby"; return true; });
//     clipEditor.QueueCancel();

#include <deque>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/script_ledger.h"

namespace vantic::testing {

template <typename Form>
class ScriptedForm {
  public:
    using Answer = std::function<bool(Form&)>;

    explicit ScriptedForm(std::string name) : name_(std::move(name)) {
        endCheck_ = ScriptLedger::Instance().AddEndCheck([this] { NoteUnused(); });
    }
    ~ScriptedForm() {
        ScriptLedger::Instance().RemoveEndCheck(endCheck_);
        NoteUnused();
    }
    ScriptedForm(const ScriptedForm&) = delete;
    ScriptedForm& operator=(const ScriptedForm&) = delete;

    void Queue(Answer answer) { answers_.push_back(std::move(answer)); }
    // The operator presses OK without changing anything.
    void QueueOk() {
        Queue([](Form&) { return true; });
    }
    void QueueCancel() {
        Queue([](Form&) { return false; });
    }

    // What the view does when the logic opens the form.
    bool Run(Form& form) {
        opened_.push_back(form);
        if (answers_.empty()) {
            ScriptLedger::Instance().Note("unexpected " + name_ + " opened");
            return false;
        }
        Answer answer = std::move(answers_.front());
        answers_.pop_front();
        return answer(form);
    }

    // Each form's value as the logic handed it to the view.
    [[nodiscard]] const std::vector<Form>& Opened() const { return opened_; }

  private:
    void NoteUnused() {
        if (!answers_.empty()) {
            ScriptLedger::Instance().Note(std::to_string(answers_.size()) +
                                          " unused answer(s) for " + name_);
            answers_.clear();
        }
    }

    std::string name_;
    std::deque<Answer> answers_;
    std::vector<Form> opened_;
    int endCheck_ = 0;
};

}  // namespace vantic::testing
