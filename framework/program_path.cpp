#include "framework/program_path.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdlib>

#include "core/cpstring.h"

namespace vantic {

namespace {

std::string g_testDirectory;

constexpr const char* kSystemFolder = "/etc/vantic-controller";
constexpr const char* kDocumentFolder = "share/doc/vantic-controller";
constexpr const char* kPackageDataFolder = "share/vantic-controller";

std::optional<std::string> FirstExisting(const std::vector<std::string>& places) {
    for (const std::string& place : places) {
        if (FileExists(place)) {
            return place;
        }
    }
    return std::nullopt;
}

std::string DirectoryOf(const std::string& path) {
    return path.substr(0, path.size() - FileNameOf(path).size());
}

std::string ProgramDirectory() {
    return DirectoryOf(ProgramFilePath("config.ini").value_or("./config.ini"));
}

bool MayWrite(const std::string& directory) {
    return ::access(directory.empty() ? "." : directory.c_str(), W_OK) == 0;
}

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

std::string JoinPath(const std::string& directory, std::string_view name) {
    std::string path = directory;
    if (!path.empty() && path.back() != '/') {
        path.push_back('/');
    }
    path.append(name);
    return path;
}

std::optional<std::string> InstallRootOf(std::string_view programDirectory) {
    while (programDirectory.size() > 1 && programDirectory.back() == '/') {
        programDirectory.remove_suffix(1);
    }
    for (std::string_view bin : {"/usr/bin", "/usr/local/bin"}) {
        if (programDirectory.ends_with(bin)) {
            return std::string(programDirectory.substr(0, programDirectory.size() - bin.size()));
        }
    }
    return std::nullopt;
}

std::string WritableDirectoryFor(const std::string& programDirectory, bool writable,
                                 const char* xdgConfigHome, const char* home) {
    if (writable && !InstallRootOf(programDirectory)) {
        return programDirectory;
    }
    if (xdgConfigHome != nullptr && xdgConfigHome[0] == '/') {
        return JoinPath(xdgConfigHome, "vantic");
    }
    if (home != nullptr && home[0] != '\0') {
        return JoinPath(JoinPath(home, ".config"), "vantic");
    }
    return programDirectory;
}

bool MakePrivateDirectories(const std::string& directory) {
    for (std::size_t i = 1; i <= directory.size(); ++i) {
        if (i == directory.size() || directory[i] == '/') {
            const std::string partial = directory.substr(0, i);
            if (::mkdir(partial.c_str(), 0700) != 0 && errno != EEXIST) {
                return false;
            }
        }
    }
    return true;
}

std::string WritableDirectory() {
    const std::string program = ProgramDirectory();
    std::string directory = WritableDirectoryFor(
        program, MayWrite(program), std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"));
    if (directory != program) {
        // A failure shows where the first file is written.
        (void)MakePrivateDirectories(directory);
    }
    return directory;
}

std::string WritableFilePath(std::string_view name) {
    return JoinPath(WritableDirectory(), name);
}

std::vector<std::string> InstalledFileCandidates(std::string_view name) {
    std::vector<std::string> places{ProgramFilePath(name).value_or(std::string(name))};
    std::optional<std::string> root = InstallRootOf(ProgramDirectory());
    if (root && !root->empty()) {
        places.push_back(JoinPath(*root + kSystemFolder, name));
    }
    places.push_back(JoinPath(kSystemFolder, name));
    return places;
}

std::optional<std::string> FindInstalledFile(std::string_view name) {
    return FirstExisting(InstalledFileCandidates(name));
}

namespace {

// <prefix>/folder/name for a program in a system <prefix>/bin, then
// /usr/folder/name, after the places already in `places`.
std::vector<std::string> AddShareCandidates(std::vector<std::string> places,
                                            std::string_view folder, std::string_view name) {
    std::string directory = ProgramDirectory();
    while (directory.size() > 1 && directory.back() == '/') {
        directory.pop_back();
    }
    if (InstallRootOf(directory) && directory.ends_with("/bin")) {
        const std::string prefix = directory.substr(0, directory.size() - 3);
        places.push_back(JoinPath(JoinPath(prefix, folder), name));
    }
    const std::string system = JoinPath(JoinPath("/usr", folder), name);
    if (std::find(places.begin(), places.end(), system) == places.end()) {
        places.push_back(system);
    }
    return places;
}

}  // namespace

std::vector<std::string> DocumentCandidates(std::string_view name) {
    return AddShareCandidates(InstalledFileCandidates(name), kDocumentFolder, name);
}

std::vector<std::string> PackageDataCandidates(std::string_view name) {
    return AddShareCandidates({}, kPackageDataFolder, name);
}

bool RunsFromSystemFolder() {
    return InstallRootOf(ProgramDirectory()).has_value();
}

std::optional<std::string> FindDocument(std::string_view name) {
    return FirstExisting(DocumentCandidates(name));
}

void SetProgramDirectoryForTesting(const std::string& directory) {
    g_testDirectory = directory;
}

}  // namespace vantic
