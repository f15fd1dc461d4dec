// vantic-server: the reference distribution server.

#include <sys/resource.h>

#include <csignal>
#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

#include "server/account_command.h"
#include "server/options.h"
#include "server/password_prompt.h"
#include "server/seed.h"
#include "server/server.h"

namespace {

using namespace vantic::server;

int Seed(const CommandLine& line) {
    std::string error;
    auto accounts = SeedDemo(line.seedDir, std::time(nullptr), error, line.seedHashIterations);
    if (!accounts) {
        std::fprintf(stderr, "vantic-server: %s\n", error.c_str());
        return 1;
    }
    // The only time these passwords are shown: the venue keeps their hashes.
    for (const SeededAccount& account : *accounts) {
        std::printf("account %s %s\n", account.login.c_str(), account.password.c_str());
    }
    return 0;
}

int ChangeAccounts(const AccountCommand& command) {
    AccountOutcome outcome = RunAccountCommand(command, ReadNewPassword);
    if (!outcome.ok) {
        std::fprintf(stderr, "vantic-server: %s\n", outcome.error.c_str());
        return 1;
    }
    std::fputs(outcome.output.c_str(), stdout);
    return 0;
}

// Each connection is a descriptor, and the usual soft limit of 1024 is
// below what a busy venue needs; take what the hard limit allows.
void RaiseDescriptorLimit() {
    rlimit limit{};
    if (getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur < limit.rlim_max) {
        limit.rlim_cur = limit.rlim_max;
        setrlimit(RLIMIT_NOFILE, &limit);
    }
}

int Serve(const ServeOptions& options) {
    RaiseDescriptorLimit();
    // The signals are taken by sigwait below; every thread started from
    // here on inherits the mask.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    std::string error;
    std::unique_ptr<Server> server = Server::Start(options, error);
    if (!server) {
        std::fprintf(stderr, "vantic-server: %s\n", error.c_str());
        return 1;
    }
    std::printf("listening %s:%u\n", server->Bound().host.c_str(),
                static_cast<unsigned>(server->Bound().port));
    std::fflush(stdout);
    int signal = 0;
    sigwait(&stopSignals, &signal);
    server->Stop();
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    std::string error;
    std::optional<CommandLine> line = ParseCommandLine(args, error);
    if (!line) {
        std::fprintf(stderr, "vantic-server: %s\n(see vantic-server --help)\n", error.c_str());
        return 2;
    }
    switch (line->action) {
        case Action::Help:
            std::fputs(HelpText().c_str(), stdout);
            return 0;
        case Action::SeedDemo:
            return Seed(*line);
        case Action::Serve:
            return Serve(line->serve);
        case Action::Account:
            return ChangeAccounts(line->account);
    }
    return 2;
}
