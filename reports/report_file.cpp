#include "reports/report_file.h"

#include <optional>

#include "core/cpstring.h"

namespace vantic {

namespace {

std::string DirectoryOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? std::string("/") : path.substr(0, slash);
}

}  // namespace

bool WriteReportFile(const std::string& path, std::string_view bytes) {
    const std::optional<std::string> temporary =
        CreateUniqueFile(DirectoryOf(path), "." + std::string(FileNameOf(path)) + ".", path);
    if (!temporary) {
        return false;
    }
    if (!WriteWholeFile(*temporary, bytes, true) || !MoveFileOver(*temporary, path)) {
        RemoveFile(*temporary);
        return false;
    }
    return true;
}

}  // namespace vantic
