#pragma once

// The time limits of an exchange with the server. Every request carries
// its own (ServerAccess::limits); tests hand shorter ones, so that a silent
// server fails a test in a second rather than in 30.

#include <chrono>

namespace vantic {

using std::chrono::milliseconds;

struct SessionLimits {
    milliseconds connect{15'000};    // the connect itself; the system's own can run to minutes
    milliseconds piece{30'000};      // each piece of a transfer, each word
    milliseconds mediaBody{45'000};  // each piece of a media upload's body
};

}  // namespace vantic
