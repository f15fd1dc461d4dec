#pragma once

#include <cstdint>
#include <functional>

namespace vantic {

// Reports how far a long byte operation has got: (bytes done, bytes in
// all). Returns true to cancel the operation. An empty function never
// cancels.
using ByteProgress = std::function<bool(std::uint64_t done, std::uint64_t total)>;

}  // namespace vantic
