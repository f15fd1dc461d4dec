#pragma once

// vantic-update-server: serves update files over HTTPS for the controller's
// software update, from a folder ("ROOT/downloads/update1.sig" answers a
// request for "/downloads/update1.sig"), whatever the method. It can also
// answer wrongly on purpose, to test the controller against a broken or
// hostile server.

#include <string>
#include <vector>

namespace vantic::update_server {

enum class Fault {
    None,
    Garbage,   // random bytes of the file's length in place of the file
    Truncate,  // announces the whole file, sends half of it and hangs up
    Stall,     // reads the request and never answers
    Status,    // "404 Not Found" with a page of text as the body
};

// A fault applies to the requests whose path ends with `suffix` (every
// request when empty).
struct FaultRule {
    Fault fault = Fault::None;
    std::string suffix;
};

struct Options {
    std::string root;
    std::string certificate;  // PEM files
    std::string privateKey;
    std::string host = "127.0.0.1";
    int port = 0;         // 0: any free port
    std::string logPath;  // one line per request; none when empty
    std::vector<FaultRule> faults;
};

// "MODE" or "MODE:SUFFIX"; false for an unknown mode.
[[nodiscard]] bool ParseFaultRule(const std::string& text, FaultRule& rule);

// Listens, prints "listening HOST:PORT" on standard output, and serves until
// the process is ended. Returns 1 when it cannot start.
int Serve(const Options& options);

}  // namespace vantic::update_server
