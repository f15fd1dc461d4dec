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
    while (!TryTake()) {
        if (std::this_thread::get_id() == uiThread_) {
            windows_.PumpMessages();
        }
        std::this_thread::sleep_for(kRetryWait);
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
