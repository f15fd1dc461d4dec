#pragma once

// The server-wide owner table: a key=value record, one line per unit, the
// unit number in decimal as the key and the owner's name as the value.

#include <string_view>

#include "net/payload_exchange.h"

namespace vantic {

// Downloads the owner table (Absent when the server keeps none).
[[nodiscard]] FetchResult GetOwnerMap(const ServerAccess& access);

// Replaces the owner table with text; true when the server took it.
[[nodiscard]] bool PutOwnerMap(const ServerAccess& access, std::string_view text);

}  // namespace vantic
