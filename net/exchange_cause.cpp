#include "net/exchange_cause.h"

#include <cerrno>
#include <optional>

#include "core/cpstring.h"
#include "net/server_address.h"

namespace vantic {

namespace {

std::string NoAnswerWithin(milliseconds limit) {
    const long long seconds = (limit.count() + 999) / 1000;
    return FormatNew("No answer within %lld second%s", seconds, seconds == 1 ? "" : "s");
}

// "host:port" as the connection used it.
std::string ServerName(std::string_view host) {
    std::optional<ServerAddress> address = ParseServerAddress(host);
    return address ? address->host + ":" + std::to_string(address->port) : std::string(host);
}

}  // namespace

std::string ConnectCause(std::string_view host, int error, milliseconds connectLimit) {
    switch (error) {
        case ECONNREFUSED:
            return "Connection refused by " + ServerName(host);
        case ETIMEDOUT:
            return NoAnswerWithin(connectLimit);
        default:
            return "Could not connect to " + ServerName(host);
    }
}

std::string AnswerCause(std::chrono::steady_clock::time_point started, bool firstAnswer,
                        milliseconds limit) {
    if (std::chrono::steady_clock::now() - started >= limit) {
        return NoAnswerWithin(limit);
    }
    return firstAnswer ? "The server refused the login name or password"
                       : "The server closed the connection";
}

}  // namespace vantic
