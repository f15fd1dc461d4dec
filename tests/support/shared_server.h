#pragma once

// One reference server for every test of a suite: started before the
// suite's first test, its faults cleared before each test, stopped after
// the last. Derive the suite's fixture from it.
//
//     class SessionServerTest : public testing::SharedServerTest {};
//     TEST_F(SessionServerTest, ...) { Session session(AdminAccess()); ... }

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "net/server_access.h"
#include "tests/support/child_process.h"
#include "tests/support/server_runner.h"
#include "tests/support/temp_dir.h"
#include "tests/support/wait_until.h"

namespace vantic::testing {

class SharedServerTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { server_ = std::make_unique<ServerRunner>(); }
    // SetUpTestSuite of a suite that logs in with an account of its own.
    static void SetUpTestSuiteWithAccount(const std::string& login, const std::string& password,
                                          const std::string& units) {
        SharedServerTest::SetUpTestSuite();
        if (server_->Ok()) {
            ASSERT_TRUE(server_->AddAccount(login, password, units));
        }
    }
    static void TearDownTestSuite() { server_.reset(); }

    void SetUp() override {
        ASSERT_TRUE(server_->Ok()) << server_->Error();
        ASSERT_TRUE(server_->SetFaults({}));
    }

    [[nodiscard]] static ServerRunner& Server() { return *server_; }
    [[nodiscard]] static ServerAccess AdminAccess() { return AccessAs(server_->Administrator()); }
    [[nodiscard]] static ServerAccess OperatorAccess() { return AccessAs(server_->Operator()); }
    [[nodiscard]] static ServerAccess AccessAs(const ServerAccount& account) {
        return {server_->Address(), account.login, account.password, server_->KeyFile()};
    }
    // Runs vanticctl (the program at program) against the server as login,
    // whose password is in passwordFile, standard input from inputPath.
    [[nodiscard]] static ProgramRun RunVanticctl(const std::string& program,
                                                 const std::string& login,
                                                 const std::string& passwordFile,
                                                 const std::vector<std::string>& arguments,
                                                 const std::string& inputPath,
                                                 const std::string& scratchDir) {
        std::vector<std::string> all{"--server", server_->Address(), "--user",
                                     login,      "--password-file",  passwordFile,
                                     "--key",    server_->KeyFile()};
        all.insert(all.end(), arguments.begin(), arguments.end());
        return RunVanticctlBare(program, all, inputPath, scratchDir);
    }
    // The same with only the arguments given. Whatever the outcome, no
    // password of the server's accounts may be in what it printed.
    [[nodiscard]] static ProgramRun RunVanticctlBare(const std::string& program,
                                                     const std::vector<std::string>& arguments,
                                                     const std::string& inputPath,
                                                     const std::string& scratchDir) {
        std::vector<std::string> argv{program};
        argv.insert(argv.end(), arguments.begin(), arguments.end());
        ProgramRun run = RunProgram(argv, inputPath, scratchDir);
        for (const ServerAccount& account : server_->Accounts()) {
            EXPECT_EQ((run.out + run.err).find(account.password), std::string::npos)
                << account.login << "'s password printed";
        }
        return run;
    }
    // A unit's folder and files in the server's data directory.
    [[nodiscard]] static std::string UnitDir(std::int64_t unit) {
        return server_->DataDir() + "/units/" + std::to_string(unit);
    }
    [[nodiscard]] static std::string UnitFile(std::int64_t unit, const std::string& name) {
        return UnitDir(unit) + "/" + name;
    }
    [[nodiscard]] static std::string InstructionsPath(std::int64_t unit) {
        return UnitFile(unit, "instructions.txt");
    }
    [[nodiscard]] static std::string Instructions(std::int64_t unit) {
        return ReadFileBytes(InstructionsPath(unit));
    }
    // Gives unit this instructions file, making its folder.
    [[nodiscard]] static bool StoreInstructions(std::int64_t unit, const std::string& text) {
        std::filesystem::create_directories(UnitDir(unit));
        return WriteFileBytes(InstructionsPath(unit), text);
    }
    // Replaces the unit list the server answers with ("number\tnotes\t...").
    [[nodiscard]] static bool StoreUnitList(const std::string& lines) {
        return WriteFileBytes(server_->DataDir() + "/units.txt", lines);
    }
    // The log lines with needle once there are more than `before`; the
    // server writes a line when a connection ends, which may be just after
    // our side returned. Empty when they do not come.
    [[nodiscard]] static std::vector<std::string> AwaitLogLines(const std::string& needle,
                                                                std::size_t before) {
        std::vector<std::string> lines;
        if (!WaitUntil([&] {
                lines = server_->LogLines(needle);
                return lines.size() > before;
            })) {
            return {};
        }
        return lines;
    }

    static inline std::unique_ptr<ServerRunner> server_;
};

}  // namespace vantic::testing
