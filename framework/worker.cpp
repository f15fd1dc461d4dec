#include "framework/worker.h"

#include <memory>
#include <new>

#include "framework/wmutex.h"
#include "platform/threads.h"

namespace vantic {

namespace {

std::int32_t gLiveWorkers = 0;

// What a started worker is given; the worker frees it when its body returns.
struct WorkerRecord {
    std::function<void()> body;
};

void RunWorker(void* context) {
    std::unique_ptr<WorkerRecord> record(static_cast<WorkerRecord*>(context));
    record->body();
    record.reset();
    LockedDecrement(gLiveWorkers);
}

}  // namespace

bool StartWorker(std::function<void()> body, ThreadStarter& threads) {
    LockedIncrement(gLiveWorkers);
    std::unique_ptr<WorkerRecord> record(new (std::nothrow) WorkerRecord{std::move(body)});
    if (!record || !threads.StartDetached(RunWorker, record.get())) {
        LockedDecrement(gLiveWorkers);
        return false;
    }
    record.release();  // the worker frees it
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

}  // namespace vantic
