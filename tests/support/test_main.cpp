// The one main of every test program. A test fails when it meets a message
// box or dialog it did not script, ends with scripted answers unused, or
// showed a known test password in a message box (the scripted platforms'
// end checks, run by the listener below).
#include <gtest/gtest.h>

#include <cstdlib>

#include "tests/support/script_ledger.h"
#include "tests/support/server_runner.h"
#include "tests/support/temp_dir.h"

namespace {

class ScriptListener : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo& /*test*/) override {
        vantic::testing::ScriptLedger::Instance().Forget();
    }
    // Runs while the test is still current, so failures count against it.
    void OnTestEnd(const ::testing::TestInfo& /*test*/) override {
        vantic::testing::ScriptLedger::Instance().FailOnIssues();
    }
};

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    vantic::testing::SetRunnerFailureReporter(
        [](const std::string& what) { ADD_FAILURE() << what; });
    // What the program keeps in the user's cache folder (media digests)
    // goes to a folder of this run, and the programs the tests start
    // inherit it.
    const vantic::testing::TempDir cacheHome;
    setenv("XDG_CACHE_HOME", cacheHome.Path().c_str(), 1);
    // Appended last, so it hears of a test's end before the result printer.
    ::testing::UnitTest::GetInstance()->listeners().Append(new ScriptListener);
    return RUN_ALL_TESTS();
}
