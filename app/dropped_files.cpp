#include "app/dropped_files.h"

#include "core/cpstring.h"

namespace vantic {

std::vector<DropAction> RouteDroppedFiles(const std::vector<std::string>& paths) {
    std::vector<DropAction> actions;
    const bool single = paths.size() == 1;
    for (const std::string& path : paths) {
        if (path.empty()) {
            continue;
        }
        const bool playlist = single && EqualsNoCase(ExtensionOf(path), ".PLY");
        actions.push_back(
            {playlist ? DropAction::Kind::OpenPlaylist : DropAction::Kind::AddFile, path});
    }
    return actions;
}

}  // namespace vantic
