#pragma once

// One connection from its login block to close: check the login, serve
// the one command it names, log the outcome.

#include <atomic>
#include <cstdint>
#include <string>

#include "net/rsa_key.h"
#include "server/delayed_close.h"
#include "server/faults.h"
#include "server/greeter.h"
#include "server/login_gate.h"
#include "server/password_hash.h"
#include "server/server_log.h"
#include "server/store.h"
#include "server/upload_slots.h"
#include "server/verified_logins.h"

namespace vantic::server {

// Per-piece time limits, as the controller uses them.
struct Limits {
    int pieceSeconds = 30;
    int mediaSeconds = 45;  // each piece of a media upload body
    // The whole login block, counted from the nonce: an honest client
    // sends it at once.
    int loginBlockSeconds = 5;
    // A media body must average at least this rate once the grace has
    // passed, which also bounds the whole body: grace + size / rate.
    std::uint32_t minUploadRate = 8192;  // bytes per second
    int uploadGraceSeconds = 10;
    // An upload is refused when the disk would keep less free than this.
    std::uint64_t diskReserveBytes = 64ull << 20;
};

struct ServerContext {
    Store& store;
    const RsaPrivateKey& key;
    Logger& log;
    FaultSource& faults;
    VerifiedLogins& logins;
    Limits limits;
    const std::atomic<bool>* stop = nullptr;
    // Without a gate, logins are checked directly (one at a time per
    // caller, with no back-off); without slots, uploads are not counted.
    LoginGate* gate = nullptr;
    UploadSlots* uploads = nullptr;
    // Holds failed logins until a password check would have ended.
    DelayedClose* closer = nullptr;
    // Iterations an unknown login's check costs when the venue has no hash.
    std::uint32_t hashIterations = kDefaultHashIterations;
};

// Serves the connection (taking ownership of its fd) and logs one line.
// Without a greeting it first greets on its own, as the faults say.
void ServeConnection(ServerContext& context, Accepted accepted);

}  // namespace vantic::server
