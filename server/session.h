#pragma once

// One connection from its login block to close: check the login, serve
// the one command it names, log the outcome.

#include <atomic>
#include <string>

#include "net/rsa_key.h"
#include "server/faults.h"
#include "server/greeter.h"
#include "server/server_log.h"
#include "server/store.h"
#include "server/verified_logins.h"

namespace vantic::server {

// Per-piece time limits, as the controller uses them.
struct Limits {
    int pieceSeconds = 30;
    int mediaSeconds = 45;  // each piece of a media upload body
};

struct ServerContext {
    Store& store;
    const RsaPrivateKey& key;
    Logger& log;
    FaultSource& faults;
    VerifiedLogins& logins;
    Limits limits;
    const std::atomic<bool>* stop = nullptr;
};

// Serves the connection (taking ownership of its fd) and logs one line.
// Without a greeting it first greets on its own, as the faults say.
void ServeConnection(ServerContext& context, Accepted accepted);

}  // namespace vantic::server
