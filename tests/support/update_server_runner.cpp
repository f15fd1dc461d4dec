#include "tests/support/update_server_runner.h"

#include <signal.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "tests/support/child_process.h"

namespace vantic::testing {

namespace {

constexpr int kStartSeconds = 30;

}  // namespace

std::string TestUpdateKeyFile() {
    const char* data = std::getenv("VANTIC_TEST_DATA");
    return std::string(data != nullptr ? data : "tests/data") + "/update-test.key";
}

UpdateServerRunner::UpdateServerRunner(std::vector<std::string> faults) {
    std::error_code error;
    std::filesystem::create_directories(DownloadsDir(), error);
    if (error || !MakeCertificate()) {
        error_ = error_.empty() ? "cannot prepare " + root_.Path() : error_;
        return;
    }
    (void)Start(faults);
}

UpdateServerRunner::~UpdateServerRunner() {
    if (pid_ > 0) {
        ::kill(pid_, SIGTERM);
        if (WaitFor(pid_, 10) < 0) {
            ::kill(pid_, SIGKILL);
            WaitFor(pid_, 10);
        }
    }
}

bool UpdateServerRunner::MakeCertificate() {
    Child child = Spawn({"/usr/bin/openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes",
                         "-subj", "/CN=localhost", "-days", "2", "-keyout", root_.File("key.pem"),
                         "-out", root_.File("cert.pem")},
                        root_.File("openssl.txt"));
    if (child.pid < 0) {
        error_ = "cannot run openssl";
        return false;
    }
    ::close(child.out);
    const int status = WaitFor(child.pid, kStartSeconds);
    if (status != 0) {
        error_ = "openssl failed: " + ReadFileBytes(root_.File("openssl.txt"));
        return false;
    }
    return true;
}

bool UpdateServerRunner::Start(const std::vector<std::string>& faults) {
    std::vector<std::string> args = {BuiltProgram("server/vantic-update-server"),
                                     "--root",
                                     root_.File("www"),
                                     "--cert",
                                     root_.File("cert.pem"),
                                     "--key",
                                     root_.File("key.pem"),
                                     "--log",
                                     root_.File("requests.log")};
    for (const std::string& fault : faults) {
        args.insert(args.end(), {"--fault", fault});
    }
    Child child = Spawn(args, root_.File("stderr.txt"));
    if (child.pid < 0) {
        error_ = "cannot start " + args[0];
        return false;
    }
    pid_ = child.pid;
    const auto deadline = SteadyClock::now() + std::chrono::seconds(kStartSeconds);
    std::vector<std::string> lines = ReadLines(child.out, deadline, "listening ");
    ::close(child.out);
    if (lines.empty() || !lines.back().starts_with("listening ")) {
        error_ = "the update server did not start: " + ReadFileBytes(root_.File("stderr.txt"));
        return false;
    }
    address_ = lines.back().substr(10);
    return true;
}

bool UpdateServerRunner::Publish(const std::string& name, const std::string& bytes) const {
    return WriteFileBytes(DownloadsDir() + "/" + name, bytes);
}

std::vector<std::string> UpdateServerRunner::Requests() const {
    std::vector<std::string> lines;
    std::istringstream text(ReadFileBytes(root_.File("requests.log")));
    for (std::string line; std::getline(text, line);) {
        lines.push_back(line);
    }
    return lines;
}

}  // namespace vantic::testing
