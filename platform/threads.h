#pragma once

// Starting a thread that nobody joins: it runs entry(context) and ends.
// SystemThreads() starts real ones; a test hands a starter that refuses
// to the code under test to see how it copes.

namespace vantic {

using ThreadEntry = void (*)(void* context);

class ThreadStarter {
  public:
    virtual ~ThreadStarter() = default;
    // False when the thread cannot be started; entry is then not called
    // and context stays the caller's.
    [[nodiscard]] virtual bool StartDetached(ThreadEntry entry, void* context) = 0;
};

// The system's threads.
[[nodiscard]] ThreadStarter& SystemThreads();

// SystemThreads().StartDetached(entry, context).
[[nodiscard]] bool StartDetachedThread(ThreadEntry entry, void* context);

}  // namespace vantic
