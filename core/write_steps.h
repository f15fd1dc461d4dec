#pragma once

// Test hook: the steps every file replacement passes, told to an observer
// so the kill test can stop a writer at each of them (it raises SIGKILL
// there) and tell a kill mid-write from one between writes.

namespace vantic {

enum class WriteStep { TemporaryOpened, BodyHalfWritten, BeforeRename, Renamed };
using WriteStepObserver = void (*)(WriteStep);

void SetWriteStepObserverForTesting(WriteStepObserver observer);

// Called by the writers at each step; nothing happens without an observer.
void PassWriteStep(WriteStep step);

}  // namespace vantic
