#pragma once

// The running server: the store, the key, the listening socket with its
// accept thread (which also greets new connections, see greeter.h), the
// worker pool and, on request, the unit simulation.

#include <atomic>
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "net/rsa_key.h"
#include "server/delayed_close.h"
#include "server/faults.h"
#include "server/greeter.h"
#include "server/listener.h"
#include "server/login_gate.h"
#include "server/password_hash.h"
#include "server/server_log.h"
#include "server/session.h"
#include "server/simulator.h"
#include "server/store.h"
#include "server/upload_slots.h"
#include "server/worker_pool.h"

namespace vantic::server {

struct ServeOptions {
    std::string dataDir;
    ListenAddress listen{"127.0.0.1", kDefaultPort};
    int simulateSeconds = 0;  // 0: no simulation
    std::vector<Fault> faults;
    std::string faultFile;  // read again for every connection; empty: none
    std::string logPath;    // empty: DIR/server.log; "-": standard error
    Limits limits;
    std::size_t maxWorkers = 256;
    std::size_t maxQueued = 4096;
    // Pending greetings one peer address may hold.
    std::size_t maxGreetingsPerAddress = 512;
    // Slow password checks at once (0: one per core); media uploads at
    // once per account.
    std::size_t loginChecks = 0;
    std::size_t uploadsPerAccount = 8;
    std::size_t maxUploads = 0;  // 0: all workers but one
    bool durable = true;
    // Iterations of the hashes that replace plain-text passwords at start.
    std::uint32_t hashIterations = kDefaultHashIterations;
};

class Server {
  public:
    // Opens the store, checks that the key is private and loads it, hashes
    // plain-text passwords, and starts accepting; nothing (with the reason
    // in error) when any of that fails.
    [[nodiscard]] static std::unique_ptr<Server> Start(const ServeOptions& options,
                                                       std::string& error);
    ~Server();
    Server(const Server&) = delete;
    Server& operator=(const Server&) = delete;

    [[nodiscard]] const ListenAddress& Bound() const { return listener_.Bound(); }
    [[nodiscard]] Store& GetStore() { return *store_; }
    // Stops accepting, abandons slow peers at their next wait, waits for
    // every worker and the simulation. Safe to call more than once.
    void Stop();

  private:
    Server(const ServeOptions& options, std::unique_ptr<Store> store, RsaPrivateKey key, Logger log,
           Listener listener, int wakeFd);
    void AcceptLoop();
    // Accepts what is waiting (a bounded number); false when nothing was.
    bool AcceptOne();
    // Hands a connection to a worker, or closes and logs it when the
    // queue is full.
    void Dispatch(const Accepted& accepted);
    void LogGreeting(const FailedGreeting& failure);

    std::unique_ptr<Store> store_;
    RsaPrivateKey key_;
    Logger log_;
    FaultSource faults_;
    VerifiedLogins logins_;
    LoginGate gate_;
    UploadSlots uploads_;
    DelayedClose closer_;
    Listener listener_;
    std::atomic<bool> stopping_{false};
    ServerContext context_;
    WorkerPool pool_;
    // Used by the accept thread alone.
    Greeter greeter_;
    int wakeFd_;
    std::unique_ptr<Simulator> simulator_;
    std::thread acceptThread_;
};

}  // namespace vantic::server
