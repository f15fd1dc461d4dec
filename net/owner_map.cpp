#include "net/owner_map.h"

namespace vantic {

FetchResult GetOwnerMap(const ServerAccess& access) {
    return FetchPayload(access, ServerCommand::GetOwnerMap, kNoUnit);
}

bool PutOwnerMap(const ServerAccess& access, std::string_view text) {
    return StorePayload(access, ServerCommand::PutOwnerMap, kNoUnit, text);
}

}  // namespace vantic
