#pragma once

// Where the scripted platform notes what a test did not script: a message
// box or dialog with no queued answer, or answers left unused. The test
// main fails the test for each note when the test ends.

#include <functional>
#include <mutex>
#include <string>
#include <vector>

namespace vantic::testing {

class ScriptLedger {
  public:
    static ScriptLedger& Instance();

    void Note(std::string issue);
    // Scripted objects that may still hold unused answers at the end of a
    // test register a check that notes them (and forgets them).
    int AddEndCheck(std::function<void()> check);
    void RemoveEndCheck(int id);

    // Runs the end checks, then fails the current test once per note and
    // forgets the notes.
    void FailOnIssues();
    [[nodiscard]] std::vector<std::string> Issues() const;
    void Forget();

  private:
    mutable std::mutex mutex_;
    std::vector<std::string> issues_;
    std::vector<std::pair<int, std::function<void()>>> checks_;
    int nextId_ = 1;
};

}  // namespace vantic::testing
