#include "units/venue_lock.h"

#include "platform/window_system.h"

namespace vantic {

VenueLock::VenueLock(WindowSystem& windows)
    : windows_(windows), uiThread_(std::this_thread::get_id()) {}

bool VenueLock::TryTake() {
    const std::thread::id self = std::this_thread::get_id();
    std::lock_guard hold(mutex_);
    if (holdCount_ != 0 && holder_ != self) {
        return false;
    }
    ++holdCount_;
    holder_ = self;
    return true;
}

void VenueLock::Lock() {
    const bool uiThread = std::this_thread::get_id() == uiThread_;
    while (!TryTake()) {
        ++waits_;
        if (uiThread) {
            windows_.PumpMessages();
        }
        std::this_thread::sleep_for(uiThread ? kUiPumpWait : kWorkerRetryWait);
    }
}

void VenueLock::Unlock() {
    std::lock_guard hold(mutex_);
    if (holdCount_ == 0 || holder_ != std::this_thread::get_id()) {
        return;
    }
    if (--holdCount_ == 0) {
        holder_ = std::thread::id();
    }
}

}  // namespace vantic
