#pragma once

// Runs the reference distribution server as a child process for a test:
// seeds a fresh demo venue in a temporary directory, starts
// "vantic-server serve" on a free loopback port and stops it when the
// runner goes away. The binary is found through the VANTIC_BIN_DIR
// environment variable that CTest sets ($VANTIC_BIN_DIR/server/vantic-server).
//
//   vantic::testing::ServerRunner server;
//   ASSERT_TRUE(server.Ok()) << server.Error();
//   connect to server.Host():server.Port() with server.KeyFile() and
//   server.Administrator().login / .password
//
// When it goes away it checks that no password of its accounts (the demo
// ones and those added) reached the server's log or standard error. Every wait is bounded: a server
// that does not start within the time limit gives Ok() false, and one that does not stop is killed.

#include <sys/types.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "tests/support/temp_dir.h"

namespace vantic::testing {

struct ServerAccount {
    std::string login;
    std::string password;
};

struct ServerRunnerOptions {
    std::vector<std::string> faults;     // each passed as --fault MODE
    int simulateSeconds = 0;             // --simulate SECONDS when above 0
    std::vector<std::string> extraArgs;  // appended to the serve command line
    int startTimeoutSeconds = 30;
    // PBKDF2 iterations of the seeded and migrated password hashes: a
    // small count keeps each test's first login fast (the program's
    // default is 600000).
    int hashIterations = 1000;
};

class ServerRunner {
  public:
    explicit ServerRunner(ServerRunnerOptions options = {});
    ~ServerRunner();
    ServerRunner(const ServerRunner&) = delete;
    ServerRunner& operator=(const ServerRunner&) = delete;

    // True when the venue was seeded and the server is listening.
    [[nodiscard]] bool Ok() const { return pid_ > 0 && port_ != 0; }
    // Why it is not Ok.
    [[nodiscard]] const std::string& Error() const { return error_; }

    [[nodiscard]] const std::string& Host() const { return host_; }
    [[nodiscard]] std::uint16_t Port() const { return port_; }
    [[nodiscard]] std::string Address() const;  // "HOST:PORT"
    [[nodiscard]] const std::string& DataDir() const { return dataDir_; }
    // The server's public key file, the one a controller keeps as "p.key".
    [[nodiscard]] std::string KeyFile() const { return dataDir_ + "/p.key"; }
    // The demo accounts: an operator who sees some units, and "sovra".
    [[nodiscard]] const ServerAccount& Operator() const { return operator_; }
    [[nodiscard]] const ServerAccount& Administrator() const { return administrator_; }
    // The demo accounts and every account added since.
    [[nodiscard]] std::vector<ServerAccount> Accounts() const;

    // Replaces the faults of the control file; the next connection obeys
    // them. An empty list clears them.
    [[nodiscard]] bool SetFaults(const std::vector<std::string>& faults);
    // The connection log: every line, or those containing needle.
    [[nodiscard]] std::vector<std::string> LogLines(std::string_view needle = {}) const;
    // What the server wrote on standard error.
    [[nodiscard]] std::string ErrorOutput() const;

    // SIGTERM, then waits (SIGKILL after 10 s). True when the server exited
    // by itself with status 0.
    bool Stop();
    // SIGKILL, as a crash would.
    void Kill();
    // Starts the server again on the same data directory (on a new port).
    [[nodiscard]] bool Restart();
    // Adds an account to the venue: a plain "login password units" line
    // ("*" for every unit, else unit numbers joined by commas), which the
    // server reads on the next connection.
    [[nodiscard]] bool AddAccount(const std::string& login, const std::string& password,
                                  const std::string& units);
    [[nodiscard]] pid_t Pid() const { return pid_; }

  private:
    bool Seed();
    void ExpectNoPasswordInOutput() const;
    bool Start();

    ServerRunnerOptions options_;
    TempDir root_;
    std::string dataDir_;
    std::string host_ = "127.0.0.1";
    std::uint16_t port_ = 0;
    pid_t pid_ = -1;
    ServerAccount operator_;
    ServerAccount administrator_;
    std::vector<ServerAccount> added_;
    std::string error_;
};

// How a runner reports what a test did wrong (a password in the server's
// output). The test main makes it a test failure; without it (benchmarks,
// the load test) it is printed on standard error.
using RunnerFailureReporter = void (*)(const std::string& what);
void SetRunnerFailureReporter(RunnerFailureReporter reporter);

// $VANTIC_BIN_DIR/server/vantic-server, or the build tree's copy found
// from this test program's location.
[[nodiscard]] std::string ServerBinary();

}  // namespace vantic::testing
