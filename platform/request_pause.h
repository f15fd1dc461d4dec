#pragma once

// A pause between requests to the server, made the way a request waits
// (RunRequest), so a test that routes its requests sees it among them.

#include "platform/clock.h"

namespace vantic {

void PauseAsRequest(Clock& clock, int milliseconds);

}  // namespace vantic
