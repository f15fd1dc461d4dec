#pragma once

// What a command handler works with once the login has been accepted.

#include "server/accounts.h"
#include "server/connection.h"
#include "server/faults.h"
#include "server/server_log.h"
#include "server/session.h"
#include "server/wire.h"

namespace vantic::server {

struct Exchange {
    ServerContext& context;
    Connection& connection;
    const LoginRecord& login;
    const Account& account;
    const FaultSet& faults;
    ConnectionRecord& record;

    // The fault of mode that applies to this command, noted in the log.
    const Fault* UseFault(FaultMode mode);
    [[nodiscard]] int PieceLimit() const { return context.limits.pieceSeconds; }
};

// Each handler runs the rest of the exchange and sets record.outcome.
void ServeDownload(Exchange& exchange, Command command);
void ServeUpload(Exchange& exchange, Command command);
void ServeMediaQuery(Exchange& exchange);
void ServeMediaUpload(Exchange& exchange);

// Sends a reply word, first waiting as a stall-reply fault says.
[[nodiscard]] IoResult SendReplyWord(Exchange& exchange, std::uint32_t word);

// An outcome for an I/O failure at a named step, such as "timeout:body".
[[nodiscard]] std::string IoOutcome(IoResult result, std::string_view step);

}  // namespace vantic::server
