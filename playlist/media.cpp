#include "playlist/media.h"

#include "core/cpstring.h"
#include "playlist/entry_fields.h"

namespace vantic {

bool IsMediaFile(std::string_view path) {
    const std::string_view extension = ExtensionOf(path);
    for (std::string_view media : MediaExtensions) {
        if (EqualsNoCase(extension, media)) {
            return true;
        }
    }
    return false;
}

bool IsStillImage(std::string_view path) {
    const std::string_view extension = ExtensionOf(path);
    return EqualsNoCase(extension, ".jpg") || EqualsNoCase(extension, ".jpeg");
}

std::string FormatSize(std::uint64_t bytes) {
    const auto count = static_cast<unsigned long long>(bytes);
    if (count > 10000000) {
        return FormatNew("%llu MB", count / 1048576);
    }
    if (count > 10000) {
        return FormatNew("%llu KB", count / 1024);
    }
    return FormatNew("%llu", count);
}

// The clip is made from its text fields, so a new clip reads exactly as the
// same line in a file would: every empty field takes the reader's default.
std::optional<PlayEntry> NewClipForFile(const std::string& path, int channel) {
    if (channel < 0 || channel >= kChannelCount) {
        return std::nullopt;
    }
    cpStringArray fields;
    fields.Append(std::to_string(channel));
    fields.Append(path);
    fields.Append(IsStillImage(path) ? "10" : "Auto");
    fields.Append("");
    fields.Append(FormatSize(FileSize(path).value_or(0)));
    fields.PadTo(kClipFieldCount);
    return EntryFromFields(fields);
}

FileDialogRequest MediaFileRequest(WindowId owner, std::string initialPath) {
    FileDialogRequest request;
    request.owner = owner;
    request.title = "Choose Media File";
    request.filters = {
        FileFilter{"Media Files",
                   "*.mpg;*.mp3;*.mp4;*.avi;*.asf;*.qt;*.mov;*.wav;*.wma;*.wmv;*.ra;*.rm;*.fli;"
                   "*.flc;*.m2v;*.jpg;*.jpeg;*.vob"},
        FileFilter{"JPEG Files", "*.JPG;*.JPEG"}, FileFilter{"All Files", "*"}};
    request.initialPath = std::move(initialPath);
    request.kind = FileKind::Media;
    request.resizable = true;
    request.maxPathLength = 260;
    return request;
}

}  // namespace vantic
