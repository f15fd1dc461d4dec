#include "framework/folder_memory.h"

namespace vantic {
namespace {

// A path as long as the dialogs accept, and more.
constexpr std::size_t kFolderRoom = 4096;

std::string_view KindName(FileKind kind) {
    switch (kind) {
        case FileKind::Playlist:
            return "Playlists";
        case FileKind::Media:
            return "Media";
        case FileKind::Report:
            return "Reports";
        case FileKind::Csv:
            return "CSV";
        case FileKind::Image:
            return "Images";
        case FileKind::Document:
            return "Documents";
        case FileKind::Firmware:
            return "Firmware";
        case FileKind::None:
            break;
    }
    return {};
}

}  // namespace

std::string LastFolderKey(FileKind kind) {
    const std::string_view name = KindName(kind);
    return name.empty() ? std::string() : std::string(kLastFolderKeyPrefix) + std::string(name);
}

std::string SettingsFolderMemory::LastFolder(FileKind kind) {
    const std::string key = LastFolderKey(kind);
    return key.empty() ? std::string() : settings_.GetString(key, kFolderRoom, "");
}

void SettingsFolderMemory::Remember(FileKind kind, const std::string& folder) {
    const std::string key = LastFolderKey(kind);
    // A line break would end the settings line early.
    if (key.empty() || folder.size() >= kFolderRoom ||
        folder.find_first_of("\r\n") != std::string::npos || LastFolder(kind) == folder) {
        return;
    }
    // A folder that cannot be stored is only not remembered.
    (void)settings_.SetString(key, folder);
}

}  // namespace vantic
