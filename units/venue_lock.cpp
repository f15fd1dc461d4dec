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
    if (OnUiThread()) {
        WaitUntil([this] { return TryTake(); });
        return;
    }
    const std::thread::id self = std::this_thread::get_id();
    std::unique_lock hold(mutex_);
    while (holdCount_ != 0 && holder_ != self) {
        ++waits_;
        released_.wait_for(hold, kWorkerRetryWait);
    }
    ++holdCount_;
    holder_ = self;
}

void VenueLock::Unlock() {
    {
        std::lock_guard hold(mutex_);
        if (holdCount_ == 0 || holder_ != std::this_thread::get_id()) {
            return;
        }
        if (--holdCount_ != 0) {
            return;
        }
        holder_ = std::thread::id();
    }
    released_.notify_all();
    if (!OnUiThread()) {
        WakeUi();
    }
}

void VenueLock::WaitUntil(const std::function<bool()>& done) {
    if (!OnUiThread()) {
        while (!done()) {
            std::this_thread::sleep_for(kWorkerRetryWait);
        }
        return;
    }
    // Raised before done() is asked, so a thread that makes done() true
    // after that sees the wait and wakes it.
    ++uiWaits_;
    while (!done()) {
        ++waits_;
        windows_.WaitForMessages(kUiWaitLimit);
    }
    --uiWaits_;
}

void VenueLock::LetWindowsPaint() {
    if (!OnUiThread()) {
        return;
    }
    ++uiWaits_;  // a command dispatched meanwhile is ignored, as in a wait
    windows_.WaitForMessages(std::chrono::milliseconds(0));
    --uiWaits_;
}

void VenueLock::WakeUi() {
    if (uiWaits_.load() > 0) {
        windows_.Wake();
    }
}

}  // namespace vantic
