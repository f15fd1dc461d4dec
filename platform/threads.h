#pragma once

// Starting a thread that nobody joins: it runs entry(context) and ends.

namespace vantic {

using ThreadEntry = void (*)(void* context);

// False when the thread cannot be started; entry is then not called and
// context stays the caller's.
[[nodiscard]] bool StartDetachedThread(ThreadEntry entry, void* context);

// Test hook: while set, every thread start fails.
void SetThreadStartFailsForTesting(bool fails);

}  // namespace vantic
