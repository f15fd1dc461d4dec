// The document side of PlayList: closing, saving and opening .PLY files,
// and loading a unit's instruction text.

#include "core/cpstring.h"
#include "playlist/playlist.h"

namespace vantic {
namespace {

constexpr std::size_t kPathRoom = 260;
constexpr std::size_t kLongestNameForExtension = 254;

constexpr const char* kSaveQuestion = "Would you like to save your changes before closing?";
constexpr const char* kSaveQuestionCaption = "Play-List file has un-saved changes";
constexpr const char* kWriteError =
    "Error writing to file, please use \"Save As\" to save the file";
constexpr const char* kReadError = "Error reading the file. The file may be of the wrong format";
constexpr const char* kParseError = "Error parsing data";
constexpr const char* kParseErrorCaption = "Could not parse data";

FileDialogRequest SaveRequest(WindowId owner) {
    FileDialogRequest request;
    request.owner = owner;
    request.title = "Choose Playlist File name";
    request.kind = FileKind::Playlist;
    request.filters = {FileFilter{"Playlist Files", "*.PLY"}};
    // Lets the dialog add ".PLY" before it asks about overwriting, so
    // "show" over an existing show.PLY is asked about too.
    request.defaultExtension = "PLY";
    request.confirmOverwrite = true;
    request.maxPathLength = kPathRoom;
    return request;
}

FileDialogRequest OpenRequest(WindowId owner) {
    FileDialogRequest request;
    request.owner = owner;
    request.title = "Choose Play List to Open";
    request.kind = FileKind::Playlist;
    request.filters = {FileFilter{"Play List Files", "*.PLY"}};
    request.mustExist = false;  // a missing file fails in OpenFile
    request.maxPathLength = kPathRoom;
    return request;
}

}  // namespace

bool PlayList::Close() {
    if (modified_) {
        const MessageAnswer answer =
            platform_.Messages().Show(Message{mainWindow_, kSaveQuestion, kSaveQuestionCaption,
                                              MessageIcon::Warning, MessageButtons::YesNoCancel});
        if (answer == MessageAnswer::Cancel) {
            return false;
        }
        if (answer == MessageAnswer::Yes) {
            Save();
            if (modified_) {
                return false;  // not saved: keep the document
            }
        }
    }
    DeleteAllRows();
    parked_.Clear();
    modified_ = false;
    SetTitle(std::nullopt);
    return true;
}

bool PlayList::Save() {
    if (filePath_.empty()) {
        return SaveAs();
    }
    if (!WriteFile(filePath_)) {
        platform_.Messages().Show(
            Message{mainWindow_, kWriteError, filePath_, MessageIcon::Error, MessageButtons::Ok});
        return false;
    }
    modified_ = false;
    return true;
}

bool PlayList::SaveAs() {
    std::optional<std::string> name = platform_.Files().ChooseSaveFile(SaveRequest(mainWindow_));
    if (!name) {
        return false;
    }
    if (ExtensionOf(*name).empty() && name->size() <= kLongestNameForExtension) {
        name->append(".PLY");
    }
    if (!WriteFile(*name)) {
        return false;
    }
    modified_ = false;
    SetTitle(*name);
    return true;
}

EntrySet PlayList::DocumentEntries() const {
    EntrySet entries;
    for (int channel = 0; channel < kChannelCount; ++channel) {
        EntryList clips = channel == channel_ ? ShownClips() : EntryList();
        const EntryList& parked = parked_.List(channel);
        clips.insert(clips.end(), parked.begin(), parked.end());
        entries.ReplaceList(channel, std::move(clips));
    }
    return entries;
}

// The rows are read where they are, so the list keeps its rows, order and
// selection whatever the outcome.
bool PlayList::WriteFile(const std::string& path) {
    // Beside the target, so the final rename never crosses file systems.
    const std::optional<std::string> temporary = CreateUniqueFile(FolderOfPath(path), "vtc", path);
    if (!temporary) {
        return false;
    }
    const std::optional<cpStringArray> lines = EntrySetToLines(DocumentEntries());
    if (!lines) {
        RemoveFile(*temporary);
        return false;
    }
    return lines->SaveLines(path, temporary, settings_.Writes());
}

bool PlayList::Open() {
    if (!openedOnce_) {
        openedOnce_ = true;
        SetTitle(std::nullopt);
        const std::string last = settings_.GetString(kLastPlaylistFileKey, kPathRoom);
        if (last.empty()) {
            return false;
        }
        return OpenFile(last);
    }
    if (!Close()) {
        return false;
    }
    std::optional<std::string> chosen = platform_.Files().ChooseOpenFile(OpenRequest(mainWindow_));
    if (!chosen) {
        return false;
    }
    return OpenFile(std::move(*chosen));
}

bool PlayList::OpenFile(std::string path) {
    if (!Close()) {
        return false;
    }
    if (!LoadPlaylistFile(path)) {
        platform_.Messages().Show(
            Message{mainWindow_, kReadError, path, MessageIcon::Error, MessageButtons::Ok});
        return false;
    }
    modified_ = false;
    SetTitle(path);
    NumberColumn(0);
    return true;
}

bool PlayList::LoadPlaylistFile(const std::string& path) {
    cpStringArray lines;
    if (!lines.LoadLines(path)) {
        return false;
    }
    return LoadFromLines(lines);
}

bool PlayList::LoadFromLines(const cpStringArray& lines) {
    DeleteAllRows();
    parked_.Clear();
    if (!LinesToEntrySet(lines, parked_)) {
        return false;
    }
    parked_.Settings().clear();  // settings are not part of a playlist
    ShowChannel();
    return true;
}

bool PlayList::LoadFromInstructionText(std::string_view text) {
    if (!Close()) {
        return false;
    }
    cpStringArray lines;
    if (!lines.SplitLines(text) || !LoadFromLines(lines)) {
        platform_.Messages().Show(Message{mainWindow_, kParseError, kParseErrorCaption,
                                          MessageIcon::Warning, MessageButtons::Ok});
        return false;
    }
    modified_ = false;
    SetTitle(std::nullopt);
    return true;
}

}  // namespace vantic
