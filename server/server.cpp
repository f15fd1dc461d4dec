#include "server/server.h"

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "server/account_file.h"
#include "server/private_files.h"

namespace vantic::server {

namespace {

// Connections accepted per wake of the accept thread, before the greetings
// pending are served again.
constexpr int kAcceptBurst = 16;

}  // namespace

Server::Server(const ServeOptions& options, std::unique_ptr<Store> store, RsaPrivateKey key,
               Logger log, Listener listener, int wakeFd)
    : store_(std::move(store)),
      key_(std::move(key)),
      log_(std::move(log)),
      faults_(options.faults, options.faultFile),
      gate_(logins_, options.loginChecks > 0 ? options.loginChecks : DefaultLoginChecks(), log_),
      uploads_(options.uploadsPerAccount,
               options.maxUploads > 0 ? options.maxUploads : UploadsForWorkers(options.maxWorkers)),
      listener_(std::move(listener)),
      context_{*store_,
               key_,
               log_,
               faults_,
               logins_,
               options.limits,
               &stopping_,
               &gate_,
               &uploads_,
               &closer_,
               options.hashIterations},
      pool_(options.maxWorkers, options.maxQueued,
            [this](Accepted accepted) { ServeConnection(context_, std::move(accepted)); }),
      greeter_(std::min(options.limits.pieceSeconds, options.limits.loginBlockSeconds),
               options.maxQueued, options.maxGreetingsPerAddress),
      wakeFd_(wakeFd) {
    if (options.simulateSeconds > 0) {
        simulator_ = std::make_unique<Simulator>(*store_, log_, options.simulateSeconds);
    }
    acceptThread_ = std::thread([this] { AcceptLoop(); });
}

std::unique_ptr<Server> Server::Start(const ServeOptions& options, std::string& error) {
    std::unique_ptr<Store> store = Store::Open(options.dataDir, options.durable, error);
    if (!store) {
        return nullptr;
    }
    if (std::optional<std::string> problem = KeyFileProblem(store->PrivateKeyPath())) {
        error = *problem;
        return nullptr;
    }
    std::optional<RsaPrivateKey> key = LoadPrivateKeyFile(store->PrivateKeyPath());
    if (!key) {
        error = "cannot read the server key " + store->PrivateKeyPath() +
                " (create a venue with seed-demo)";
        return nullptr;
    }
    if (!SecureAccountFile(store->Dir(), options.hashIterations, options.durable, error)) {
        return nullptr;
    }
    const std::string logPath =
        options.logPath.empty() ? options.dataDir + "/server.log" : options.logPath;
    std::optional<Logger> log = Logger::Open(logPath, error);
    if (!log) {
        return nullptr;
    }
    std::optional<Listener> listener = Listener::Open(options.listen, error);
    if (!listener) {
        return nullptr;
    }
    int wakeFd = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (wakeFd < 0) {
        error = "cannot create an event descriptor";
        return nullptr;
    }
    log->Event("start listen=" + listener->Bound().host + ":" +
               std::to_string(listener->Bound().port) + " data=" + EscapeLogValue(options.dataDir));
    return std::unique_ptr<Server>(new Server(options, std::move(store), std::move(*key),
                                              std::move(*log), std::move(*listener), wakeFd));
}

Server::~Server() {
    Stop();
    ::close(wakeFd_);
}

void Server::Stop() {
    if (stopping_.exchange(true)) {
        return;
    }
    std::uint64_t one = 1;
    (void)!::write(wakeFd_, &one, sizeof one);
    if (acceptThread_.joinable()) {
        acceptThread_.join();
    }
    pool_.Stop();
    closer_.Stop();
    if (simulator_) {
        simulator_->Stop();
    }
    log_.FlushRepeats();
    log_.Event("stop");
}

void Server::AcceptLoop() {
    std::vector<pollfd> watched;
    std::vector<Accepted> complete;
    std::vector<FailedGreeting> failed;
    while (!stopping_.load()) {
        watched.assign({{listener_.Fd(), POLLIN, 0}, {wakeFd_, POLLIN, 0}});
        greeter_.AppendPollEntries(watched);
        if (::poll(watched.data(), watched.size(), greeter_.NextTimeoutMs()) < 0 &&
            errno != EINTR) {
            break;
        }
        if (watched[1].revents != 0) {
            break;
        }
        complete.clear();
        failed.clear();
        greeter_.Service(watched.data() + 2, watched.size() - 2, complete, failed);
        for (const Accepted& accepted : complete) {
            Dispatch(accepted);
        }
        for (const FailedGreeting& failure : failed) {
            LogGreeting(failure);
        }
        // A burst of connections is taken in one go: while the listen queue
        // is full the system drops new connection requests, honest or not.
        for (int taken = 0; watched[0].revents != 0 && taken < kAcceptBurst && AcceptOne();) {
            ++taken;
        }
    }
    greeter_.CloseAll();
}

bool Server::AcceptOne() {
    int fd = ::accept4(listener_.Fd(), nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0) {
        if (errno == EMFILE || errno == ENFILE) {
            ::poll(nullptr, 0, 50);  // out of descriptors: let workers finish some
        }
        return false;
    }
    // A download answer is a header and then the body, two writes. With
    // Nagle's algorithm the body waits for the header's acknowledgement,
    // which a client that sends nothing while it waits delays by up to
    // 40 ms: every download would take that long.
    const int noDelay = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &noDelay, sizeof noDelay);
    std::string peer = PeerText(fd);
    // Faults that shape the greeting itself leave it to the worker.
    const FaultSet faults = faults_.Current();
    if (faults.Find(FaultMode::CloseBeforeNonce, -1) || faults.Find(FaultMode::NoNonce, -1)) {
        Dispatch(Accepted{fd, std::move(peer), std::nullopt});
        return true;
    }
    std::vector<Accepted> complete;
    std::vector<FailedGreeting> failed;
    greeter_.Add(fd, std::move(peer), complete, failed);
    for (const Accepted& accepted : complete) {
        Dispatch(accepted);
    }
    for (const FailedGreeting& failure : failed) {
        LogGreeting(failure);
    }
    return true;
}

void Server::Dispatch(const Accepted& accepted) {
    if (pool_.Submit(accepted)) {
        return;
    }
    ::close(accepted.fd);
    LogGreeting(FailedGreeting{accepted.peer, std::time(nullptr), "overload"});
}

void Server::LogGreeting(const FailedGreeting& failure) {
    ConnectionRecord record;
    record.start = failure.start;
    record.peer = failure.peer;
    record.outcome = failure.outcome;
    record.bytesIn = failure.bytesIn;
    record.bytesOut = failure.bytesOut;
    record.milliseconds = failure.milliseconds;
    log_.Write(record);
}

}  // namespace vantic::server
