#include "tests/support/script_ledger.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace vantic::testing {

ScriptLedger& ScriptLedger::Instance() {
    static ScriptLedger ledger;
    return ledger;
}

void ScriptLedger::Note(std::string issue) {
    std::lock_guard lock(mutex_);
    issues_.push_back(std::move(issue));
}

int ScriptLedger::AddEndCheck(std::function<void()> check) {
    std::lock_guard lock(mutex_);
    checks_.emplace_back(nextId_, std::move(check));
    return nextId_++;
}

void ScriptLedger::RemoveEndCheck(int id) {
    std::lock_guard lock(mutex_);
    std::erase_if(checks_, [id](const auto& check) { return check.first == id; });
}

void ScriptLedger::FailOnIssues() {
    std::vector<std::function<void()>> checks;
    {
        std::lock_guard lock(mutex_);
        for (const auto& check : checks_) {
            checks.push_back(check.second);
        }
    }
    for (const auto& check : checks) {
        check();
    }
    std::vector<std::string> issues;
    {
        std::lock_guard lock(mutex_);
        issues.swap(issues_);
    }
    for (const std::string& issue : issues) {
        ADD_FAILURE() << issue;
    }
}

std::vector<std::string> ScriptLedger::Issues() const {
    std::lock_guard lock(mutex_);
    return issues_;
}

void ScriptLedger::Forget() {
    std::lock_guard lock(mutex_);
    issues_.clear();
}

}  // namespace vantic::testing
