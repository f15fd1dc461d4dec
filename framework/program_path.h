#pragma once

// Where the program's own files live. One rule covers every file the
// program writes ("config.ini", "crawl.dat", "customcolor.dat", the update
// files, e-mailed reports): beside the program when that folder may be
// written, else the user's configuration folder ($XDG_CONFIG_HOME/vantic,
// else ~/.config/vantic). A program installed in a system "usr/bin" folder
// never writes beside itself, even when run by root. Files the program only
// reads ("p.key", "UserManual.pdf") are found beside the program, else in
// the system folder "etc/vantic-controller" of the root it is installed
// under (/etc/vantic-controller for /usr/bin; a tree unpacked under /x
// looks in /x/etc/vantic-controller), else in /etc/vantic-controller.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vantic {

// The longest path the program builds for a file beside it.
inline constexpr std::size_t kMaxPathLength = 4096;

// The running program's own file, or none when the system cannot tell.
[[nodiscard]] std::optional<std::string> ExecutablePath();

// The directory of programPath with name in place of the file name. When
// programPath is unknown, or the result would be too long, the file is
// looked for in the current directory instead.
[[nodiscard]] std::string PathBeside(const std::optional<std::string>& programPath,
                                     std::string_view name);

// The full path of name beside the running program; with mustExist, none
// unless that file can be opened for reading.
[[nodiscard]] std::optional<std::string> ProgramFilePath(std::string_view name,
                                                         bool mustExist = false);

// directory joined with name, with one '/' between them.
[[nodiscard]] std::string JoinPath(const std::string& directory, std::string_view name);

// The root a program in programDirectory is installed under: "" for
// "/usr/bin/", "/x" for "/x/usr/bin/" (also ".../usr/local/bin/"); none when
// the program does not live in a system bin folder.
[[nodiscard]] std::optional<std::string> InstallRootOf(std::string_view programDirectory);

// The folder written files go to: programDirectory when writable (and not a
// system install), else the user's configuration folder; programDirectory
// again when there is no home to go to (saving then fails quietly).
[[nodiscard]] std::string WritableDirectoryFor(const std::string& programDirectory, bool writable,
                                               const char* xdgConfigHome, const char* home);

// Makes directory and every folder above it that is missing, readable by
// the user only (the settings hold a password); false when one could not be
// made.
[[nodiscard]] bool MakePrivateDirectories(const std::string& directory);

// The running program's folder for written files, and name's path there.
// The user's folder is made when it is missing (a fresh account), so the
// first file written there can be.
[[nodiscard]] std::string WritableDirectory();
[[nodiscard]] std::string WritableFilePath(std::string_view name);

// The places a read-only file is looked for, in order.
[[nodiscard]] std::vector<std::string> InstalledFileCandidates(std::string_view name);
// The first of them that can be opened for reading.
[[nodiscard]] std::optional<std::string> FindInstalledFile(std::string_view name);

// A document shipped with the program ("UserManual.pdf"): where a
// read-only file is looked for (beside the program, then the system
// folders), else in the package's documentation folder
// (<prefix>/share/doc/vantic-controller for a program in <prefix>/bin),
// else in /usr/share/doc/vantic-controller.
[[nodiscard]] std::vector<std::string> DocumentCandidates(std::string_view name);
[[nodiscard]] std::optional<std::string> FindDocument(std::string_view name);

// A file the program's package ships for it to read ("current.sig"): in
// the package's data folder, <prefix>/share/vantic-controller for a
// program in a system <prefix>/bin, then /usr/share/vantic-controller.
[[nodiscard]] std::vector<std::string> PackageDataCandidates(std::string_view name);

// True for a program in a system bin folder, where a package puts it; such
// a program is replaced by the system's package manager, not by itself.
[[nodiscard]] bool RunsFromSystemFolder();

// Test hook: pretends the program lives in directory (empty: the real place).
void SetProgramDirectoryForTesting(const std::string& directory);

}  // namespace vantic
