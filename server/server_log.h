#pragma once

// The connection log: one line per connection, written when it ends, so a
// test (or a person) can see what the server saw. A line reads
//
//   2026-12-06T13:52:13Z peer=127.0.0.1:40312 login=sovra command=7
//     name=PutMedia unit=-1 outcome=stored bytes-in=4233 bytes-out=20
//     ms=4 digest=9e10...
//
// (on one line). Fields are separated by single blanks; a value never holds
// a blank: blanks, "%" and control bytes are written as %XX. "-" stands for
// a value the connection never got to. Server events (start, stop,
// simulated call-ins) are lines with event=... instead of peer=....

#include <cstdint>
#include <cstdio>
#include <ctime>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "server/log_throttle.h"

namespace vantic::server {

struct ConnectionRecord {
    std::time_t start = 0;
    std::string peer;
    std::optional<std::string> login;
    std::optional<std::int32_t> command;
    std::optional<std::int32_t> unit;
    std::string outcome;
    std::uint64_t bytesIn = 0;
    std::uint64_t bytesOut = 0;
    long long milliseconds = 0;
    std::string digest;  // media commands: the content name
    std::string fault;   // the fault that shaped this connection, if any
};

[[nodiscard]] std::string FormatRecord(const ConnectionRecord& record);
// Writes a value so that it holds no blank, "%" or control byte.
[[nodiscard]] std::string EscapeLogValue(std::string_view value);

class Logger {
  public:
    // path "-" logs to standard error; an empty path logs nothing.
    [[nodiscard]] static std::optional<Logger> Open(const std::string& path, std::string& error);
    Logger(Logger&& other) noexcept;
    ~Logger();
    Logger(const Logger&) = delete;
    Logger& operator=(const Logger&) = delete;
    Logger& operator=(Logger&&) = delete;

    // Writes the record's line; repeated junk from one peer is only counted
    // (see log_throttle.h).
    void Write(const ConnectionRecord& record);
    // An event line: text holds its own key=value fields.
    void Event(std::string_view text);
    // Reports what the throttle still counts (when the server stops).
    void FlushRepeats();

  private:
    explicit Logger(std::FILE* file, bool owned)
        : file_(file), owned_(owned), throttle_(std::make_unique<LogThrottle>()) {}
    void WriteLine(const std::string& line);
    // The throttle's reports of windows that are over, once a second at most.
    void ReportRepeats(bool all);

    std::FILE* file_;
    bool owned_;
    std::mutex lock_;
    std::mutex throttleLock_;
    std::unique_ptr<LogThrottle> throttle_;
    LogThrottle::Clock::time_point lastReport_;
};

}  // namespace vantic::server
