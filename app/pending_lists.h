#pragma once

// Stand-ins for the playlist document and the unit list with their login
// settings, until those are built. They carry the operations the main
// window calls, do nothing, and note each call so the start-up order can
// be checked. The application swaps in the real classes when they exist.

#include <optional>
#include <string>
#include <vector>

#include "app/wlistview.h"
#include "app/wreg.h"

namespace vantic {

class PendingPlayList : public WListView {
  public:
    using WListView::WListView;
    ~PendingPlayList() override { Clear(); }

    void AttachList(ListControl* control) { Attach(control); }
    [[nodiscard]] const std::string& FilePath() const { return filePath_; }
    bool Close() { return Note("Close", true); }
    bool Open() { return Note("Open", false); }
    bool OpenFile(const std::string& path) { return Note("OpenFile " + path, false); }
    void AddFile(const std::string& path) { Note("AddFile " + path, false); }
    bool Save() { return Note("Save", false); }
    bool SaveAs() { return Note("SaveAs", false); }
    void AddClip() { Note("AddClip", false); }
    void EditClip() { Note("EditClip", false); }
    void SelectChannel(int channel) { Note("SelectChannel " + std::to_string(channel), false); }
    void MoveClipsUp() { Note("MoveClipsUp", false); }
    void MoveClipsDown() { Note("MoveClipsDown", false); }
    void DeleteSelectedClips(WindowId) { Note("DeleteSelectedClips", false); }
    // The media file of the first selected clip.
    [[nodiscard]] std::optional<std::string> FirstSelectedPath() const { return std::nullopt; }

    std::vector<std::string> calls;

  private:
    bool Note(std::string call, bool result) {
        calls.push_back(std::move(call));
        return result;
    }
    std::string filePath_;
};

class PendingVenueList : public WListView {
  public:
    using WListView::WListView;
    ~PendingVenueList() override { Clear(); }

    void SetupColumns(ListControl* control) { Attach(control); }
    void Refresh(WindowId) { calls.emplace_back("Refresh"); }
    void SortByColumn(int column) { calls.push_back("SortByColumn " + std::to_string(column)); }
    void PeriodicTick() { calls.emplace_back("PeriodicTick"); }
    void OpenSelectedUnitPlaylist() { calls.emplace_back("OpenSelectedUnitPlaylist"); }

    std::vector<std::string> calls;
};

// The login check without an owner: the server, the login name and a
// remembered password are all stored.
[[nodiscard]] inline bool PendingLoginComplete(WReg& settings) {
    return !settings.GetString("Distribution_Server", 260).empty() &&
           !settings.GetString("Distribution_Username", 24).empty() &&
           settings.GetBool("Distribution_Userpass_Remember", false) &&
           !settings.GetString("Distribution_Userpass", 24).empty();
}

}  // namespace vantic
