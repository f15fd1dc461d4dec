// Clips entering the document: dropped files and the clip editor.

#include "playlist/media.h"
#include "playlist/playlist.h"

namespace vantic {

bool PlayList::AddFile(const std::string& path) {
    if (!IsMediaFile(path)) {
        return false;
    }
    std::optional<PlayEntry> clip = NewClipForFile(path, channel_);
    return clip && AppendClip(std::move(*clip));
}

// Any file chosen in the dialog is taken, media extension or not.
bool PlayList::AddClip() {
    std::optional<std::string> chosen =
        platform_.Files().ChooseOpenFile(MediaFileRequest(mainWindow_, std::string()));
    if (!chosen) {
        return false;
    }
    std::optional<PlayEntry> clip = NewClipForFile(*chosen, channel_);
    if (!clip) {
        return false;
    }
    ClipForm form = OpenClipForm(*clip, ClipFormMode::Add, platform_.Time().LocalNow());
    if (!clipEditor_.RunClipEditor(mainWindow_, form)) {
        return false;
    }
    ApplyClipFormOk(form, *clip);
    return AppendClip(std::move(*clip));
}

// The form edits the row's own clip, and only on OK.
bool PlayList::EditClip() {
    const int row = FirstSelected();
    const PlayEntry* clip = EntryAt(row);
    if (clip == nullptr) {
        return false;
    }
    ClipForm form = OpenClipForm(*clip, ClipFormMode::Edit, platform_.Time().LocalNow());
    if (!clipEditor_.RunClipEditor(mainWindow_, form)) {
        return false;
    }
    PlayEntry* edited = EntryAt(row);
    if (edited == nullptr) {
        return false;
    }
    ApplyClipFormOk(form, *edited);
    FillRow(row, GetRowData(row));
    modified_ = true;
    NumberColumn(0);
    return true;
}

}  // namespace vantic
