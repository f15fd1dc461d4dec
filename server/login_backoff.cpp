#include "server/login_backoff.h"

#include <algorithm>

namespace vantic::server {

bool LoginBackoff::Allowed(const std::string& key, Clock::time_point now) {
    std::lock_guard<std::mutex> guard(lock_);
    const auto found = entries_.find(key);
    if (found == entries_.end() || now >= found->second.nextAllowed) {
        return true;
    }
    ++found->second.refused;
    found->second.lastSeen = now;
    return false;
}

BackoffStep LoginBackoff::Failed(const std::string& key, Clock::time_point now) {
    std::lock_guard<std::mutex> guard(lock_);
    Sweep(now);
    Entry& entry = entries_[key];
    entry.lastSeen = now;
    const int failures = ++entry.failures;
    if (failures <= policy_.freeFailures) {
        return {};
    }
    if (failures >= policy_.lockoutFailures) {
        // Every failure here starts a lockout (the key was let through
        // only once the last one ended), so each is logged.
        entry.failures = policy_.lockoutFailures;
        entry.nextAllowed = now + policy_.lockout;
        return {BackoffStep::Kind::LockedOut, failures,
                std::chrono::duration_cast<std::chrono::milliseconds>(policy_.lockout)};
    }
    const int doublings = std::min(failures - policy_.freeFailures - 1, 30);
    const auto wait = std::min<std::chrono::milliseconds>(policy_.firstDelay * (1LL << doublings),
                                                          policy_.maxDelay);
    entry.nextAllowed = now + wait;
    const bool starts = failures == policy_.freeFailures + 1;
    return {starts ? BackoffStep::Kind::Delaying : BackoffStep::Kind::None, failures, wait};
}

void LoginBackoff::Succeeded(const std::string& key) {
    std::lock_guard<std::mutex> guard(lock_);
    entries_.erase(key);
}

std::uint64_t LoginBackoff::Refused(const std::string& key) const {
    std::lock_guard<std::mutex> guard(lock_);
    const auto found = entries_.find(key);
    return found == entries_.end() ? 0 : found->second.refused;
}

void LoginBackoff::Sweep(Clock::time_point now) {
    std::erase_if(entries_, [&](const auto& item) {
        return now - item.second.lastSeen > policy_.forgetAfter && now >= item.second.nextAllowed;
    });
    // A flood of invented logins must not grow the table without bound:
    // the keys seen longest ago give way.
    while (entries_.size() >= policy_.maxKeys) {
        auto oldest = std::min_element(
            entries_.begin(), entries_.end(),
            [](const auto& a, const auto& b) { return a.second.lastSeen < b.second.lastSeen; });
        entries_.erase(oldest);
    }
}

}  // namespace vantic::server
