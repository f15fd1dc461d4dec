#include "framework/worker.h"

#include <algorithm>
#include <atomic>
#include <memory>
#include <mutex>
#include <new>
#include <vector>

#include "framework/wmutex.h"
#include "platform/threads.h"

namespace vantic {

namespace {

constexpr std::chrono::milliseconds kWaitSlice{50};

std::int32_t gLiveWorkers = 0;

struct Worker {
    std::jthread thread;
    std::atomic<bool> finished{false};
};

// The workers not yet joined. Their own lock: the process-wide one guards
// the count, which the workers change while this list is being joined.
std::mutex gWorkersMutex;
std::vector<std::unique_ptr<Worker>> gWorkers;

thread_local std::stop_token tStop;

// Under gWorkersMutex: joins the workers whose body has returned (their
// thread ends at once).
void JoinFinished() {
    std::erase_if(gWorkers, [](const std::unique_ptr<Worker>& worker) {
        if (!worker->finished.load()) {
            return false;
        }
        worker->thread.join();
        return true;
    });
}

}  // namespace

bool StartWorker(std::function<void()> body, ThreadStarter& threads) {
    LockedIncrement(gLiveWorkers);
    std::unique_ptr<Worker> worker(new (std::nothrow) Worker);
    if (!worker) {
        LockedDecrement(gLiveWorkers);
        return false;
    }
    Worker* record = worker.get();
    std::lock_guard hold(gWorkersMutex);
    JoinFinished();
    std::optional<std::jthread> thread =
        threads.Start([record, body = std::move(body)](std::stop_token stop) {
            tStop = stop;
            body();
            LockedDecrement(gLiveWorkers);
            record->finished = true;
        });
    if (!thread) {
        LockedDecrement(gLiveWorkers);
        return false;
    }
    worker->thread = std::move(*thread);
    gWorkers.push_back(std::move(worker));
    return true;
}

bool StartWorker(WorkerFunction function, std::intptr_t argument) {
    if (function == nullptr) {
        return false;
    }
    return StartWorker([function, argument] { function(argument); });
}

std::int32_t LiveWorkers() {
    WMutexHold hold(WMutex::Current());
    return gLiveWorkers;
}

bool WorkerStopRequested() {
    return tStop.stop_requested();
}

bool WaitForWorkers(std::chrono::milliseconds limit,
                    const std::function<void(std::chrono::milliseconds)>& wait) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (LiveWorkers() > 0) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            return false;
        }
        wait(std::min(left, kWaitSlice));
    }
    return true;
}

void StopWorkers() {
    std::lock_guard hold(gWorkersMutex);
    for (const std::unique_ptr<Worker>& worker : gWorkers) {
        worker->thread.request_stop();
    }
    JoinFinished();
}

void JoinWorkers() {
    std::vector<std::unique_ptr<Worker>> workers;
    {
        std::lock_guard hold(gWorkersMutex);
        workers.swap(gWorkers);
    }
    for (const std::unique_ptr<Worker>& worker : workers) {
        worker->thread.request_stop();
        worker->thread.join();
    }
}

}  // namespace vantic
