#include "framework/program_path.h"

#include <unistd.h>

#include <vector>

#include "core/cpstring.h"

namespace vantic {

namespace {

std::string g_testDirectory;

}  // namespace

std::optional<std::string> ExecutablePath() {
    std::vector<char> buffer(kMaxPathLength + 1);
    ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
    if (length <= 0) {
        return std::nullopt;
    }
    return std::string(buffer.data(), static_cast<std::size_t>(length));
}

std::string PathBeside(const std::optional<std::string>& programPath, std::string_view name) {
    std::string fallback = "./" + std::string(name);
    if (!programPath) {
        return fallback;
    }
    std::string_view fileName = FileNameOf(*programPath);
    std::string path = programPath->substr(0, programPath->size() - fileName.size());
    path.append(name);
    if (path.size() + 1 > kMaxPathLength) {
        return fallback;
    }
    return path;
}

std::optional<std::string> ProgramFilePath(std::string_view name, bool mustExist) {
    std::optional<std::string> program = ExecutablePath();
    if (!g_testDirectory.empty()) {
        program = g_testDirectory + "/program";
    }
    std::string path = PathBeside(program, name);
    if (mustExist && !FileExists(path)) {
        return std::nullopt;
    }
    return path;
}

void SetProgramDirectoryForTesting(const std::string& directory) {
    g_testDirectory = directory;
}

}  // namespace vantic
