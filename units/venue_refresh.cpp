// The unit list's traffic with the server: fetching and merging the list,
// the background and periodic refreshes, and one unit's instruction file.

#include <unordered_map>

#include "framework/worker.h"
#include "net/payload_exchange.h"
#include "units/venue_list.h"

namespace vantic {

namespace {

constexpr const char* kNoListText = "Unable to get information from server.";
constexpr const char* kNoListCaption = "Error Contacting Server";
constexpr const char* kNoInstructionsText = "Error getting config information from server";
constexpr const char* kNoInstructionsCaption = "Communication Error";

// The reply as far as its first NUL, split into lines at any line end.
cpStringArray ReplyLines(std::string_view reply) {
    cpStringArray lines;
    (void)lines.SplitLines(reply.substr(0, reply.find('\0')));
    return lines;
}

}  // namespace

// Every row is looked up once, so the merge costs one pass over the rows
// plus one step per reply line, whatever order the rows are in.
void VenueList::MergeReply(std::string_view reply) {
    const cpStringArray lines = ReplyLines(reply);
    VenueLockHold hold(*lock_);
    std::unordered_map<std::uint32_t, int> rowOf;
    const int count = ItemCount();
    rowOf.reserve(static_cast<std::size_t>(count) + lines.Count());
    for (int row = 0; row < count; ++row) {
        const UnitRecord* record = RecordAt(row);
        if (record != nullptr && record->Number() != 0) {
            rowOf.try_emplace(record->Number(), row);  // the first row wins, as in FindUnit
        }
    }
    for (const std::string& line : lines) {
        const cpStringArray fields = cpStringArray::SplitNew(line, "\t");
        const std::uint32_t number = ParseUnitNumber(fields.TextAt(kUnitNumberField));
        if (number == 0) {
            continue;  // blank lines and headings
        }
        if (auto found = rowOf.find(number); found != rowOf.end()) {
            UnitRecord* record = RowAs<UnitRecord>(found->second);
            if (record != nullptr && record->Apply(fields)) {
                FillRow(found->second, record);
            }
            continue;
        }
        auto record = std::make_unique<UnitRecord>();
        record->Apply(fields);
        const int row = InsertRow(std::move(record));
        if (row < 0) {
            return;  // the control took no more rows
        }
        rowOf.emplace(number, row);
    }
}

bool VenueList::RefreshWith(const ServerAccess& access, WindowId owner) {
    const FetchResult reply = FetchPayload(access, ServerCommand::GetUnitList, kNoUnit);
    if (!reply.Ok()) {
        if (owner != kNoWindow) {
            messages_.Show(Message{owner, kNoListText, kNoListCaption, MessageIcon::Error});
        }
        return false;
    }
    MergeReply(reply.Text());
    return true;
}

bool VenueList::Refresh(WindowId owner) {
    return RefreshWith(login_.Access(), owner);
}

// The worker has its own copy of the credentials and of the lock, and
// touches the list only while holding the lock and finding it not retired.
bool VenueList::RefreshInBackground() {
    if (!login_.Complete()) {
        return false;
    }
    return StartWorker([this, lock = lock_, access = login_.Access()] {
        const FetchResult reply = FetchPayload(access, ServerCommand::GetUnitList, kNoUnit);
        if (!reply.Ok()) {
            return;
        }
        VenueLockHold hold(*lock);
        if (!lock->Retired()) {
            MergeReply(reply.Text());
        }
    });
}

void VenueList::PeriodicTick() {
    if (!login_.Complete()) {
        return;
    }
    VenueLockHold hold(*lock_);
    const std::int64_t now = clock_.Now();
    if (now - lastPeriodicRefresh_ < kPeriodicRefreshSeconds) {
        return;  // too soon, or the clock went back
    }
    lastPeriodicRefresh_ = now;
    if (LiveWorkers() == 0) {
        (void)RefreshInBackground();
    }
}

void VenueList::ReloadAfterLogin(WindowId mainWindow) {
    {
        VenueLockHold hold(*lock_);
        DeleteFirstRows(kAllRows);
    }
    Refresh(mainWindow);
}

std::optional<std::string> VenueList::FetchInstructionText(std::uint32_t unit) {
    const FetchResult reply = FetchPayload(login_.Access(), ServerCommand::GetInstructionFile,
                                           static_cast<std::int32_t>(unit));
    switch (reply.outcome) {
        case FetchOutcome::Ok:
            return reply.Text();
        case FetchOutcome::Absent:
            return std::string();
        case FetchOutcome::Undecryptable:
        case FetchOutcome::Failed:
            break;
    }
    return std::nullopt;
}

void VenueList::OpenSelectedUnitPlaylist(WindowId mainWindow, PlayList& playlist) {
    const int row = FirstSelected();
    if (row < 0) {
        return;
    }
    const std::uint32_t unit = UnitNumberAt(row);
    if (unit == 0) {
        return;
    }
    const std::optional<std::string> text = FetchInstructionText(unit);
    if (!text) {
        messages_.Show(
            Message{mainWindow, kNoInstructionsText, kNoInstructionsCaption, MessageIcon::Error});
        return;
    }
    playlist.LoadFromInstructionText(*text);  // reports a text it cannot read itself
}

}  // namespace vantic
