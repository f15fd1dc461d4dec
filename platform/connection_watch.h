#pragma once

// The connections that requests hold open, watched so that the operator's
// Cancel or the program's close ends a request at once instead of after
// its time limits: a cancelled thread's connections are shut down (its
// waits wake to a closed connection), and its later connections fail
// before they start, until the thread is resumed for its next operation.

#include <chrono>
#include <optional>
#include <string>
#include <thread>

namespace vantic {

struct WatchedRequest {
    std::string peer;  // "HOST:PORT"
    // When data last moved on its connection, or it was opened: a transfer
    // that moves is not waiting, however long it runs.
    std::chrono::steady_clock::time_point quietSince;
};

// Watches the socket handle the calling thread opens to peer until
// ForgetConnection(handle), which must come before the handle is closed.
void WatchConnection(int handle, std::string peer);
void ForgetConnection(int handle);
// Data moved on handle (or, for a transfer whose handle the caller does not
// hold, on every connection of the calling thread).
void NoteConnectionActivity(int handle);
void NoteRequestActivity();

// Shuts down every connection of thread; its later ones fail at once.
void CancelRequests(std::thread::id thread);
// The same for every thread, including ones that connect later, until
// ResumeAllRequests(): the program is closing and joins its threads.
void CancelAllRequests();
void ResumeAllRequests();
// Lets thread connect again (a new operation starts on it).
void ResumeRequests(std::thread::id thread);
// Whether the calling thread's requests were cancelled.
[[nodiscard]] bool RequestsCancelled();
// The connection of thread that has been quiet longest, if it has one.
[[nodiscard]] std::optional<WatchedRequest> QuietestRequestOf(std::thread::id thread);

}  // namespace vantic
