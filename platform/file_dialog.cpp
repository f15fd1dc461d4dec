#include "platform/file_dialog.h"

#include <sys/stat.h>

#include <cstdlib>

namespace vantic {
namespace {

bool IsFolder(const std::string& path) {
    struct stat info {};
    return !path.empty() && ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// The folder of a chosen path: all before its last "/", "/" for a file at
// the root, empty for a bare name.
std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return {};
    }
    return slash == 0 ? std::string("/") : path.substr(0, slash);
}

}  // namespace

std::string StartFolder(const std::string& remembered) {
    if (IsFolder(remembered)) {
        return remembered;
    }
    const char* home = std::getenv("HOME");
    return home != nullptr && IsFolder(home) ? std::string(home) : std::string();
}

std::optional<std::string> FileDialogs::Choose(const FileDialogRequest& request, bool save) {
    FolderMemory* memory = request.kind == FileKind::None ? nullptr : memory_;
    FileDialogRequest started = request;
    if (memory != nullptr && started.initialFolder.empty()) {
        started.initialFolder = StartFolder(memory->LastFolder(request.kind));
    }
    std::optional<std::string> chosen = save ? RunSaveDialog(started) : RunOpenDialog(started);
    if (chosen && memory != nullptr) {
        if (const std::string folder = FolderOf(*chosen); !folder.empty()) {
            memory->Remember(request.kind, folder);
        }
    }
    return chosen;
}

}  // namespace vantic
