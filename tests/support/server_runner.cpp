#include "tests/support/server_runner.h"

#include "tests/support/child_process.h"
#include "tests/support/test_passwords.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <thread>

extern char** environ;

namespace vantic::testing {

namespace {

std::string ReadText(const std::string& path) {
    return ReadFileBytes(path);
}

void PrintRunnerFailure(const std::string& what) {
    std::fprintf(stderr, "server runner: %s\n", what.c_str());
}

RunnerFailureReporter failureReporter = PrintRunnerFailure;

}  // namespace

void SetRunnerFailureReporter(RunnerFailureReporter reporter) {
    failureReporter = reporter != nullptr ? reporter : PrintRunnerFailure;
}

std::string ServerBinary() {
    return BuiltProgram("server/vantic-server");
}

ServerRunner::ServerRunner(ServerRunnerOptions options) : options_(std::move(options)) {
    dataDir_ = root_.Path() + "/data";
    if (root_.Path().empty()) {
        error_ = "cannot create a temporary directory";
        return;
    }
    if (Seed()) {
        (void)Start();
    }
}

ServerRunner::~ServerRunner() {
    Stop();
    ExpectNoPasswordInOutput();
}

// Whatever a test did with the server, no password of its accounts may
// appear in its connection log or on its standard error.
void ServerRunner::ExpectNoPasswordInOutput() const {
    const std::vector<ServerAccount> accounts = Accounts();
    for (const std::string& path : {dataDir_ + "/server.log", root_.File("stderr.txt")}) {
        const std::string text = ReadText(path);
        for (const ServerAccount& account : accounts) {
            if (!account.password.empty() && text.find(account.password) != std::string::npos) {
                failureReporter("the password of " + account.login + " is in " + path);
            }
        }
    }
}

std::vector<ServerAccount> ServerRunner::Accounts() const {
    std::vector<ServerAccount> accounts{operator_, administrator_};
    accounts.insert(accounts.end(), added_.begin(), added_.end());
    return accounts;
}

bool ServerRunner::AddAccount(const std::string& login, const std::string& password,
                              const std::string& units) {
    added_.push_back(ServerAccount{login, password});
    RememberTestPassword(password);
    const std::string accounts = dataDir_ + "/accounts.txt";
    return WriteFileBytes(accounts,
                          ReadFileBytes(accounts) + login + " " + password + " " + units + "\n");
}

std::string ServerRunner::Address() const {
    return host_ + ":" + std::to_string(port_);
}

bool ServerRunner::Seed() {
    Child child = Spawn({ServerBinary(), "seed-demo", dataDir_, "--hash-iterations",
                         std::to_string(options_.hashIterations)},
                        root_.File("stderr.txt"));
    if (child.pid < 0) {
        error_ = "cannot start " + ServerBinary();
        return false;
    }
    const auto deadline = SteadyClock::now() + std::chrono::seconds(options_.startTimeoutSeconds);
    std::vector<std::string> lines = ReadLines(child.out, deadline, {});
    ::close(child.out);
    int status = WaitFor(child.pid, options_.startTimeoutSeconds);
    if (status < 0) {
        ::kill(child.pid, SIGKILL);
        WaitFor(child.pid, 10);
    }
    for (const std::string& line : lines) {
        std::istringstream words(line);
        std::string tag;
        ServerAccount account;
        if (words >> tag >> account.login >> account.password && tag == "account") {
            RememberTestPassword(account.password);
            (account.login == "sovra" ? administrator_ : operator_) = account;
        }
    }
    if (status != 0 || administrator_.login.empty() || operator_.login.empty()) {
        error_ = "seed-demo failed: " + ErrorOutput();
        return false;
    }
    return true;
}

bool ServerRunner::Start() {
    std::vector<std::string> args = {ServerBinary(),
                                     "serve",
                                     "--data",
                                     dataDir_,
                                     "--listen",
                                     "127.0.0.1:0",
                                     "--fault-file",
                                     root_.File("faults.txt"),
                                     "--hash-iterations",
                                     std::to_string(options_.hashIterations)};
    if (options_.simulateSeconds > 0) {
        args.insert(args.end(), {"--simulate", std::to_string(options_.simulateSeconds)});
    }
    for (const std::string& fault : options_.faults) {
        args.insert(args.end(), {"--fault", fault});
    }
    args.insert(args.end(), options_.extraArgs.begin(), options_.extraArgs.end());
    Child child = Spawn(args, root_.File("stderr.txt"));
    if (child.pid < 0) {
        error_ = "cannot start " + ServerBinary();
        return false;
    }
    pid_ = child.pid;
    const auto deadline = SteadyClock::now() + std::chrono::seconds(options_.startTimeoutSeconds);
    std::vector<std::string> lines = ReadLines(child.out, deadline, "listening ");
    ::close(child.out);
    const std::string last = lines.empty() ? std::string() : lines.back();
    std::size_t colon = last.rfind(':');
    if (!last.starts_with("listening ") || colon == std::string::npos) {
        error_ = "the server did not start: " + ErrorOutput();
        Kill();
        return false;
    }
    host_ = last.substr(10, colon - 10);
    port_ = static_cast<std::uint16_t>(std::atoi(last.c_str() + colon + 1));
    return port_ != 0;
}

bool ServerRunner::SetFaults(const std::vector<std::string>& faults) {
    std::string text;
    for (const std::string& fault : faults) {
        text += fault + "\n";
    }
    // Written beside the file and renamed, so the server never reads half.
    const std::string temp = root_.File("faults.txt.new");
    return WriteFileBytes(temp, text) &&
           std::rename(temp.c_str(), root_.File("faults.txt").c_str()) == 0;
}

std::vector<std::string> ServerRunner::LogLines(std::string_view needle) const {
    std::vector<std::string> lines;
    std::istringstream text(ReadText(dataDir_ + "/server.log"));
    for (std::string line; std::getline(text, line);) {
        if (needle.empty() || line.find(needle) != std::string::npos) {
            lines.push_back(line);
        }
    }
    return lines;
}

std::string ServerRunner::ErrorOutput() const {
    return ReadText(root_.File("stderr.txt"));
}

bool ServerRunner::Stop() {
    if (pid_ <= 0) {
        return false;
    }
    ::kill(pid_, SIGTERM);
    int status = WaitFor(pid_, 10);
    if (status < 0) {
        ::kill(pid_, SIGKILL);
        WaitFor(pid_, 10);
    }
    pid_ = -1;
    port_ = 0;
    return status >= 0 && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void ServerRunner::Kill() {
    if (pid_ <= 0) {
        return;
    }
    ::kill(pid_, SIGKILL);
    WaitFor(pid_, 10);
    pid_ = -1;
    port_ = 0;
}

bool ServerRunner::Restart() {
    Stop();
    error_.clear();
    return Start();
}

}  // namespace vantic::testing
