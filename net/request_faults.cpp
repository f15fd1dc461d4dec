#include "net/request_faults.h"

#include <memory>
#include <mutex>

#include "platform/connection_watch.h"

namespace vantic {

namespace {

std::mutex listenerMutex;
std::shared_ptr<const RequestFaultListener> listenerNow;

}  // namespace

void SetRequestFaultListener(RequestFaultListener listener) {
    auto next =
        listener ? std::make_shared<const RequestFaultListener>(std::move(listener)) : nullptr;
    const std::scoped_lock hold(listenerMutex);
    listenerNow = std::move(next);
}

// The listener runs outside the mutex: it may wait for the windows' thread,
// which may be setting a listener meanwhile.
void NoteRequestFault(ServerFault fault, std::string_view host) {
    if (fault == ServerFault::None || RequestsCancelled()) {
        return;
    }
    std::shared_ptr<const RequestFaultListener> listener;
    {
        const std::scoped_lock hold(listenerMutex);
        listener = listenerNow;
    }
    if (listener) {
        (*listener)(fault, std::string(host));
    }
}

}  // namespace vantic
