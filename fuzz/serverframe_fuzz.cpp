// Any bytes as what a logged-in controller sends after the greeting: the
// first byte picks the command and unit, the rest arrives on the socket
// and then the peer goes away. The server must answer or drop the
// connection without crashing, and never store a torn file.

#include <signal.h>
#include <stdlib.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <filesystem>

#include "fuzz/fuzz_check.h"
#include "server/exchange.h"

namespace vantic::server {
namespace {

constexpr std::array<Command, 8> kCommands = {
    Command::QueryMedia,       Command::PutMedia,           Command::PutInstructionFile,
    Command::PutOwnerMap,      Command::GetInstructionFile, Command::GetPlaylistInfo,
    Command::GetRuntimeReport, Command::GetTimingInfo,
};

struct Rig {
    Rig() {
        ::signal(SIGPIPE, SIG_IGN);
        char pattern[] = "/tmp/vantic-frame-fuzz-XXXXXX";
        dir = ::mkdtemp(pattern);
        std::string error;
        store = Store::Open(dir, false, error);
        FUZZ_CHECK(store != nullptr);
        log.emplace(*Logger::Open("", error));
        account.login = "fuzz";
        account.allUnits = true;
    }
    ~Rig() { std::filesystem::remove_all(dir); }

    std::string dir;
    std::unique_ptr<Store> store;
    std::optional<Logger> log;
    RsaPrivateKey key;
    FaultSource faults{{}, ""};
    VerifiedLogins logins;
    Account account;
};

void Serve(Rig& rig, Command command, std::int32_t unit, const std::uint8_t* data,
           std::size_t size) {
    int ends[2];
    FUZZ_CHECK(::socketpair(AF_UNIX, SOCK_STREAM, 0, ends) == 0);
    const int buffer = 1 << 20;
    ::setsockopt(ends[1], SOL_SOCKET, SO_SNDBUF, &buffer, sizeof buffer);
    FUZZ_CHECK(::write(ends[1], data, size) == static_cast<ssize_t>(size) || size == 0);
    ::close(ends[1]);

    ServerContext context{*rig.store, rig.key,      *rig.log, rig.faults,
                          rig.logins, Limits{1, 1}, nullptr};
    Connection connection(ends[0], "fuzz", nullptr);
    LoginRecord login;
    login.command = static_cast<std::int32_t>(command);
    login.unit = unit;
    login.login = rig.account.login;
    const FaultSet faults;
    ConnectionRecord record;
    Exchange exchange{context, connection, login, rig.account, faults, record};
    switch (command) {
        case Command::QueryMedia:
            ServeMediaQuery(exchange);
            break;
        case Command::PutMedia:
            ServeMediaUpload(exchange);
            break;
        case Command::PutInstructionFile:
        case Command::PutOwnerMap:
            ServeUpload(exchange, command);
            break;
        default:
            ServeDownload(exchange, command);
            break;
    }
    FUZZ_CHECK(!record.outcome.empty());
}

// True when tmp/ holds nothing but the store's lock.
bool NoTemporaryFiles(const std::string& dir) {
    for (const auto& entry : std::filesystem::directory_iterator(dir + "/tmp")) {
        if (entry.path().filename() != "server.lock") {
            return false;
        }
    }
    return true;
}

}  // namespace
}  // namespace vantic::server

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vantic::server;
    static Rig rig;
    if (size == 0) {
        return 0;
    }
    const Command command = kCommands[data[0] % kCommands.size()];
    const std::int32_t unit = data[0] / kCommands.size() % 4 + 1;
    Serve(rig, command, unit, data + 1, size - 1);
    // Whatever arrived, nothing half-written is left in the store's folder.
    FUZZ_CHECK(NoTemporaryFiles(rig.dir));
    return 0;
}
