#include "server/session.h"

#include <sys/random.h>

#include <array>
#include <chrono>

#include "net/hex.h"
#include "net/rsa.h"
#include "server/exchange.h"

namespace vantic::server {

namespace {

Nonce FreshNonce() {
    Nonce nonce{};
    std::size_t filled = 0;
    while (filled < nonce.size()) {
        ssize_t got = ::getrandom(nonce.data() + filled, nonce.size() - filled, 0);
        if (got > 0) {
            filled += static_cast<std::size_t>(got);
        }
    }
    return nonce;
}

// Reads and opens the login block; sets the outcome and gives nothing when
// the block is unreadable or the credentials are wrong.
std::optional<LoginRecord> ReadLogin(ServerContext& context, Connection& connection,
                                     const Nonce& nonce, ConnectionRecord& record) {
    std::array<std::uint8_t, kLoginBlockSize> block{};
    IoResult result = connection.Receive(block.data(), block.size(), context.limits.pieceSeconds);
    if (result != IoResult::Ok) {
        record.outcome = IoOutcome(result, "login-block");
        return std::nullopt;
    }
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

// Everything up to and including the command; sets the outcome.
void Converse(ServerContext& context, Connection& connection, ConnectionRecord& record) {
    const FaultSet faults = context.faults.Current();
    if (faults.Find(FaultMode::CloseBeforeNonce, -1)) {
        record.fault = "close-before-nonce";
        record.outcome = "closed-before-nonce";
        return;
    }
    if (const Fault* fault = faults.Find(FaultMode::NoNonce, -1)) {
        record.fault = FaultName(*fault);
        record.outcome =
            connection.WaitForPeerClose(fault->seconds) ? "no-nonce:peer-closed" : "no-nonce:held";
        return;
    }
    const Nonce nonce = FreshNonce();
    IoResult sent = connection.Send(nonce.data(), nonce.size(), context.limits.pieceSeconds);
    if (sent != IoResult::Ok) {
        record.outcome = IoOutcome(sent, "nonce");
        return;
    }
    std::optional<LoginRecord> login = ReadLogin(context, connection, nonce, record);
    if (!login) {
        return;
    }
    const std::vector<Account> accounts = context.store.LoadAccounts();
    const Account* account = FindAccount(accounts, login->login);
    if (account == nullptr || !context.logins.Check(*account, login->password)) {
        record.outcome = "bad-login";
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

void ServeConnection(ServerContext& context, int fd, std::string peer) {
    const auto began = std::chrono::steady_clock::now();
    ConnectionRecord record;
    record.start = std::time(nullptr);
    record.peer = peer;
    {
        Connection connection(fd, std::move(peer), context.stop);
        Converse(context, connection, record);
        record.bytesIn = connection.BytesIn();
        record.bytesOut = connection.BytesOut();
    }
    record.milliseconds = std::chrono::duration_cast<std::chrono::milliseconds>(
                              std::chrono::steady_clock::now() - began)
                              .count();
    context.log.Write(record);
}

}  // namespace vantic::server
