#pragma once

// Worker threads: started, never joined, and counted while they live. The
// count is what lets the application wait for them before it closes and
// lets the periodic refresh start only when no worker runs.

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

}  // namespace vantic
