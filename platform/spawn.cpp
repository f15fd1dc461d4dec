#include "platform/spawn.h"

#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <mutex>

#include "core/file_writes.h"

extern char** environ;

namespace vantic {

namespace {

// The children started and not yet seen to end. Each start reaps those
// that have ended since, so none lingers as a zombie for long and no
// thread waits for them; one still running when the program ends is the
// system's to reap.
std::mutex gChildrenMutex;
std::vector<pid_t> gChildren;

void ReapEnded() {
    std::erase_if(gChildren, [](pid_t pid) { return waitpid(pid, nullptr, WNOHANG) != 0; });
}

bool IsExecutableFile(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
           ::access(path.c_str(), X_OK) == 0;
}

// The child's end of the input pipe becomes its standard input, and its
// standard output joins standard error (ours may carry data of our own).
bool StartWithPipe(const std::vector<std::string>& argv, int input, int unused, pid_t& pid) {
    std::vector<char*> args;
    for (const std::string& arg : argv) {
        args.push_back(const_cast<char*>(arg.c_str()));
    }
    args.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    if (posix_spawn_file_actions_init(&actions) != 0) {
        return false;
    }
    const bool ready =
        posix_spawn_file_actions_adddup2(&actions, input, STDIN_FILENO) == 0 &&
        posix_spawn_file_actions_adddup2(&actions, STDERR_FILENO, STDOUT_FILENO) == 0 &&
        posix_spawn_file_actions_addclose(&actions, input) == 0 &&
        posix_spawn_file_actions_addclose(&actions, unused) == 0;
    const bool started =
        ready && posix_spawn(&pid, args[0], &actions, nullptr, args.data(), environ) == 0;
    posix_spawn_file_actions_destroy(&actions);
    return started;
}

}  // namespace

std::optional<int> RunWithInput(const std::vector<std::string>& argv, std::string_view input) {
    if (argv.empty() || argv[0].empty()) {
        return std::nullopt;
    }
    int pipeEnds[2] = {-1, -1};
    if (::pipe(pipeEnds) != 0) {
        return std::nullopt;
    }
    pid_t pid = 0;
    const bool started = StartWithPipe(argv, pipeEnds[0], pipeEnds[1], pid);
    ::close(pipeEnds[0]);
    if (!started) {
        ::close(pipeEnds[1]);
        return std::nullopt;
    }
    // A helper that stops reading early must not end this program.
    struct sigaction ignore {};
    struct sigaction previous {};
    ignore.sa_handler = SIG_IGN;
    ::sigaction(SIGPIPE, &ignore, &previous);
    (void)WriteAll(pipeEnds[1], input);
    ::close(pipeEnds[1]);
    ::sigaction(SIGPIPE, &previous, nullptr);
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) {
            return std::nullopt;
        }
    }
    return WIFEXITED(status) ? std::optional(WEXITSTATUS(status)) : std::nullopt;
}

bool ProgramOnPath(std::string_view name) {
    if (name.empty()) {
        return false;
    }
    if (name.find('/') != std::string_view::npos) {
        return IsExecutableFile(std::string(name));
    }
    // An unset PATH is searched as posix_spawnp searches it.
    const char* path = std::getenv("PATH");
    const std::string_view folders = path != nullptr ? path : "/bin:/usr/bin";
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = std::min(folders.find(':', start), folders.size());
        // An empty entry means the current directory.
        std::string candidate(end > start ? folders.substr(start, end - start) : ".");
        candidate.append("/").append(name);
        if (IsExecutableFile(candidate)) {
            return true;
        }
        if (end == folders.size()) {
            return false;
        }
        start = end + 1;
    }
}

namespace {

// 0 when the program started, else the error number of the failed start
// (posix_spawnp reports a failed exec as its result).
int SpawnWithError(const std::vector<std::string>& argv) {
    if (argv.empty() || argv[0].empty()) {
        return ENOENT;
    }
    std::vector<char*> args;
    args.reserve(argv.size() + 1);
    for (const std::string& arg : argv) {
        args.push_back(const_cast<char*>(arg.c_str()));
    }
    args.push_back(nullptr);
    pid_t pid = 0;
    if (const int error = posix_spawnp(&pid, args[0], nullptr, nullptr, args.data(), environ)) {
        return error;
    }
    std::lock_guard hold(gChildrenMutex);
    ReapEnded();
    gChildren.push_back(pid);
    return 0;
}

}  // namespace

bool SpawnDetached(const std::vector<std::string>& argv) {
    return SpawnWithError(argv) == 0;
}

ProgramStart SpawnProgram(const std::string& program, const std::string& parameters) {
    std::vector<std::string> argv{program};
    for (std::string& piece : SplitParameters(parameters)) {
        argv.push_back(std::move(piece));
    }
    const int error = SpawnWithError(argv);
    if (error == 0) {
        return ProgramStart{true, {}};
    }
    char reason[256] = {};
    std::string cause = program + ": " + strerror_r(error, reason, sizeof reason);
    struct stat info {};
    if (error == ENOENT && ::stat(program.c_str(), &info) == 0) {
        cause += " (the interpreter its first line names is missing)";
    }
    return ProgramStart{false, std::move(cause)};
}

std::vector<std::string> SplitParameters(const std::string& parameters) {
    std::vector<std::string> pieces;
    std::string piece;
    for (char c : parameters) {
        if (c == ' ' || c == '\t') {
            if (!piece.empty()) {
                pieces.push_back(std::move(piece));
                piece.clear();
            }
            continue;
        }
        piece.push_back(c);
    }
    if (!piece.empty()) {
        pieces.push_back(std::move(piece));
    }
    return pieces;
}

}  // namespace vantic
