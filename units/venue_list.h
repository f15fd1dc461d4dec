#pragma once

// VenueList: the units of the venue as the distribution server reports
// them, one row per unit with its number, notes, status and call-in times.
// The rows are only ever updated in place or added: a refresh merges the
// server's list into them, so a row keeps its position and selection, and
// a unit the server stops listing keeps its last row until the list is
// cleared (after a new login, and when the program closes).
//
// The user-interface thread and refresh workers share the rows under the
// list's own re-entrant lock (units/venue_lock.h). Anything that walks the
// rows or reads their records outside the user-interface message flow
// brackets the walk with Lock() and Unlock().

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/scoped_hold.h"
#include "framework/wlistview.h"
#include "framework/wreg.h"
#include "net/login_settings.h"
#include "net/payload_exchange.h"
#include "net/request_faults.h"
#include "net/server_access.h"
#include "platform/clock.h"
#include "platform/message_box.h"
#include "platform/platform.h"
#include "platform/window_system.h"
#include "playlist/playlist.h"
#include "units/deploy_interfaces.h"
#include "units/refresh_status.h"
#include "units/status_alerts.h"
#include "units/status_counts.h"
#include "units/unit_filter.h"
#include "units/unit_record.h"
#include "units/venue_lock.h"
#include "units/venue_merge.h"

namespace vantic {

// The settings name of the unit list's column widths.
inline constexpr std::string_view kVenueWidthsName = "Venue_Widths";
// Periodic refreshes start at least this far apart.
inline constexpr std::int64_t kPeriodicRefreshSeconds = 120;
// New rows reach the list control this many at a time, and the window
// paints between the slices.
inline constexpr std::size_t kNewRowsPerSlice = 2000;
// So do the changed rows of a refresh: rewriting every row of 50,000 in one
// call held the window for well over 100 ms.
inline constexpr std::size_t kUpdatedRowsPerSlice = 5000;

// The list is also what a deployment walks: its rows, selection and lock.
class VenueList final : public WListView, public DeployTargets {
  public:
    // Construct on the user-interface thread: the lock takes the
    // constructing thread as the one that pumps messages while it waits.
    VenueList(MessageBoxes& messages, WindowSystem& windows, Clock& clock, LoginSettings& login);
    VenueList(Platform& platform, LoginSettings& login);
    // Retires the lock, then releases every row; a refresh still running
    // finishes without touching the list.
    ~VenueList() override;

    // Writes the record's five texts into the row's cells.
    void FillRow(int row, RowData* rowData) override;

    // Attaches the control with grid lines and full-row selection, inserts
    // the five columns and restores their widths ("Venue_Widths").
    void SetupColumns(ListControl* control, WReg& store);
    // Releases every row under the lock and forgets the control.
    void Clear();

    void Lock() override { lock_->Lock(); }
    // Whether the user-interface thread is waiting for the list, dispatching
    // messages meanwhile. Nothing that takes the list (a sort, a deployment,
    // a refresh) may start then: it would run nested inside the wait.
    [[nodiscard]] bool Waiting() const { return lock_->UiWaiting(); }
    void Unlock() override { lock_->Unlock(); }
    // How often a thread waited for another's hold of the lock.
    [[nodiscard]] std::int64_t LockWaits() const { return lock_->Waits(); }

    // The row's unit number, 0 when the row has no record.
    [[nodiscard]] std::uint32_t UnitNumberAt(int row) override;
    // The first row showing unit number, scanning from the top.
    [[nodiscard]] bool FindUnit(std::uint32_t number, int& row);
    // Shows the first row of unit number as the only selected row; with no
    // such row, nothing is selected.
    void SelectOnlyUnit(std::uint32_t number);
    // The row's record, or null; read it under the lock.
    [[nodiscard]] const UnitRecord* RecordAt(int row) const { return RowAs<UnitRecord>(row); }

    // A click on a column header: sorts by it, flipping the direction on a
    // second click. Rows added later are not sorted into place. Ignored
    // while the user-interface thread waits for the list (see Waiting).
    void SortByColumn(int column);
    [[nodiscard]] int SortKey() const { return sortKey_; }

    // Shows only the rows that match filter, now and as refreshes change and
    // add rows; a row it hides is deselected. Ignored while the
    // user-interface thread waits for the list (see Waiting): false then.
    bool SetFilter(UnitFilter filter);
    // Read it on the user-interface thread.
    [[nodiscard]] const UnitFilter& Filter() const { return filter_; }
    // How many rows the filter hides.
    [[nodiscard]] int HiddenCount();
    // Selects every row the filter shows, and no other.
    void SelectShown();
    // The status counts over every row, shown or not.
    [[nodiscard]] StatusCounts CountStatuses();

    // Fetches the unit list and merges it into the rows, telling meanwhile
    // that it is loading. On failure the rows stay, and only with an owner
    // is the failure reported. True when the list arrived.
    bool Refresh(WindowId owner);
    // Merges a unit list reply into the rows under the lock: updates the
    // rows of units already shown, appends the others in reply order (in
    // slices of kNewRowsPerSlice, the window painting between them as it
    // does during a wait for the list). Returns the status changes of the
    // rows updated that deserve an alert.
    std::vector<StatusChange> MergeReply(std::string_view reply);
    // With complete login settings, starts a worker that refreshes the list
    // silently (telling that it is loading only while no list has arrived
    // yet); true when it started. The status changes it finds go to the
    // alerts' notices as one notice, when alerts are on.
    [[nodiscard]] bool RefreshInBackground();
    // Where the background refreshes' status alerts go; null turns them off.
    // Call on the user-interface thread.
    void SetStatusAlerts(DesktopNotices* notices) { alerts_ = notices; }
    // The 20-second timer's tick: with complete login settings, at most
    // every 120 s, and only while no worker runs, refreshes in the
    // background.
    void PeriodicTick();
    // After a confirmed login: every row goes with what was known of the
    // list, then the list is fetched again with failures reported to
    // mainWindow, and sorted as it was.
    void ReloadAfterLogin(WindowId mainWindow);

    // When the list was last brought up to date, or since when requests
    // fail (any refresh, and any other request that met a server out of
    // reach), or that a fetch is loading it.
    [[nodiscard]] RefreshRecord LastRefresh();
    // Runs whenever LastRefresh() changes, on the thread that changed it,
    // holding the list's lock (which setting it takes, so no call is under
    // way afterwards). Empty stops it.
    void SetOnRefreshChanged(std::function<void()> changed);
    // What hears every request's fault: one that keeps the server away
    // (not a refusal) shows the list as stale at once. It may outlive the
    // list, and then does nothing.
    [[nodiscard]] RequestFaultListener FaultListener();

    // One unit's instruction file: empty when the server holds none, none
    // on any other failure.
    // Why it failed goes to cause when one is given.
    [[nodiscard]] std::optional<std::string> FetchInstructionText(std::uint32_t unit,
                                                                  std::string* cause = nullptr);
    // Opens the first selected unit's instruction file as the playlist
    // document; a failed download is reported to mainWindow. The caller has
    // closed the current playlist first.
    void OpenSelectedUnitPlaylist(WindowId mainWindow, PlayList& playlist);

  private:
    bool RefreshWith(const ServerAccess& access, WindowId owner);
    bool TakeReply(const FetchResult& reply, const std::string& host, WindowId owner);
    // Under the lock: a fetch of the list from host ended with reply.
    void NoteFetchEnd(const FetchResult& reply, const std::string& host);
    // Under the lock.
    void UpdateInSlices(const std::vector<MergePlan::Update>& updates);
    // Under the lock.
    void AppendInSlices(std::vector<std::unique_ptr<RowData>> rows);
    // Under the lock: the refresh record after a refresh, or a failed
    // request named in a few words.
    void NoteRefresh(bool ok, std::string failure = {});
    // Under the lock: shows that a fetch from host loads the list (empty:
    // it ended).
    void NoteLoading(const std::string& host);
    // Under the lock: keeps next as the record, greys the marks while it
    // is stale, and tells the listener.
    void KeepRecord(RefreshRecord next);
    // Under the lock: the rows in the order of the sort key.
    void ArrangeBySortKey();
    // Under the lock: every row's record, in row order.
    [[nodiscard]] std::vector<const UnitRecord*> Records() const;
    // Under the lock: which rows the filter shows.
    [[nodiscard]] std::vector<bool> ShownRows() const;
    // Under the lock: hides the rows the filter leaves out.
    void ApplyFilter();

    MessageBoxes& messages_;
    Clock& clock_;
    LoginSettings& login_;
    std::shared_ptr<VenueLock> lock_;
    int sortKey_ = 0;                       // guarded by the lock
    std::int64_t lastPeriodicRefresh_ = 0;  // guarded by the lock
    RefreshRecord refresh_;                 // guarded by the lock
    UnitFilter filter_;                     // written under the lock, on the UI thread
    DesktopNotices* alerts_ = nullptr;      // user-interface thread only
    std::function<void()> refreshChanged_;  // guarded by the lock
};

// Holds the unit list's lock for a scope.
using VenueHold = ScopedHold<VenueList>;

}  // namespace vantic
