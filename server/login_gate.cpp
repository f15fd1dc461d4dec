#include "server/login_gate.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include "server/password_hash.h"

namespace vantic::server {

namespace {

// A waiter gives up on another connection's check of its login after this
// long and competes for a check of its own.
constexpr std::chrono::seconds kLongestWait{2};

}  // namespace

std::string_view LoginOutcome(LoginVerdict verdict) {
    switch (verdict) {
        case LoginVerdict::Accepted:
            return "accepted";
        case LoginVerdict::Rejected:
            return "bad-login";
        case LoginVerdict::Busy:
            return "login-refused:busy";
        case LoginVerdict::BackingOff:
            return "login-refused:backoff";
    }
    return "?";
}

std::size_t DefaultLoginChecks() {
    return std::max(1u, std::thread::hardware_concurrency());
}

LoginGate::LoginGate(VerifiedLogins& verified, std::size_t maxChecks, Logger& log,
                     BackoffPolicy policy)
    : verified_(verified),
      maxChecks_(std::max<std::size_t>(maxChecks, 1)),
      log_(log),
      backoff_(policy) {}

LoginVerdict LoginGate::Check(const LoginAttempt& attempt) {
    if (attempt.account != nullptr && verified_.Recall(*attempt.account, attempt.password)) {
        return LoginVerdict::Accepted;
    }
    const auto now = LoginBackoff::Clock::now();
    const std::string addressKey = "address=" + EscapeLogValue(attempt.address);
    const std::string loginKey = "login=" + EscapeLogValue(attempt.login);
    // Both are asked, so each counts the refusal.
    const bool addressAllowed = backoff_.Allowed(addressKey, now);
    const bool loginAllowed = backoff_.Allowed(loginKey, now);
    if (!addressAllowed || !loginAllowed) {
        return LoginVerdict::BackingOff;
    }
    Turn turn = TakeTurn(attempt.login, true);
    if (turn == Turn::Waited) {
        if (attempt.account != nullptr && verified_.Recall(*attempt.account, attempt.password)) {
            return LoginVerdict::Accepted;
        }
        turn = TakeTurn(attempt.login, false);
    }
    if (turn != Turn::Mine) {
        return LoginVerdict::Busy;
    }
    const auto began = std::chrono::steady_clock::now();
    const bool correct = SlowCheck(attempt);
    if (correct) {
        // Before the slot goes: the connections that waited for this check
        // look for the login among the verified as soon as it ends.
        verified_.Remember(*attempt.account, attempt.password);
    }
    ReleaseSlot(attempt.login);
    NoteCheckTime(std::chrono::steady_clock::now() - began);
    if (correct) {
        backoff_.Succeeded(addressKey);
        backoff_.Succeeded(loginKey);
        return LoginVerdict::Accepted;
    }
    NoteFailure(addressKey);
    NoteFailure(loginKey);
    return LoginVerdict::Rejected;
}

std::chrono::microseconds LoginGate::TypicalCheck() const {
    return std::chrono::microseconds(typicalMicros_.load());
}

void LoginGate::NoteCheckTime(std::chrono::steady_clock::duration took) {
    // A running mean that follows a changed iteration count within a few
    // checks; races between checks only blur it.
    const std::int64_t micros = std::chrono::duration_cast<std::chrono::microseconds>(took).count();
    const std::int64_t old = typicalMicros_.load();
    typicalMicros_.store(old == 0 ? micros : (old * 3 + micros) / 4);
}

LoginGate::Turn LoginGate::TakeTurn(std::string_view login, bool mayWait) {
    std::unique_lock<std::mutex> hold(lock_);
    // Deciding under one lock: two connections of one login never both
    // find no check running and both start one.
    if (checking_.find(login) != checking_.end()) {
        if (!mayWait) {
            return Turn::Busy;
        }
        checked_.wait_for(hold, kLongestWait,
                          [&] { return checking_.find(login) == checking_.end(); });
        return Turn::Waited;
    }
    if (checking_.size() >= maxChecks_) {
        return Turn::Busy;
    }
    checking_.emplace(login);
    return Turn::Mine;
}

void LoginGate::ReleaseSlot(std::string_view login) {
    {
        std::lock_guard<std::mutex> hold(lock_);
        checking_.erase(checking_.find(login));
    }
    checked_.notify_all();
}

bool LoginGate::SlowCheck(const LoginAttempt& attempt) {
    if (attempt.account != nullptr) {
        return CheckPassword(attempt.account->storedPassword, attempt.password);
    }
    // An unknown login costs what a wrong password costs.
    (void)CheckPassword(UnmatchableHash(attempt.unknownIterations), attempt.password);
    return false;
}

void LoginGate::NoteFailure(const std::string& key) {
    const BackoffStep step = backoff_.Failed(key, LoginBackoff::Clock::now());
    if (step.kind == BackoffStep::Kind::None) {
        return;
    }
    // One line when a burst of failures starts to wait and one when it is
    // locked out, however many attempts it makes meanwhile.
    log_.Event(std::string(step.kind == BackoffStep::Kind::Delaying ? "login-backoff "
                                                                    : "login-lockout ") +
               key + " failures=" + std::to_string(step.failures) +
               " refused=" + std::to_string(backoff_.Refused(key)) +
               " wait-ms=" + std::to_string(step.wait.count()));
}

std::uint32_t UnknownLoginIterations(const std::vector<Account>& accounts, std::uint32_t fallback) {
    for (const Account& account : accounts) {
        if (std::optional<std::uint32_t> iterations = HashIterations(account.storedPassword)) {
            return *iterations;
        }
    }
    return fallback;
}

}  // namespace vantic::server
