#pragma once

// Holds a lock for a scope: Lock() on construction, Unlock() on the way out,
// whichever way that is. Works with any class that has the two (the unit
// list, its lock, the deployment's targets).

namespace vantic {

template <typename Lockable>
class ScopedHold {
  public:
    explicit ScopedHold(Lockable& lockable) : lockable_(lockable) { lockable_.Lock(); }
    ~ScopedHold() { lockable_.Unlock(); }
    ScopedHold(const ScopedHold&) = delete;
    ScopedHold& operator=(const ScopedHold&) = delete;

  private:
    Lockable& lockable_;
};

}  // namespace vantic
