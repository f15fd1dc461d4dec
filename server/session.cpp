#include "server/session.h"

#include <array>
#include <chrono>

#include "net/hex.h"
#include "net/rsa.h"
#include "server/exchange.h"
#include "server/listener.h"

namespace vantic::server {

namespace {

// Opens and checks a login block; sets the outcome and gives nothing when
// the block is unreadable or names the wrong nonce.
std::optional<LoginRecord> OpenLogin(ServerContext& context,
                                     std::span<const std::uint8_t, kLoginBlockSize> block,
                                     const Nonce& nonce, ConnectionRecord& record) {
    std::optional<std::span<const std::uint8_t>> cipher = LoginCipherText(block);
    std::optional<Bytes> plain;
    if (cipher) {
        plain = RsaOpen(*cipher, context.key);
    }
    std::optional<LoginRecord> login;
    if (plain) {
        login = ParseLoginRecord(*plain);
    }
    if (!login) {
        record.outcome = "bad-login-block";
        return std::nullopt;
    }
    record.login = login->login;
    record.command = login->command;
    record.unit = login->unit;
    if (login->nonce != nonce) {
        record.outcome = "wrong-nonce";
        return std::nullopt;
    }
    return login;
}

// The greeting on the worker's own connection, for connections whose
// greeting a fault shapes: nothing (the outcome set) when it ends early.
std::optional<Greeting> Greet(ServerContext& context, Connection& connection,
                              ConnectionRecord& record) {
    const FaultSet faults = context.faults.Current();
    if (faults.Find(FaultMode::CloseBeforeNonce, -1)) {
        record.fault = "close-before-nonce";
        record.outcome = "closed-before-nonce";
        return std::nullopt;
    }
    if (const Fault* fault = faults.Find(FaultMode::NoNonce, -1)) {
        record.fault = FaultName(*fault);
        record.outcome =
            connection.WaitForPeerClose(fault->seconds) ? "no-nonce:peer-closed" : "no-nonce:held";
        return std::nullopt;
    }
    Greeting greeting;
    greeting.nonce = FreshNonce();
    IoResult result =
        connection.Send(greeting.nonce.data(), greeting.nonce.size(), context.limits.pieceSeconds);
    if (result != IoResult::Ok) {
        record.outcome = IoOutcome(result, "nonce");
        return std::nullopt;
    }
    result = connection.Receive(greeting.block.data(), greeting.block.size(),
                                context.limits.pieceSeconds);
    if (result != IoResult::Ok) {
        record.outcome = IoOutcome(result, "login-block");
        return std::nullopt;
    }
    return greeting;
}

LoginVerdict CheckLogin(ServerContext& context, const std::vector<Account>& accounts,
                        const Account* account, const LoginRecord& login, const std::string& peer) {
    if (context.gate == nullptr) {
        return account != nullptr && context.logins.Check(*account, login.password)
                   ? LoginVerdict::Accepted
                   : LoginVerdict::Rejected;
    }
    const std::string address = PeerAddress(peer);
    return context.gate->Check(
        LoginAttempt{account, login.login, login.password, address,
                     UnknownLoginIterations(accounts, context.hashIterations)});
}

void Dispatch(Exchange& exchange, Command command) {
    switch (command) {
        case Command::QueryMedia:
            ServeMediaQuery(exchange);
            return;
        case Command::PutMedia:
            ServeMediaUpload(exchange);
            return;
        case Command::PutInstructionFile:
        case Command::PutOwnerMap:
            ServeUpload(exchange, command);
            return;
        default:
            ServeDownload(exchange, command);
            return;
    }
}

// Everything after the greeting up to and including the command; sets the
// outcome, and for a failed login when its answer (the close) is due.
void Converse(ServerContext& context, Connection& connection, const Greeting& greeting,
              ConnectionRecord& record, std::chrono::steady_clock::time_point& answerAt) {
    std::optional<LoginRecord> login = OpenLogin(context, greeting.block, greeting.nonce, record);
    if (!login) {
        return;
    }
    const std::vector<Account> accounts = context.store.LoadAccounts();
    const Account* account = FindAccount(accounts, login->login);
    const auto checking = std::chrono::steady_clock::now();
    const LoginVerdict verdict = CheckLogin(context, accounts, account, *login, record.peer);
    if (verdict != LoginVerdict::Accepted) {
        record.outcome = LoginOutcome(verdict);
        if (context.gate != nullptr) {
            answerAt = checking + context.gate->TypicalCheck();
        }
        return;
    }
    std::optional<Command> command = CommandFromCode(login->command);
    if (!command) {
        record.outcome = "unknown-command";
        return;
    }
    if (*command == Command::QueryMedia || *command == Command::PutMedia) {
        record.digest = HexEncode(ByteView(login->digest));
    }
    const FaultSet faults = context.faults.Current();
    Exchange exchange{context, connection, *login, *account, faults, record};
    Dispatch(exchange, *command);
}

}  // namespace

std::string IoOutcome(IoResult result, std::string_view step) {
    return std::string(IoResultName(result)) + ":" + std::string(step);
}

const Fault* Exchange::UseFault(FaultMode mode) {
    const Fault* fault = faults.Find(mode, login.command);
    if (fault != nullptr) {
        record.fault += record.fault.empty() ? "" : ",";
        record.fault += FaultName(*fault);
    }
    return fault;
}

void ServeConnection(ServerContext& context, Accepted accepted) {
    const auto began =
        accepted.greeting ? accepted.greeting->began : std::chrono::steady_clock::now();
    ConnectionRecord record;
    record.start = accepted.greeting ? accepted.greeting->start : std::time(nullptr);
    record.peer = accepted.peer;
    {
        Connection connection(accepted.fd, std::move(accepted.peer), context.stop);
        std::optional<Greeting> greeting = std::move(accepted.greeting);
        // Bytes the greeter moved before the worker took the connection.
        const std::uint64_t greeted = greeting ? kLoginBlockSize : 0;
        if (!greeting) {
            greeting = Greet(context, connection, record);
        }
        std::chrono::steady_clock::time_point answerAt;
        if (greeting) {
            Converse(context, connection, *greeting, record, answerAt);
        }
        record.bytesIn = connection.BytesIn() + greeted;
        record.bytesOut = connection.BytesOut() + (greeted > 0 ? kNonceSize : 0);
        if (context.closer != nullptr && answerAt > std::chrono::steady_clock::now()) {
            context.closer->CloseAt(connection.Release(), answerAt);
        }
    }
    record.milliseconds = std::chrono::duration_cast<std::chrono::milliseconds>(
                              std::chrono::steady_clock::now() - began)
                              .count();
    context.log.Write(record);
}

}  // namespace vantic::server
