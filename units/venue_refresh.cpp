// The unit list's traffic with the server: fetching and merging the list,
// the background and periodic refreshes, and one unit's instruction file.

#include <algorithm>
#include <atomic>
#include <iterator>
#include <memory>

#include "framework/worker.h"
#include "net/payload_exchange.h"
#include "net/server_address.h"
#include "platform/connection_watch.h"
#include "units/venue_list.h"
#include "units/venue_merge.h"

namespace vantic {

namespace {

constexpr const char* kNoListText = "Unable to get information from server.";
constexpr const char* kNoListCaption = "Error Contacting Server";
constexpr const char* kNoInstructionsText = "Error getting config information from server";
constexpr const char* kNoInstructionsCaption = "Communication Error";

}  // namespace

// The plan is worked out on the calling thread; the list control sees two
// calls per merge, one to read the rows and one to apply the changes, so
// a worker's merge costs the user-interface thread little.
std::vector<StatusChange> VenueList::MergeReply(std::string_view reply) {
    const std::vector<ReplyLine> lines = ParseUnitListReply(reply);
    VenueLockHold hold(*lock_);
    const std::vector<const UnitRecord*> rows = Records();
    MergePlan plan = PlanMerge(rows, lines);
    if (plan.updates.empty() && plan.added.empty()) {
        return {};
    }
    std::vector<StatusChange> changes = AlertStatusChanges(rows, plan);
    std::vector<std::unique_ptr<RowData>> added;
    added.reserve(plan.added.size());
    for (auto& record : plan.added) {
        added.push_back(std::move(record));
    }
    UpdateInSlices(plan.updates);
    AppendInSlices(std::move(added));
    if (!filter_.Empty()) {
        ApplyFilter();  // a unit that now matches shows, one that stopped is hidden
    }
    return changes;
}

// As the new rows below: a slice at a time, the window painting between.
void VenueList::UpdateInSlices(const std::vector<MergePlan::Update>& updates) {
    for (std::size_t first = 0; first < updates.size(); first += kUpdatedRowsPerSlice) {
        if (first > 0) {
            lock_->LetWindowsPaint();
        }
        const std::size_t end = std::min(updates.size(), first + kUpdatedRowsPerSlice);
        RunBatch([&] {
            for (std::size_t i = first; i < end; ++i) {
                const MergePlan::Update& update = updates[i];
                UnitRecord* record = RowAs<UnitRecord>(update.row);
                if (record != nullptr && record->Apply(update.record.Fields())) {
                    FillRow(update.row, record);
                }
            }
        });
    }
}

// Making and filling 10,000 rows in one go held the window still for
// about 80 ms; in slices it paints in between. A worker's slices are
// separate calls to the control, so the window runs its loop between them
// anyway.
void VenueList::AppendInSlices(std::vector<std::unique_ptr<RowData>> rows) {
    for (std::size_t first = 0; first < rows.size(); first += kNewRowsPerSlice) {
        if (first > 0) {
            lock_->LetWindowsPaint();
        }
        const std::size_t end = std::min(rows.size(), first + kNewRowsPerSlice);
        std::vector<std::unique_ptr<RowData>> slice(
            std::make_move_iterator(rows.begin() + static_cast<std::ptrdiff_t>(first)),
            std::make_move_iterator(rows.begin() + static_cast<std::ptrdiff_t>(end)));
        if (AppendRows(std::move(slice)) < static_cast<int>(end - first)) {
            return;  // a control that takes no more rows ends the merge
        }
    }
}

bool VenueList::RefreshWith(const ServerAccess& access, WindowId owner) {
    {
        VenueLockHold hold(*lock_);
        NoteLoading(access.host);
    }
    return TakeReply(FetchPayload(access, ServerCommand::GetUnitList, kNoUnit), access.host, owner);
}

void VenueList::NoteRefresh(bool ok, std::string failure) {
    RefreshRecord next = AfterRefresh(refresh_, ok, clock_.Now(), ItemCount(), std::move(failure));
    next.loadingFrom.clear();  // the fetch has ended
    KeepRecord(std::move(next));
}

void VenueList::NoteLoading(const std::string& host) {
    RefreshRecord next = refresh_;
    next.loadingFrom = host.empty() ? std::string() : ServerPeerName(host);
    KeepRecord(std::move(next));
}

// A fetch the operator cancelled tells nothing of the server.
void VenueList::NoteFetchEnd(const FetchResult& reply, const std::string& host) {
    if (reply.Ok()) {
        NoteRefresh(true);
    } else if (RequestsCancelled()) {
        NoteLoading({});
    } else {
        NoteRefresh(false, FaultSummary(reply.fault, host));
    }
}

void VenueList::KeepRecord(RefreshRecord next) {
    if (next == refresh_) {
        return;
    }
    const bool staleBefore = refresh_.Stale();
    refresh_ = std::move(next);
    if (Control() != nullptr && refresh_.Stale() != staleBefore) {
        Control()->ShowStale(refresh_.Stale());
    }
    if (refreshChanged_) {
        refreshChanged_();
    }
}

RefreshRecord VenueList::LastRefresh() {
    VenueLockHold hold(*lock_);
    return refresh_;
}

void VenueList::SetOnRefreshChanged(std::function<void()> changed) {
    VenueLockHold hold(*lock_);
    refreshChanged_ = std::move(changed);
}

// Like a refresh worker, the listener keeps the lock alive and leaves a
// list that is gone alone.
RequestFaultListener VenueList::FaultListener() {
    return [this, lock = lock_](ServerFault fault, const std::string& host) {
        if (!KeepsServerAway(fault)) {
            return;  // the server answered: the list may well be current
        }
        VenueLockHold hold(*lock);
        if (lock->Retired()) {
            return;
        }
        KeepRecord(
            AfterRefresh(refresh_, false, clock_.Now(), ItemCount(), FaultSummary(fault, host)));
    };
}

bool VenueList::TakeReply(const FetchResult& reply, const std::string& host, WindowId owner) {
    if (!reply.Ok()) {
        {
            VenueLockHold hold(*lock_);
            NoteFetchEnd(reply, host);
        }
        if (owner != kNoWindow) {
            Message message{owner, kNoListText, kNoListCaption, MessageIcon::Error};
            message.details = reply.cause;
            messages_.Show(message);
        }
        return false;
    }
    MergeReply(reply.Text());
    VenueLockHold hold(*lock_);
    NoteFetchEnd(reply, host);
    return true;
}

bool VenueList::Refresh(WindowId owner) {
    return RefreshWith(login_.Access(), owner);
}

// The worker has its own copy of the credentials and of the lock, and
// touches the list only while holding the lock and finding it not retired;
// its fetch holds no lock. The fetch shows as loading only while no list
// has arrived yet: a list on screen stays named in the status bar, and so
// does what kept the server away, until the new one lands.
bool VenueList::RefreshInBackground() {
    if (!login_.Complete()) {
        return false;
    }
    const ServerAccess access = login_.Access();
    VenueLockHold hold(*lock_);
    const bool loading = refresh_.updatedAt == 0;
    if (loading) {
        NoteLoading(access.host);
    }
    const bool started = StartWorker([this, lock = lock_, access, alerts = alerts_] {
        const FetchResult reply = FetchPayload(access, ServerCommand::GetUnitList, kNoUnit);
        VenueLockHold hold(*lock);
        if (lock->Retired()) {
            return;
        }
        std::vector<StatusChange> changes;
        if (reply.Ok()) {
            changes = MergeReply(reply.Text());
        }
        NoteFetchEnd(reply, access.host);
        // Still under the lock: the list, and the platform with it, outlive
        // the call.
        const std::optional<DesktopNotice> notice = StatusAlertNotice(changes);
        if (alerts != nullptr && notice) {
            alerts->Notify(*notice);
        }
    });
    if (!started && loading) {
        NoteLoading({});
    }
    return started;
}

void VenueList::PeriodicTick() {
    if (lock_->UiWaiting() || !login_.Complete()) {  // the next tick comes soon enough
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

// The header keeps showing the sort, so the new rows take it.
void VenueList::ReloadAfterLogin(WindowId mainWindow) {
    {
        VenueLockHold hold(*lock_);
        DeleteFirstRows(kAllRows);
        KeepRecord(RefreshRecord{});  // nothing is known yet of the new login's list
    }
    if (Refresh(mainWindow)) {
        VenueLockHold hold(*lock_);
        if (sortKey_ != 0) {
            ArrangeBySortKey();
        }
    }
}

namespace {

FetchResult FetchInstructions(const ServerAccess& access, std::uint32_t unit) {
    return FetchPayload(access, ServerCommand::GetInstructionFile, static_cast<std::int32_t>(unit));
}

}  // namespace

std::optional<std::string> VenueList::FetchInstructionText(std::uint32_t unit, std::string* cause) {
    const FetchResult reply = FetchInstructions(login_.Access(), unit);
    switch (reply.outcome) {
        case FetchOutcome::Ok:
            return reply.Text();
        case FetchOutcome::Absent:
            return std::string();
        case FetchOutcome::Undecryptable:
        case FetchOutcome::Failed:
            break;
    }
    if (cause != nullptr) {
        *cause = reply.cause;
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
    const FetchResult reply = FetchInstructions(login_.Access(), unit);
    if (reply.outcome == FetchOutcome::Failed || reply.outcome == FetchOutcome::Undecryptable) {
        Message message{mainWindow, kNoInstructionsText, kNoInstructionsCaption,
                        MessageIcon::Error};
        message.details = reply.cause;
        messages_.Show(message);
        return;
    }
    playlist.LoadFromInstructionText(reply.Text());  // reports a text it cannot read itself
}

}  // namespace vantic
