#pragma once

// Worker threads: started, counted while they live, owned by the facility
// and joined. The count is what lets the application wait for them before
// it closes and lets the periodic refresh start only when no worker runs;
// closing then asks the workers to stop and joins them, so none outlives
// the process-wide lock it counts itself under.

#include <chrono>
#include <cstdint>
#include <functional>

#include "platform/threads.h"

namespace vantic {

using WorkerFunction = void (*)(std::intptr_t argument);

// Starts a thread running function(argument) and counts it as live until
// the function returns. False, with the count as it was, when the thread
// cannot start. Needs the process-wide lock (WMutex).
[[nodiscard]] bool StartWorker(WorkerFunction function, std::intptr_t argument);
// The same for any callable, on a thread of `threads`.
[[nodiscard]] bool StartWorker(std::function<void()> body,
                               ThreadStarter& threads = SystemThreads());

// The number of workers started and not yet finished.
[[nodiscard]] std::int32_t LiveWorkers();

// On a worker: whether it was asked to stop (it returns soon when it was).
[[nodiscard]] bool WorkerStopRequested();

// Waits while workers live, at most `limit`, through wait(slice), which
// returns within the slice (the window's thread dispatches its messages
// meanwhile: workers hand their list changes to it). True when none lives.
bool WaitForWorkers(std::chrono::milliseconds limit,
                    const std::function<void(std::chrono::milliseconds)>& wait);
// Asks every worker to stop.
void StopWorkers();
// Asks every worker to stop and joins each once its body has returned.
void JoinWorkers();

}  // namespace vantic
