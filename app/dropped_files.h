#pragma once

// What files dropped on the playlist list become: a single playlist file
// is opened, anything else is offered to the playlist as a file to add
// (which takes media files and ignores the rest).

#include <string>
#include <vector>

namespace vantic {

struct DropAction {
    enum class Kind { OpenPlaylist, AddFile };
    Kind kind = Kind::AddFile;
    std::string path;
    bool operator==(const DropAction&) const = default;
};

// The actions, in drop order. Empty paths are skipped; among several files
// a playlist file is just another file to add.
[[nodiscard]] std::vector<DropAction> RouteDroppedFiles(const std::vector<std::string>& paths);

}  // namespace vantic
