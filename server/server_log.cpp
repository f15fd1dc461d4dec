#include "server/server_log.h"

#include <cerrno>
#include <cstring>

#include "core/cpstring.h"
#include "server/clock_text.h"
#include "server/listener.h"
#include "server/wire.h"

namespace vantic::server {

std::string EscapeLogValue(std::string_view value) {
    if (value.empty()) {
        return "%00";  // an empty value stays visible and distinct from "-"
    }
    std::string text;
    for (char c : value) {
        unsigned char byte = static_cast<unsigned char>(c);
        if (byte <= 0x20 || byte == 0x7F || c == '%') {
            text += FormatNew("%%%02X", byte);
        } else {
            text += c;
        }
    }
    return text;
}

std::string FormatRecord(const ConnectionRecord& record) {
    std::string line = UtcStamp(record.start);
    line += " peer=" + EscapeLogValue(record.peer);
    line += " login=" + (record.login ? EscapeLogValue(*record.login) : std::string("-"));
    line += " command=" + (record.command ? std::to_string(*record.command) : std::string("-"));
    if (record.command) {
        std::optional<Command> command = CommandFromCode(*record.command);
        line += " name=" + std::string(command ? CommandName(*command) : "unknown");
    }
    line += " unit=" + (record.unit ? std::to_string(*record.unit) : std::string("-"));
    line += " outcome=" + EscapeLogValue(record.outcome);
    line += " bytes-in=" + std::to_string(record.bytesIn);
    line += " bytes-out=" + std::to_string(record.bytesOut);
    line += " ms=" + std::to_string(record.milliseconds);
    if (!record.digest.empty()) {
        line += " digest=" + record.digest;
    }
    if (!record.fault.empty()) {
        line += " fault=" + EscapeLogValue(record.fault);
    }
    return line;
}

std::optional<Logger> Logger::Open(const std::string& path, std::string& error) {
    if (path.empty()) {
        return Logger(nullptr, false);
    }
    if (path == "-") {
        return Logger(stderr, false);
    }
    std::FILE* file = std::fopen(path.c_str(), "ae");
    if (file == nullptr) {
        error = "cannot open the log " + path + ": " + std::strerror(errno);
        return std::nullopt;
    }
    return Logger(file, true);
}

Logger::Logger(Logger&& other) noexcept
    : file_(other.file_), owned_(other.owned_), throttle_(std::move(other.throttle_)) {
    other.file_ = nullptr;
    other.owned_ = false;
}

Logger::~Logger() {
    if (owned_ && file_ != nullptr) {
        std::fclose(file_);
    }
}

void Logger::Write(const ConnectionRecord& record) {
    ReportRepeats(false);
    if (throttle_ && IsJunkOutcome(record.outcome)) {
        std::unique_lock<std::mutex> hold(throttleLock_);
        if (!throttle_->Admit(PeerAddress(record.peer), record.outcome,
                              LogThrottle::Clock::now())) {
            return;
        }
    }
    WriteLine(FormatRecord(record));
}

void Logger::FlushRepeats() {
    ReportRepeats(true);
}

void Logger::ReportRepeats(bool all) {
    std::vector<std::string> reports;
    {
        std::lock_guard<std::mutex> hold(throttleLock_);
        const auto now = LogThrottle::Clock::now();
        if (!throttle_ || (!all && now - lastReport_ < std::chrono::seconds(1))) {
            return;
        }
        lastReport_ = now;
        reports = throttle_->Reports(now, all);
    }
    for (const std::string& report : reports) {
        Event("repeated " + report);
    }
}

void Logger::Event(std::string_view text) {
    WriteLine(UtcStamp(std::time(nullptr)) + " event=" + std::string(text));
}

void Logger::WriteLine(const std::string& line) {
    if (file_ == nullptr) {
        return;
    }
    std::lock_guard<std::mutex> hold(lock_);
    std::fwrite(line.data(), 1, line.size(), file_);
    std::fputc('\n', file_);
    std::fflush(file_);
}

}  // namespace vantic::server
