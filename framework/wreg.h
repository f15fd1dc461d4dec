#pragma once

// WReg: the settings store. Every setting lives in "config.ini", loaded on
// first use and rewritten in full, through "config.ini.temp", after every
// change. The file sits where the program writes its files (beside the
// program, else the user's configuration directory: see program_path.h),
// taking its first contents from a file beside the program if there is one.
// It holds the remembered password, so it is kept readable by its owner only.

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/cpconfig.h"
#include "platform/geometry.h"

namespace vantic {

// Where the settings file is read from and written to.
struct SettingsLocation {
    std::string directory;  // where config.ini and config.ini.temp are written
    std::string seedFile;   // read when directory holds no config.ini yet (may be empty)
};

// Picks the settings directory: beside the program when writable, else the
// user's configuration directory.
[[nodiscard]] SettingsLocation ChooseSettingsLocation(const std::string& programDirectory,
                                                      bool programDirectoryWritable,
                                                      const char* xdgConfigHome, const char* home);

class WReg {
  public:
    // `writes` writes the settings file and the program's other own files
    // (play lists, reports); a test hands one whose step fails.
    explicit WReg(FileWrites& writes = SystemFileWrites()) : writes_(writes) {}
    virtual ~WReg() = default;
    WReg(const WReg&) = delete;
    WReg& operator=(const WReg&) = delete;

    // Uses location instead of the one found from the program's directory
    // (tests, and programs that keep their settings elsewhere).
    void SetSettingsLocation(SettingsLocation location);
    // The full path of a data file kept with the settings ("crawl.dat",
    // "customcolor.dat").
    [[nodiscard]] std::string SettingsFilePath(std::string_view name);
    // What the program's own files are written with.
    [[nodiscard]] FileWrites& Writes() { return writes_; }

    // The value, or fallback when the key is absent; a value of bufferSize
    // characters or more reads as empty text.
    [[nodiscard]] std::string GetString(std::string_view key, std::size_t bufferSize,
                                        std::string_view fallback = {});
    // Sets the key and saves the file at once. False when the save failed;
    // the value is kept in memory and written by the next successful save.
    bool SetString(std::string_view key, std::string_view value);
    [[nodiscard]] int GetInt(std::string_view key, int fallback);
    bool SetInt(std::string_view key, int value);
    [[nodiscard]] bool GetBool(std::string_view key, bool fallback);
    // Every key beginning with prefix (case ignored) with its value, in the
    // file's order; a key that appears twice counts once, as lookups see it.
    [[nodiscard]] std::vector<std::pair<std::string, std::string>> EntriesStartingWith(
        std::string_view prefix);
    // Removes the key and saves the file at once; false when the save failed.
    bool RemoveKey(std::string_view key);

    void SaveWindowPlacement(std::string_view prefix, const PlacedWindow& window, bool withSize);
    void RestoreWindowPlacement(std::string_view prefix, PlacedWindow& window,
                                const Displays& displays, bool withSize);
    void StoreColumnWidths(std::string_view prefix, const ColumnWidths& list, int columnCount);
    void ApplyColumnWidths(std::string_view prefix, ColumnWidths& list, int columnCount);

  private:
    cpConfig& Record();
    const SettingsLocation& Location();
    bool Save();

    FileWrites& writes_;
    std::optional<SettingsLocation> location_;
    std::optional<cpConfig> record_;
};

}  // namespace vantic
