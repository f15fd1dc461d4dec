#include "playlist/playlist.h"

#include <array>

#include "core/cpstring.h"
#include "playlist/entry_fields.h"

namespace vantic {
namespace {

struct PlaylistColumn {
    std::string_view title;
    int width;
};

constexpr std::array<PlaylistColumn, 10> kColumns{{{"", 30},
                                                   {"Media File", 70},
                                                   {"Duration", 100},
                                                   {"Size", 80},
                                                   {"Day", 60},
                                                   {"Time", 60},
                                                   {"Start Date", 60},
                                                   {"End Date", 60},
                                                   {"Audio", 60},
                                                   {"Notes", 60}}};

// "10.000000" shows as 10; "Auto" stays.
std::string DurationCell(std::string_view field) {
    return std::string(field.substr(0, field.find('.')));
}

}  // namespace

PlayList::PlayList(WReg& settings, Platform& platform, ClipFormView& clipEditor)
    : WListView(platform.Messages()),
      settings_(settings),
      platform_(platform),
      clipEditor_(clipEditor) {}

PlayList::~PlayList() = default;

void PlayList::SetWindows(WindowId mainWindow, TitleLine showTitle) {
    mainWindow_ = mainWindow;
    showTitle_ = std::move(showTitle);
}

void PlayList::FillRow(int rowIndex, RowData* rowData) {
    const auto* row = dynamic_cast<const ClipRow*>(rowData);
    if (row == nullptr || Control() == nullptr) {
        return;
    }
    const std::optional<cpStringArray> fields = EntryToFields(row->entry);
    if (!fields) {
        return;
    }
    ListControl& list = *Control();
    list.SetCellText(rowIndex, 0, std::string(fields->TextAt(0)));  // numbered afterwards
    list.SetCellText(rowIndex, 1, std::string(FileNameOf(fields->TextAt(1))));
    list.SetCellText(rowIndex, 2, DurationCell(fields->TextAt(2)));
    // Field 3, the content name, is not shown.
    for (int column = 3; column < static_cast<int>(kColumns.size()); ++column) {
        list.SetCellText(rowIndex, column,
                         std::string(fields->TextAt(static_cast<std::size_t>(column) + 1)));
    }
}

void PlayList::AttachList(ListControl* control) {
    Attach(control);
    if (control == nullptr) {
        return;
    }
    control->SetGridLines(true);
    control->SetFullRowSelect(true);
    for (std::size_t column = static_cast<std::size_t>(ColumnCount()); column < kColumns.size();
         ++column) {
        InsertColumn(kColumns[column].title, kColumns[column].width);
    }
    LoadColumnWidths(kPlayWidthsName, settings_);
}

PlayEntry* PlayList::EntryAt(int row) const {
    auto* clipRow = dynamic_cast<ClipRow*>(GetRowData(row));
    return clipRow == nullptr ? nullptr : &clipRow->entry;
}

const PlayEntry* PlayList::ClipAt(int row) const {
    return EntryAt(row);
}

EntryList PlayList::ShownClips() const {
    EntryList clips;
    for (int row = 0; row < ItemCount(); ++row) {
        if (const PlayEntry* clip = EntryAt(row)) {
            clips.push_back(CopyEntry(*clip));
        }
    }
    return clips;
}

void PlayList::DeleteAllRows() {
    DeleteFirstRows(kAllRows);
}

// Clips of the shown channel that could not be put on the screen are still
// parked; they follow the rows, as they did in the list.
void PlayList::ParkChannel() {
    EntryList parked;
    for (int row = 0; row < ItemCount(); ++row) {
        std::unique_ptr<RowData> data = TakeRowData(row);
        if (auto* clipRow = dynamic_cast<ClipRow*>(data.get())) {
            parked.push_back(std::move(clipRow->entry));
        }
    }
    EntryList& leftover = parked_.List(channel_);
    std::move(leftover.begin(), leftover.end(), std::back_inserter(parked));
    parked_.ReplaceList(channel_, std::move(parked));
    DeleteAllRows();
}

// A row refused by the control loses nothing: its clip and those after it
// stay parked, and are saved with the document.
void PlayList::ShowChannel() {
    EntryList& parked = parked_.List(channel_);
    if (parked.empty()) {
        return;
    }
    std::size_t shown = 0;
    while (shown < parked.size() && InsertRow(std::make_unique<ClipRow>(parked[shown])) >= 0) {
        ++shown;
    }
    parked.erase(parked.begin(), parked.begin() + static_cast<std::ptrdiff_t>(shown));
    NumberColumn(0);
}

void PlayList::SelectChannel(int channel) {
    if (channel < 0 || channel >= kChannelCount) {
        return;
    }
    ParkChannel();
    channel_ = channel;
    ShowChannel();
}

bool PlayList::AppendClip(PlayEntry clip) {
    if (InsertRow(std::make_unique<ClipRow>(std::move(clip))) < 0) {
        return false;
    }
    modified_ = true;
    NumberColumn(0);
    return true;
}

void PlayList::DeleteSelectedClips(WindowId owner, std::optional<std::string_view> text,
                                   std::optional<std::string_view> caption) {
    const int before = ItemCount();
    DeleteSelected(owner, text, caption);
    if (ItemCount() != before) {
        modified_ = true;
    }
    NumberColumn(0);
}

void PlayList::MoveClipsUp() {
    MoveSelectedUp();
    modified_ = true;
    NumberColumn(0);
}

void PlayList::MoveClipsDown() {
    MoveSelectedDown();
    modified_ = true;
    NumberColumn(0);
}

void PlayList::SetTitle(std::optional<std::string_view> path) {
    filePath_ = std::string(path.value_or(std::string_view()));
    const std::string name =
        filePath_.empty() ? std::string("< not named >") : std::string(FileNameOf(filePath_));
    std::string label = "Current Playlist: " + name;
    // The colon counts as a separator, so only a dot in the file name is found.
    label.resize(label.size() - ExtensionOf(label).size());
    if (showTitle_) {
        showTitle_(label);
    }
}

}  // namespace vantic
