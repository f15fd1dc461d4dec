#include "net/exchange_cause.h"

#include <cerrno>

#include "core/cpstring.h"
#include "net/server_address.h"

namespace vantic {

namespace {

std::string NoAnswerWithin(milliseconds limit) {
    const long long seconds = (limit.count() + 999) / 1000;
    return FormatNew("No answer within %lld second%s", seconds, seconds == 1 ? "" : "s");
}

}  // namespace

ExchangeFailure ConnectFailure(std::string_view host, int error, milliseconds connectLimit) {
    switch (error) {
        case ECONNREFUSED:
            return {ServerFault::ConnectionRefused,
                    "Connection refused by " + ServerPeerName(host)};
        case ETIMEDOUT:
            return {ServerFault::NoAnswer, NoAnswerWithin(connectLimit)};
        default:
            return {ServerFault::NotReachable, "Could not connect to " + ServerPeerName(host)};
    }
}

ExchangeFailure AnswerFailure(std::chrono::steady_clock::time_point started, bool firstAnswer,
                              milliseconds limit) {
    if (std::chrono::steady_clock::now() - started >= limit) {
        return {ServerFault::NoAnswer, NoAnswerWithin(limit)};
    }
    if (firstAnswer) {
        return {ServerFault::LoginRefused, "The server refused the login name or password"};
    }
    return {ServerFault::ConnectionClosed, "The server closed the connection"};
}

std::string ConnectCause(std::string_view host, int error, milliseconds connectLimit) {
    return ConnectFailure(host, error, connectLimit).cause;
}

std::string AnswerCause(std::chrono::steady_clock::time_point started, bool firstAnswer,
                        milliseconds limit) {
    return AnswerFailure(started, firstAnswer, limit).cause;
}

bool KeepsServerAway(ServerFault fault) {
    return fault != ServerFault::None && fault != ServerFault::Refused;
}

std::string FaultSummary(ServerFault fault, std::string_view host) {
    const std::string server = ServerPeerName(host);
    switch (fault) {
        case ServerFault::ConnectionRefused:
            return "Connection refused by " + server;
        case ServerFault::NotReachable:
            return "Could not connect to " + server;
        case ServerFault::NoAnswer:
            return "No answer from " + server;
        case ServerFault::LoginRefused:
            return "Login refused";
        case ServerFault::ConnectionClosed:
            return "Connection closed by " + server;
        case ServerFault::Refused:
            return "Request refused by " + server;
        case ServerFault::None:
            break;
    }
    return {};
}

}  // namespace vantic
