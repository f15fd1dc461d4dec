#pragma once

// The file dialogs' memory of the last folder used for each kind of file,
// kept in the settings store so that it lasts from one run to the next.

#include <string>
#include <string_view>

#include "framework/wreg.h"
#include "platform/file_dialog.h"

namespace vantic {

// A kind's key is this prefix and the kind's name: "Last_Folder_Playlists".
inline constexpr std::string_view kLastFolderKeyPrefix = "Last_Folder_";

// The settings key of kind's folder; empty for FileKind::None.
[[nodiscard]] std::string LastFolderKey(FileKind kind);

class SettingsFolderMemory final : public FolderMemory {
  public:
    explicit SettingsFolderMemory(WReg& settings) : settings_(settings) {}
    [[nodiscard]] std::string LastFolder(FileKind kind) override;
    // Writes the store only when the folder changed.
    void Remember(FileKind kind, const std::string& folder) override;

  private:
    WReg& settings_;
};

}  // namespace vantic
