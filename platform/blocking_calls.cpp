#include "platform/blocking_calls.h"

#include <atomic>
#include <thread>

#include "platform/request_pause.h"

namespace vantic {

namespace {

// Set and cleared on the user-interface thread while no request runs.
std::atomic<BlockingCalls*> route{nullptr};
std::atomic<std::thread::id> routedThread;

}  // namespace

void SetRequestCalls(BlockingCalls* calls) {
    routedThread = std::this_thread::get_id();
    route = calls;
}

void RunRequest(const std::function<void()>& call, const std::function<void()>& tick) {
    BlockingCalls* calls = route.load();
    if (calls == nullptr || std::this_thread::get_id() != routedThread.load()) {
        DirectCalls().Run(call, tick);
        return;
    }
    calls->Run(call, tick);
}

void PauseAsRequest(Clock& clock, int milliseconds) {
    RunRequest([&clock, milliseconds] { clock.Sleep(milliseconds); });
}

}  // namespace vantic
