#include "tests/support/child_process.h"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <thread>

#include "tests/support/temp_dir.h"

extern char** environ;

namespace vantic::testing {

Child Spawn(const std::vector<std::string>& args, const std::string& errorPath) {
    int pipeEnds[2];
    if (::pipe2(pipeEnds, O_CLOEXEC) != 0) {
        return {};
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errorPath.c_str(),
                                     O_WRONLY | O_CREAT | O_APPEND, 0644);
    std::vector<char*> argv;
    for (const std::string& arg : args) {
        argv.push_back(const_cast<char*>(arg.c_str()));
    }
    argv.push_back(nullptr);
    Child child;
    if (posix_spawn(&child.pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) {
        child.pid = -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipeEnds[1]);
    child.out = pipeEnds[0];
    return child;
}

std::vector<std::string> ReadLines(int fd, SteadyClock::time_point deadline,
                                   std::string_view until) {
    std::vector<std::string> lines;
    std::string pending;
    for (;;) {
        auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - SteadyClock::now());
        pollfd entry{fd, POLLIN, 0};
        if (left.count() <= 0 || ::poll(&entry, 1, static_cast<int>(left.count())) <= 0) {
            return lines;
        }
        char buffer[512];
        ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got <= 0) {
            return lines;
        }
        pending.append(buffer, static_cast<std::size_t>(got));
        for (std::size_t end; (end = pending.find('\n')) != std::string::npos;) {
            lines.push_back(pending.substr(0, end));
            pending.erase(0, end + 1);
            if (!until.empty() && lines.back().starts_with(until)) {
                return lines;
            }
        }
    }
}

int WaitFor(pid_t pid, int seconds) {
    const auto deadline = SteadyClock::now() + std::chrono::seconds(seconds);
    for (;;) {
        int status = 0;
        pid_t done = ::waitpid(pid, &status, WNOHANG);
        if (done == pid || done < 0) {
            return done == pid ? status : -1;
        }
        if (SteadyClock::now() >= deadline) {
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

std::string BuiltProgram(const std::string& relative) {
    if (const char* dir = std::getenv("VANTIC_BIN_DIR"); dir != nullptr && *dir != '\0') {
        return std::string(dir) + "/" + relative;
    }
    // <build>/tests/<suite>/<program>
    std::error_code error;
    auto self = std::filesystem::read_symlink("/proc/self/exe", error);
    return (self.parent_path().parent_path().parent_path() / relative).string();
}

std::string Quote(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

ProgramRun RunProgram(const std::vector<std::string>& argv, const std::string& inputPath,
                      const std::string& scratchDir) {
    const std::string out = scratchDir + "/out";
    const std::string err = scratchDir + "/err";
    std::string command;
    for (const std::string& argument : argv) {
        command += (command.empty() ? "" : " ") + Quote(argument);
    }
    command += " <" + Quote(inputPath) + " >" + Quote(out) + " 2>" + Quote(err);
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadFileBytes(out), ReadFileBytes(err)};
}

}  // namespace vantic::testing
