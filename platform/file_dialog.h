#pragma once

// The open and save file dialogs. Both are modal and are placed over their
// owner (see platform/placement.h).

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "platform/window.h"

namespace vantic {

struct FileFilter {
    std::string name;      // "Playlist Files"
    std::string patterns;  // "*.PLY", or several joined by ";": "*.JPG;*.JPEG"
};

struct FileDialogRequest {
    WindowId owner = kNoWindow;
    std::string title;
    std::vector<FileFilter> filters;  // the first one starts selected
    std::string initialPath;          // a name, or a full path; may be empty
    std::string defaultExtension;     // without the dot; empty for none
    bool confirmOverwrite = false;    // save: ask before replacing a file
    bool mustExist = false;           // open: refuse names of missing files
    bool resizable = false;
    std::size_t maxPathLength = 260;  // longer choices count as cancelled
};

class FileDialogs {
  public:
    virtual ~FileDialogs() = default;
    // The chosen path, or none when the user cancelled.
    [[nodiscard]] virtual std::optional<std::string> ChooseOpenFile(
        const FileDialogRequest& request) = 0;
    [[nodiscard]] virtual std::optional<std::string> ChooseSaveFile(
        const FileDialogRequest& request) = 0;
};

}  // namespace vantic
