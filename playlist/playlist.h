#pragma once

// PlayList: the playlist document the operator edits, and the list that
// shows one of its four channels. The clips of the shown channel are the
// list's rows; the other channels wait parked. The document reads and
// writes itself as a .PLY file: one clip line per clip, channel by channel,
// joined with CR LF.

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "core/cpstringarray.h"
#include "framework/wlistview.h"
#include "framework/wreg.h"
#include "platform/platform.h"
#include "playlist/clip_form.h"
#include "playlist/entry_set.h"

namespace vantic {

// A row's data: the clip it shows.
class ClipRow final : public RowData {
  public:
    explicit ClipRow(PlayEntry clip) : entry(std::move(clip)) {}
    PlayEntry entry;
};

// Settings the playlist owns: its column widths, and the playlist file open
// when the program last closed (reopened at the next start).
inline constexpr std::string_view kPlayWidthsName = "Play_Widths";
inline constexpr std::string_view kLastPlaylistFileKey = "Last_PlayList_File";

class PlayList final : public WListView {
  public:
    PlayList(WReg& settings, Platform& platform, ClipFormView& clipEditor);
    ~PlayList() override;

    // Shows the line that names the document ("Current Playlist: ...").
    using TitleLine = std::function<void(const std::string& line)>;
    // The window that owns the document's dialogs and messages (may be
    // kNoWindow), and where the document's name is shown (may be empty).
    void SetWindows(WindowId mainWindow, TitleLine showTitle);

    void FillRow(int rowIndex, RowData* rowData) override;

    // Takes control over: grid lines, full-row selection, the ten columns
    // and their remembered widths (kPlayWidthsName).
    void AttachList(ListControl* control);

    // Channels. SelectChannel parks the rows and shows channel c (0-3); it
    // does not count as a change to the document.
    void ParkChannel();
    void ShowChannel();
    void SelectChannel(int channel);
    [[nodiscard]] int Channel() const { return channel_; }

    // Editing the shown channel; each says whether it changed anything and
    // then marks the document modified. AddFile takes media files only (a
    // dropped file); AddClip asks for a file and opens the clip editor;
    // EditClip edits the first selected clip. Deleting marks the document
    // only when rows went; moving marks it even when nothing moved.
    bool AddFile(const std::string& path);
    bool AddClip();
    bool EditClip();
    void DeleteSelectedClips(WindowId owner, std::optional<std::string_view> text = std::nullopt,
                             std::optional<std::string_view> caption = std::nullopt);
    void MoveClipsUp();
    void MoveClipsDown();

    // The document.
    [[nodiscard]] bool IsModified() const { return modified_; }
    [[nodiscard]] const std::string& FilePath() const { return filePath_; }
    // Copies of the shown channel's clips, in row order (what a deployment sends).
    [[nodiscard]] EntryList ShownClips() const;
    // The clip on a row; null for a missing row.
    [[nodiscard]] const PlayEntry* ClipAt(int row) const;
    // Copies of every channel's clips, the shown rows included.
    [[nodiscard]] EntrySet DocumentEntries() const;

    // Names the document (none or empty: unnamed) and shows the name.
    void SetTitle(std::optional<std::string_view> path);
    // Empties the document, first asking to save unsaved changes. False
    // when the operator cancels or the save fails: nothing changed then.
    bool Close();
    bool Save();
    bool SaveAs();
    // Writes every channel to path through a temporary file beside it, so a
    // failed write leaves the earlier file as it was.
    [[nodiscard]] bool WriteFile(const std::string& path);
    // The first call reopens the last playlist of the previous run without
    // asking; later calls close the document and ask for a file.
    bool Open();
    bool OpenFile(std::string path);
    [[nodiscard]] bool LoadPlaylistFile(const std::string& path);
    // Replaces the document's clips with those of the lines; setting lines
    // are read and dropped. False, and an empty document, for a malformed text.
    [[nodiscard]] bool LoadFromLines(const cpStringArray& lines);
    // Opens a unit's instruction text as a new, unnamed document.
    bool LoadFromInstructionText(std::string_view text);

  private:
    [[nodiscard]] PlayEntry* EntryAt(int row) const;
    void DeleteAllRows();
    bool AppendClip(PlayEntry clip);

    WReg& settings_;
    Platform& platform_;
    ClipFormView& clipEditor_;
    WindowId mainWindow_ = kNoWindow;
    TitleLine showTitle_;

    bool modified_ = false;
    std::string filePath_;
    int channel_ = 0;
    // Lists 0-3: the clips of the channels not shown, and of the shown one
    // only while they are off the screen (or could not be put on it).
    // List 4 stays empty: settings are not part of a playlist.
    EntrySet parked_;
    bool openedOnce_ = false;
};

}  // namespace vantic
