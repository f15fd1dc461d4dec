#include "framework/wreg.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

#include "core/cpstring.h"
#include "framework/program_path.h"

namespace vantic {

namespace {

constexpr std::size_t kIntBufferSize = 50;
constexpr int kMinimumVisible = 20;
constexpr int kMinimumColumnWidth = 10;

// The settings hold the remembered password: the temporary file is made
// readable by its owner only before anything is written to it, and the
// rename carries that mode over to "config.ini".
bool PreparePrivateFile(const std::string& path) {
    RemoveFile(path);
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) {
        return false;
    }
    return ::close(fd) == 0;
}

bool PointOnMonitor(int x, int y, const Rect& monitor) {
    return monitor.left <= x && x < monitor.right - kMinimumVisible && monitor.top <= y &&
           y < monitor.bottom - kMinimumVisible;
}

}  // namespace

SettingsLocation ChooseSettingsLocation(const std::string& programDirectory,
                                        bool programDirectoryWritable, const char* xdgConfigHome,
                                        const char* home) {
    std::string directory =
        WritableDirectoryFor(programDirectory, programDirectoryWritable, xdgConfigHome, home);
    if (directory == programDirectory) {
        return {directory, {}};
    }
    return {directory, JoinPath(programDirectory, "config.ini")};
}

void WReg::SetSettingsLocation(SettingsLocation location) {
    location_ = std::move(location);
    record_.reset();
}

const SettingsLocation& WReg::Location() {
    if (!location_) {
        std::string beside = ProgramFilePath("config.ini").value_or("./config.ini");
        std::string directory = WritableDirectory();
        location_ = SettingsLocation{
            directory, JoinPath(directory, "config.ini") == beside ? std::string() : beside};
    }
    return *location_;
}

std::string WReg::SettingsFilePath(std::string_view name) {
    return JoinPath(Location().directory, name);
}

cpConfig& WReg::Record() {
    if (!record_) {
        std::string path = SettingsFilePath("config.ini");
        const std::string& seed = Location().seedFile;
        if (!FileExists(path) && !seed.empty()) {
            path = seed;
        }
        record_ = cpConfig::LoadFile(path);
    }
    return *record_;
}

bool WReg::Save() {
    if (!MakePrivateDirectories(Location().directory)) {
        return false;
    }
    const std::string temp = SettingsFilePath("config.ini.temp");
    if (!PreparePrivateFile(temp)) {
        return false;
    }
    return Record().SaveFile(SettingsFilePath("config.ini"), temp, writes_);
}

std::string WReg::GetString(std::string_view key, std::size_t bufferSize,
                            std::string_view fallback) {
    std::string value = Record().Get(key, fallback);
    if (value.size() >= bufferSize) {
        return {};
    }
    return value;
}

bool WReg::SetString(std::string_view key, std::string_view value) {
    Record().Set(key, value);
    return Save();
}

std::vector<std::pair<std::string, std::string>> WReg::EntriesStartingWith(
    std::string_view prefix) {
    return Record().EntriesStartingWith(prefix);
}

bool WReg::RemoveKey(std::string_view key) {
    Record().RemoveKey(key);
    return Save();
}

int WReg::GetInt(std::string_view key, int fallback) {
    std::string text = GetString(key, kIntBufferSize, FormatNew("%d", fallback));
    return static_cast<int>(LeadingInteger(text));
}

bool WReg::SetInt(std::string_view key, int value) {
    return SetString(key, FormatNew("%d", value));
}

bool WReg::GetBool(std::string_view key, bool fallback) {
    return GetInt(key, fallback ? 1 : 0) != 0;
}

void WReg::SaveWindowPlacement(std::string_view prefix, const PlacedWindow& window, bool withSize) {
    std::optional<Rect> rect = window.NormalRect();
    if (!rect) {
        return;
    }
    std::string base(prefix);
    SetInt(base + "_x", rect->left);
    SetInt(base + "_y", rect->top);
    if (withSize) {
        SetInt(base + "_dx", rect->Width());
        SetInt(base + "_dy", rect->Height());
    }
}

void WReg::RestoreWindowPlacement(std::string_view prefix, PlacedWindow& window,
                                  const Displays& displays, bool withSize) {
    Rect current = window.NormalRect().value_or(Rect{});
    std::string base(prefix);
    int x = std::max(0, GetInt(base + "_x", current.left));
    int y = std::max(0, GetInt(base + "_y", current.top));

    // A window saved on a monitor that is gone comes back at the top left.
    if (std::optional<std::vector<Rect>> monitors = displays.MonitorRects()) {
        bool visible = false;
        for (const Rect& monitor : *monitors) {
            visible = visible || PointOnMonitor(x, y, monitor);
        }
        if (!visible) {
            x = 0;
            y = 0;
        }
    } else {
        Rect work = displays.WorkArea();
        if (x > work.right - kMinimumVisible) {
            x = 0;
        }
        if (y > work.bottom - kMinimumVisible) {
            y = 0;
        }
    }

    if (!withSize) {
        window.MoveTo(x, y);
        return;
    }
    int width = std::max(kMinimumVisible, GetInt(base + "_dx", current.Width()));
    int height = std::max(kMinimumVisible, GetInt(base + "_dy", current.Height()));
    window.MoveResize(x, y, width, height);
}

void WReg::StoreColumnWidths(std::string_view prefix, const ColumnWidths& list, int columnCount) {
    std::string base(prefix);
    for (int column = 0; column < columnCount; ++column) {
        int width = list.ColumnWidth(column);
        if (width == 0) {
            return;
        }
        SetInt(FormatNew("%s_col%d", base.c_str(), column), width);
    }
}

void WReg::ApplyColumnWidths(std::string_view prefix, ColumnWidths& list, int columnCount) {
    std::string base(prefix);
    for (int column = 0; column < columnCount; ++column) {
        int width = list.ColumnWidth(column);
        if (width == 0) {
            return;
        }
        int saved = GetInt(FormatNew("%s_col%d", base.c_str(), column), width);
        list.SetColumnWidth(column, saved < kMinimumColumnWidth ? kMinimumColumnWidth : saved);
    }
}

}  // namespace vantic
