#include "platform/spawn.h"

#include <spawn.h>
#include <sys/wait.h>

#include <cstdint>

#include "platform/threads.h"

extern char** environ;

namespace vantic {

namespace {

void ReapChild(void* context) {
    const auto pid = static_cast<pid_t>(reinterpret_cast<std::intptr_t>(context));
    waitpid(pid, nullptr, 0);
}

}  // namespace

bool SpawnDetached(const std::vector<std::string>& argv) {
    if (argv.empty() || argv[0].empty()) {
        return false;
    }
    std::vector<char*> args;
    args.reserve(argv.size() + 1);
    for (const std::string& arg : argv) {
        args.push_back(const_cast<char*>(arg.c_str()));
    }
    args.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawnp(&pid, args[0], nullptr, nullptr, args.data(), environ) != 0) {
        return false;
    }
    // Reap the child whenever it ends, so it does not linger as a zombie.
    void* context = reinterpret_cast<void*>(static_cast<std::intptr_t>(pid));
    if (!StartDetachedThread(ReapChild, context)) {
        waitpid(pid, nullptr, WNOHANG);
    }
    return true;
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
