#include "platform/threads.h"

#include <pthread.h>

#include <memory>
#include <new>

namespace vantic {

namespace {

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

class PosixThreads final : public ThreadStarter {
  public:
    [[nodiscard]] bool StartDetached(ThreadEntry entry, void* context) override;
};

bool PosixThreads::StartDetached(ThreadEntry entry, void* context) {
    if (entry == nullptr) {
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

}  // namespace

ThreadStarter& SystemThreads() {
    static PosixThreads threads;
    return threads;
}

bool StartDetachedThread(ThreadEntry entry, void* context) {
    return SystemThreads().StartDetached(entry, context);
}

}  // namespace vantic
