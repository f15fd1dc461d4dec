#pragma once

// The one process-wide lock that guards the live-worker counter and the
// other integers shared with worker threads. The application object makes
// it when it is constructed and drops it when it is destroyed; a lock
// operation outside that span is a programming error and stops the program
// with the assertion "mutex".

#include <cstdint>
#include <mutex>

#include "core/scoped_hold.h"

namespace vantic {

class WMutex {
  public:
    // Becomes the process-wide lock. Only one may exist at a time.
    WMutex();
    ~WMutex();
    WMutex(const WMutex&) = delete;
    WMutex& operator=(const WMutex&) = delete;

    [[nodiscard]] static bool Exists();
    // The lock that exists now; stops the program like Lock() when none does.
    [[nodiscard]] static WMutex& Current();
    static void Lock();
    static void Unlock();

  private:
    std::recursive_mutex mutex_;
};

// Holds the process-wide lock for a scope: WMutexHold hold(WMutex::Current());
using WMutexHold = ScopedHold<WMutex>;

// The guarded counter operations. Arithmetic wraps around at 32 bits.
std::int32_t LockedExchange(std::int32_t& value, std::int32_t newValue);  // the old value
std::int32_t LockedAdd(std::int32_t& value, std::int32_t delta);          // the old value
std::int32_t LockedIncrement(std::int32_t& value);                        // the new value
std::int32_t LockedDecrement(std::int32_t& value);                        // the new value

}  // namespace vantic
