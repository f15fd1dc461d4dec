#include "platform/threads.h"

#include <pthread.h>

#include <atomic>
#include <memory>
#include <new>

namespace vantic {

namespace {

std::atomic<bool> gStartFails{false};

struct Start {
    ThreadEntry entry;
    void* context;
};

void* RunStart(void* record) {
    const Start start = *static_cast<Start*>(record);
    delete static_cast<Start*>(record);
    start.entry(start.context);
    return nullptr;
}

}  // namespace

bool StartDetachedThread(ThreadEntry entry, void* context) {
    if (entry == nullptr || gStartFails.load()) {
        return false;
    }
    std::unique_ptr<Start> record(new (std::nothrow) Start{entry, context});
    if (!record) {
        return false;
    }
    pthread_attr_t attributes;
    if (pthread_attr_init(&attributes) != 0) {
        return false;
    }
    pthread_attr_setdetachstate(&attributes, PTHREAD_CREATE_DETACHED);
    pthread_t thread;
    const int failed = pthread_create(&thread, &attributes, RunStart, record.get());
    pthread_attr_destroy(&attributes);
    if (failed != 0) {
        return false;
    }
    record.release();  // the thread frees it
    return true;
}

void SetThreadStartFailsForTesting(bool fails) {
    gStartFails.store(fails);
}

}  // namespace vantic
