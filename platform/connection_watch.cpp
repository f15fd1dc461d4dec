#include "platform/connection_watch.h"

#include <sys/socket.h>

#include <map>
#include <mutex>
#include <set>

namespace vantic {

namespace {

struct Watched {
    std::thread::id owner;
    WatchedRequest request;
};

// Held while a handle is shut down or forgotten, so a handle is never shut
// down after its owner closed it (the number may name another file by then).
std::mutex gMutex;
std::map<int, Watched> gConnections;
std::set<std::thread::id> gCancelled;
bool gAllCancelled = false;

}  // namespace

void WatchConnection(int handle, std::string peer) {
    std::lock_guard hold(gMutex);
    const std::thread::id self = std::this_thread::get_id();
    gConnections[handle] =
        Watched{self, WatchedRequest{std::move(peer), std::chrono::steady_clock::now()}};
    if (gAllCancelled || gCancelled.contains(self)) {
        ::shutdown(handle, SHUT_RDWR);  // cancelled while it was being opened
    }
}

void ForgetConnection(int handle) {
    std::lock_guard hold(gMutex);
    gConnections.erase(handle);
}

void NoteConnectionActivity(int handle) {
    std::lock_guard hold(gMutex);
    if (const auto found = gConnections.find(handle); found != gConnections.end()) {
        found->second.request.quietSince = std::chrono::steady_clock::now();
    }
}

void NoteRequestActivity() {
    std::lock_guard hold(gMutex);
    const std::thread::id self = std::this_thread::get_id();
    for (auto& [handle, watched] : gConnections) {
        if (watched.owner == self) {
            watched.request.quietSince = std::chrono::steady_clock::now();
        }
    }
}

void CancelRequests(std::thread::id thread) {
    std::lock_guard hold(gMutex);
    gCancelled.insert(thread);
    for (const auto& [handle, watched] : gConnections) {
        if (watched.owner == thread) {
            ::shutdown(handle, SHUT_RDWR);
        }
    }
}

void CancelAllRequests() {
    std::lock_guard hold(gMutex);
    gAllCancelled = true;
    for (const auto& [handle, watched] : gConnections) {
        ::shutdown(handle, SHUT_RDWR);
    }
}

void ResumeAllRequests() {
    std::lock_guard hold(gMutex);
    gAllCancelled = false;
    gCancelled.clear();
}

void ResumeRequests(std::thread::id thread) {
    std::lock_guard hold(gMutex);
    gCancelled.erase(thread);
}

bool RequestsCancelled() {
    std::lock_guard hold(gMutex);
    return gAllCancelled || gCancelled.contains(std::this_thread::get_id());
}

std::optional<WatchedRequest> QuietestRequestOf(std::thread::id thread) {
    std::lock_guard hold(gMutex);
    std::optional<WatchedRequest> quietest;
    for (const auto& [handle, watched] : gConnections) {
        if (watched.owner == thread &&
            (!quietest || watched.request.quietSince < quietest->quietSince)) {
            quietest = watched.request;
        }
    }
    return quietest;
}

}  // namespace vantic
