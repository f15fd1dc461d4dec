#pragma once

// Decides whether a login may have its password checked, and checks it.
// A password check is slow on purpose, so strangers sending wrong passwords
// could otherwise keep every core busy: here at most a few checks run at
// once (about one per core) and an attempt beyond them is refused at once;
// a login the server has verified before is recalled without waiting behind
// them; repeated failures from one address or for one login back off (see
// login_backoff.h). An unknown login is checked against a hash that matches
// nothing, so its answer takes as long as a wrong password's.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "server/accounts.h"
#include "server/login_backoff.h"
#include "server/server_log.h"
#include "server/verified_logins.h"

namespace vantic::server {

enum class LoginVerdict { Accepted, Rejected, Busy, BackingOff };

// The log outcome of a verdict other than Accepted.
[[nodiscard]] std::string_view LoginOutcome(LoginVerdict verdict);

struct LoginAttempt {
    const Account* account = nullptr;  // null for an unknown login
    std::string_view login;
    std::string_view password;
    std::string_view address;  // the peer's address, without its port
    // Iterations of the hash an unknown login is checked against.
    std::uint32_t unknownIterations = 0;
};

class LoginGate {
  public:
    LoginGate(VerifiedLogins& verified, std::size_t maxChecks, Logger& log,
              BackoffPolicy policy = {});
    LoginGate(const LoginGate&) = delete;
    LoginGate& operator=(const LoginGate&) = delete;

    [[nodiscard]] LoginVerdict Check(const LoginAttempt& attempt);
    // About how long a password check takes here (0 before the first);
    // every failed login is answered no sooner.
    [[nodiscard]] std::chrono::microseconds TypicalCheck() const;

  private:
    // Mine: a check may start (its slot is taken). Waited: another
    // connection was checking the same login and has finished (or 2 s
    // passed), so a burst of honest connections makes one check, not one
    // each. Busy: every slot is taken (or, without mayWait, the login's).
    enum class Turn { Mine, Waited, Busy };
    [[nodiscard]] Turn TakeTurn(std::string_view login, bool mayWait);
    void ReleaseSlot(std::string_view login);
    [[nodiscard]] bool SlowCheck(const LoginAttempt& attempt);
    void NoteFailure(const std::string& key);
    void NoteCheckTime(std::chrono::steady_clock::duration took);

    VerifiedLogins& verified_;
    const std::size_t maxChecks_;
    Logger& log_;
    LoginBackoff backoff_;
    std::mutex lock_;
    std::condition_variable checked_;
    std::multiset<std::string, std::less<>> checking_;  // logins being checked
    std::atomic<std::int64_t> typicalMicros_{0};
};

// About one slow check per core.
[[nodiscard]] std::size_t DefaultLoginChecks();

// The iterations the accounts' own hashes use (the first that reads), so
// an unknown login is checked at the venue's cost; else fallback.
[[nodiscard]] std::uint32_t UnknownLoginIterations(const std::vector<Account>& accounts,
                                                   std::uint32_t fallback);

}  // namespace vantic::server
