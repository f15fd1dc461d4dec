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

// The kinds of file the dialogs remember a folder for.
enum class FileKind { None, Playlist, Media, Report, Csv, Image, Document, Firmware };

struct FileDialogRequest {
    WindowId owner = kNoWindow;
    std::string title;
    std::vector<FileFilter> filters;  // the first one starts selected
    std::string initialPath;          // a name, or a full path; may be empty
    FileKind kind = FileKind::None;   // the folder a name is offered in (see FileDialogs)
    std::string initialFolder;        // where the dialog opens; empty: the realisation's choice
    std::string defaultExtension;     // without the dot; empty for none
    bool confirmOverwrite = false;    // save: ask before replacing a file
    bool mustExist = false;           // open: refuse names of missing files
    bool resizable = false;
    std::size_t maxPathLength = 260;  // longer choices count as cancelled
};

// Where the dialogs keep the last folder a file of each kind was chosen in.
class FolderMemory {
  public:
    virtual ~FolderMemory() = default;
    // Empty when none is kept.
    [[nodiscard]] virtual std::string LastFolder(FileKind kind) = 0;
    virtual void Remember(FileKind kind, const std::string& folder) = 0;
};

class FileDialogs {
  public:
    virtual ~FileDialogs() = default;
    // The chosen path, or none when the user cancelled. With a folder
    // memory, a request of a kind opens in the folder a file of that kind
    // was last chosen in (the home folder the first time, or when that
    // folder is gone), and the folder of the choice is remembered.
    [[nodiscard]] std::optional<std::string> ChooseOpenFile(const FileDialogRequest& request) {
        return Choose(request, false);
    }
    [[nodiscard]] std::optional<std::string> ChooseSaveFile(const FileDialogRequest& request) {
        return Choose(request, true);
    }
    // memory outlives its use here; null forgets it.
    void RememberFoldersIn(FolderMemory* memory) { memory_ = memory; }

  protected:
    [[nodiscard]] virtual std::optional<std::string> RunOpenDialog(
        const FileDialogRequest& request) = 0;
    [[nodiscard]] virtual std::optional<std::string> RunSaveDialog(
        const FileDialogRequest& request) = 0;

  private:
    [[nodiscard]] std::optional<std::string> Choose(const FileDialogRequest& request, bool save);
    FolderMemory* memory_ = nullptr;
};

// The folder a dialog of a kind opens in: remembered when it is still a
// folder, else the home folder when there is one, else empty.
[[nodiscard]] std::string StartFolder(const std::string& remembered);

}  // namespace vantic
