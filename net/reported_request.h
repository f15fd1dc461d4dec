#pragma once

// A request whose exchange reports progress, run through RunRequest (see
// platform/blocking_calls.h). A report made on the requesting thread goes
// straight to `report`; one made on the worker that carries the exchange
// is relayed: the requesting thread hands the latest one to `report` at
// its next tick, and the answer (cancel) reaches the exchange at its next
// report. So `report`, which may drive a window, only ever runs on the
// requesting thread.

#include <functional>

#include "net/progress.h"

namespace vantic {

[[nodiscard]] bool RunReportedRequest(const std::function<bool(const ByteProgress&)>& exchange,
                                      const ByteProgress& report);

}  // namespace vantic
