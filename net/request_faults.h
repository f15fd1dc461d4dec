#pragma once

// The requests' faults, told to one listener as they happen: whatever
// asked the server (a unit's settings, a deployment, a report), the program
// learns at once that the server stopped answering, and the unit list can
// show that it is no longer current.

#include <functional>
#include <string>
#include <string_view>

#include "net/exchange_cause.h"

namespace vantic {

// Hears a request's fault and the server it asked ("HOST" or "HOST:PORT"),
// on the thread that made the request.
using RequestFaultListener = std::function<void(ServerFault fault, const std::string& host)>;

// The one listener; empty stops the telling. Calls already under way may
// still reach the listener replaced.
void SetRequestFaultListener(RequestFaultListener listener);
// Tells the listener of a request that failed with fault, unless it failed
// because the operator cancelled it.
void NoteRequestFault(ServerFault fault, std::string_view host);

}  // namespace vantic
