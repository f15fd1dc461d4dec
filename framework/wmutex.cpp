#include "framework/wmutex.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>

namespace vantic {

namespace {

std::atomic<WMutex*> gProcessLock{nullptr};

[[noreturn]] void MissingLock() {
    std::fprintf(stderr, "Assertion failed: mutex, file WMutex\n");
    std::abort();
}

std::int32_t Wrap(std::int64_t value) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(value & 0xFFFFFFFF));
}

}  // namespace

WMutex::WMutex() {
    WMutex* expected = nullptr;
    if (!gProcessLock.compare_exchange_strong(expected, this)) {
        std::fprintf(stderr, "Assertion failed: one process lock, file WMutex\n");
        std::abort();
    }
}

WMutex::~WMutex() {
    WMutex* expected = this;
    gProcessLock.compare_exchange_strong(expected, nullptr);
}

bool WMutex::Exists() {
    return gProcessLock.load() != nullptr;
}

WMutex& WMutex::Current() {
    WMutex* lock = gProcessLock.load();
    if (lock == nullptr) {
        MissingLock();
    }
    return *lock;
}

void WMutex::Lock() {
    Current().mutex_.lock();
}

void WMutex::Unlock() {
    Current().mutex_.unlock();
}

std::int32_t LockedExchange(std::int32_t& value, std::int32_t newValue) {
    WMutexHold hold(WMutex::Current());
    const std::int32_t old = value;
    value = newValue;
    return old;
}

std::int32_t LockedAdd(std::int32_t& value, std::int32_t delta) {
    WMutexHold hold(WMutex::Current());
    const std::int32_t old = value;
    value = Wrap(static_cast<std::int64_t>(old) + delta);
    return old;
}

std::int32_t LockedIncrement(std::int32_t& value) {
    WMutexHold hold(WMutex::Current());
    value = Wrap(static_cast<std::int64_t>(value) + 1);
    return value;
}

std::int32_t LockedDecrement(std::int32_t& value) {
    WMutexHold hold(WMutex::Current());
    value = Wrap(static_cast<std::int64_t>(value) - 1);
    return value;
}

}  // namespace vantic
