#include "core/write_steps.h"

namespace vantic {

namespace {

WriteStepObserver g_observer = nullptr;

}  // namespace

void SetWriteStepObserverForTesting(WriteStepObserver observer) {
    g_observer = observer;
}

void PassWriteStep(WriteStep step) {
    if (g_observer != nullptr) {
        g_observer(step);
    }
}

}  // namespace vantic
