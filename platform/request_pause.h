#pragma once

// A pause between requests to the server, made the way a request waits
// (RunRequest): from the user-interface thread the windows keep painting
// through it, where a plain Sleep holds them still.

#include "platform/clock.h"

namespace vantic {

void PauseAsRequest(Clock& clock, int milliseconds);

}  // namespace vantic
