#include "platform/file_dialog.h"

#include <sys/stat.h>

#include <cstdlib>

#include "core/cpstring.h"

namespace vantic {
namespace {

bool IsFolder(const std::string& path) {
    struct stat info {};
    return !path.empty() && ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
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
        if (chosen->find('/') != std::string::npos) {  // a bare name tells no folder
            memory->Remember(request.kind, FolderOfPath(*chosen));
        }
    }
    return chosen;
}

}  // namespace vantic
