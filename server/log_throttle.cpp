#include "server/log_throttle.h"

#include <algorithm>

namespace vantic::server {

bool IsJunkOutcome(std::string_view outcome) {
    return outcome == "bad-login-block" || outcome == "wrong-nonce" || outcome == "bad-login" ||
           outcome == "overload" || outcome == "refused:busy" ||
           outcome.starts_with("login-refused:") || outcome.ends_with(":login-block") ||
           outcome.ends_with(":nonce");
}

bool LogThrottle::Admit(std::string_view address, std::string_view outcome, Clock::time_point now) {
    auto key = std::make_pair(std::string(address), std::string(outcome));
    auto found = windows_.find(key);
    if (found == windows_.end() || now - found->second.began >= policy_.window) {
        if (found == windows_.end() && windows_.size() >= policy_.maxKeys) {
            // Too many peers at once to keep apart: the line is counted
            // nowhere but still written, as it would be without the throttle.
            return true;
        }
        Window& window = windows_[key];
        if (window.counted > 0) {
            pending_.push_back(Report(key, window, now));
        }
        window = Window{now, 1, 0};
        return true;
    }
    Window& window = found->second;
    if (window.lines < policy_.freeLines) {
        ++window.lines;
        return true;
    }
    ++window.counted;
    return false;
}

std::string LogThrottle::Report(const std::pair<std::string, std::string>& key,
                                const Window& window, Clock::time_point now) {
    const auto seconds =
        std::chrono::duration_cast<std::chrono::seconds>(now - window.began).count();
    return "peer=" + key.first + " outcome=" + key.second +
           " repeated=" + std::to_string(window.counted) + " seconds=" + std::to_string(seconds);
}

std::vector<std::string> LogThrottle::Reports(Clock::time_point now, bool all) {
    std::vector<std::string> reports = std::move(pending_);
    pending_.clear();
    for (auto at = windows_.begin(); at != windows_.end();) {
        if (!all && now - at->second.began < policy_.window) {
            ++at;
            continue;
        }
        if (at->second.counted > 0) {
            reports.push_back(Report(at->first, at->second, now));
        }
        at = windows_.erase(at);
    }
    return reports;
}

}  // namespace vantic::server
