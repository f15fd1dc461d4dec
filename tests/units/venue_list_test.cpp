#include "units/venue_list.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <memory>
#include <numeric>
#include <thread>

#include "framework/wmutex.h"
#include "tests/support/temp_dir.h"
#include "tests/support/wait_until.h"
#include "tests/units/venue_test_support.h"

namespace vantic {
namespace {

using std::chrono::milliseconds;

class VenueListTest : public ::testing::Test, public testing::VenueFixture {
  protected:
    VenueListTest() { SetUpColumns(); }
};

TEST(VenueListSetup, InsertsTheFiveColumnsAndRestoresTheirSavedWidths) {
    testing::TempDir dir;
    WReg store;
    store.SetSettingsLocation({dir.Path(), {}});
    ASSERT_TRUE(store.SetInt("Venue_Widths_col1", 150));
    testing::VenueFixture fixture;
    fixture.venue.SetupColumns(&fixture.list, store);

    const auto columns = fixture.list.Columns();
    ASSERT_EQ(columns.size(), 5u);
    const char* titles[] = {"Unit #", "Notes", "Status", "Last Player Call-In",
                            "Next Scheduled Call-In"};
    const int widths[] = {60, 150, 80, 100, 120};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(columns[i].title, titles[i]);
        EXPECT_EQ(columns[i].width, widths[i]) << i;
        EXPECT_EQ(columns[i].align, ColumnAlign::Left);
    }
    EXPECT_TRUE(fixture.list.GridLines());
    EXPECT_TRUE(fixture.list.FullRowSelect());
    EXPECT_EQ(fixture.list.FitCount(), 0);  // the operator's widths stand

    testing::VenueFixture firstRun;  // nothing stored: fitted to the texts
    WReg empty;
    empty.SetSettingsLocation({dir.Path() + "/none", {}});
    firstRun.venue.SetupColumns(&firstRun.list, empty);
    EXPECT_EQ(firstRun.list.FitCount(), 1);
}

// Thousands of new rows arrive in slices, the window painting between them
// as during a wait: nothing dispatched then may take the list.
TEST_F(VenueListTest, ThousandsOfNewRowsArriveInSlicesWithTheWindowPaintingBetween) {
    const int units = 2 * static_cast<int>(kNewRowsPerSlice) + 7;
    std::string reply;
    for (int unit = units; unit >= 1; --unit) {
        reply += std::to_string(unit) + "\tn\tOK\t\t\n";
    }
    std::vector<int> rowsWhilePainting;
    platform.windows.OnPump([&] {
        EXPECT_TRUE(venue.Waiting());
        rowsWhilePainting.push_back(venue.ItemCount());
    });
    venue.MergeReply(reply);
    const int slice = static_cast<int>(kNewRowsPerSlice);
    EXPECT_EQ(rowsWhilePainting, (std::vector<int>{slice, 2 * slice}));
    EXPECT_FALSE(venue.Waiting());
    ASSERT_EQ(venue.ItemCount(), units);
    EXPECT_EQ(venue.UnitNumberAt(0), static_cast<std::uint32_t>(units));
    EXPECT_EQ(venue.UnitNumberAt(units - 1), 1u);
    EXPECT_EQ(list.CellText(units - 1, 2), "OK");
}

TEST_F(VenueListTest, NewUnitsArriveInReplyOrderAndOnlyLinesNamingAUnitCount) {
    venue.MergeReply(
        "Unit\tNotes\tStatus\r\n"  // a heading
        "12\t[Acme] Lobby\tOK\t12/01/2026 10:00\t12/01/2026 10:20\r\n"
        "\n"
        "0\tnobody\r"
        "abc\tnothing\n"
        "\tno number\n"
        "7\tBar\tLate Calling In\t11/30/2026 09:00\t11/30/2026 09:20\tan extra field\n"
        "5\tPatio\n");
    EXPECT_EQ(Units(), (std::vector<std::uint32_t>{12, 7, 5}));
    EXPECT_EQ(Cells(0), "12|[Acme] Lobby|OK|12/01/2026 10:00|12/01/2026 10:20");
    EXPECT_EQ(Cells(1), "7|Bar|Late Calling In|11/30/2026 09:00|11/30/2026 09:20");
    EXPECT_EQ(Cells(2), "5|Patio|||");

    // A line with fewer fields leaves the others as they were.
    venue.MergeReply("5\n5\tPatio (west)");
    EXPECT_EQ(Cells(2), "5|Patio (west)|||");
    EXPECT_EQ(venue.ItemCount(), 3);
}

TEST_F(VenueListTest, UpdatesStayInPlaceWithTheirSelectionAndVanishedUnitsStay) {
    venue.MergeReply("12\tLobby\tOK\ta\tb\n7\tBar\tOK\tc\td\n30\tDoor\tOK\te\tf\n");
    venue.SelectRow(0, true);
    venue.MergeReply(
        "7\tBar\tOK\tc\td\n12\tLobby\tLate Calling In\ta2\tb2\n99\tNew\tFactory Defaults\n");
    EXPECT_EQ(Units(), (std::vector<std::uint32_t>{12, 7, 30, 99}));
    EXPECT_EQ(Cells(0), "12|Lobby|Late Calling In|a2|b2");
    EXPECT_TRUE(venue.IsSelected(0));
    EXPECT_EQ(venue.SelectedCount(), 1);
    EXPECT_EQ(Cells(2), "30|Door|OK|e|f");  // no longer listed, still shown
}

// The status cell's mark follows its text as updates change it.
TEST_F(VenueListTest, StatusCellsCarryTheMarkOfTheirText) {
    venue.MergeReply(
        "1\ta\tOK\n2\tb\tLate Calling In\n3\tc\tCheck Network Connection\n"
        "4\td\tFactory Defaults\n5\te\tRebooting\n");
    const std::vector<CellMark> marks{CellMark::Good, CellMark::Warning, CellMark::Bad,
                                      CellMark::Idle, CellMark::None};
    for (int row = 0; row < 5; ++row) {
        EXPECT_EQ(list.Mark(row, kStatusField), marks[row]) << row;
        EXPECT_EQ(list.Mark(row, kNotesField), CellMark::None) << row;
    }
    venue.MergeReply("1\ta\tCheck Network Connection\n5\te\tok\n");
    EXPECT_EQ(list.Mark(0, kStatusField), CellMark::Bad);
    EXPECT_EQ(list.Mark(4, kStatusField), CellMark::None);  // the text is matched exactly
}

TEST_F(VenueListTest, TheMergeFindsRowsWhereverSortingPutThem) {
    venue.MergeReply("3\tc\n1\ta\n2\tb\n");
    venue.SortByColumn(0);
    ASSERT_EQ(Units(), (std::vector<std::uint32_t>{1, 2, 3}));
    venue.MergeReply("3\tC\n1\tA\n4\td\n");
    EXPECT_EQ(Units(), (std::vector<std::uint32_t>{1, 2, 3, 4}));
    EXPECT_EQ(Cells(0), "1|A|||");
    EXPECT_EQ(Cells(2), "3|C|||");
}

TEST_F(VenueListTest, HeaderClicksSortAscendingThenFlip) {
    venue.MergeReply("12\tlobby\tOK\n7\tBar\tLate Calling In\n100\tatrium\tOK\n");
    venue.SortByColumn(0);
    EXPECT_EQ(Units(), (std::vector<std::uint32_t>{7, 12, 100}));  // by value, not text
    EXPECT_EQ(venue.SortKey(), 1);
    EXPECT_EQ(list.SortIndicator(), std::make_pair(0, true));
    venue.SortByColumn(0);
    EXPECT_EQ(Units(), (std::vector<std::uint32_t>{100, 12, 7}));
    EXPECT_EQ(venue.SortKey(), -1);
    EXPECT_EQ(list.SortIndicator(), std::make_pair(0, false));
    venue.SortByColumn(1);
    EXPECT_EQ(Units(), (std::vector<std::uint32_t>{100, 7, 12}));  // atrium, Bar, lobby
    EXPECT_EQ(venue.SortKey(), 2);
    EXPECT_EQ(list.SortIndicator(), std::make_pair(1, true));
    // New rows are not sorted into place.
    venue.MergeReply("1\tAAA\n");
    EXPECT_EQ(Units(), (std::vector<std::uint32_t>{100, 7, 12, 1}));
}

TEST(UnitRecords, NumbersAndComparisons) {
    EXPECT_EQ(ParseUnitNumber("0012x"), 12u);
    EXPECT_EQ(ParseUnitNumber("  42"), 42u);
    EXPECT_EQ(ParseUnitNumber("-5"), 0u);
    EXPECT_EQ(ParseUnitNumber("4294967295"), 4294967295u);
    EXPECT_EQ(ParseUnitNumber("4294967296"), 0u);  // names no unit rather than a wrong one

    UnitRecord a;
    UnitRecord b;
    ASSERT_TRUE(a.Apply(cpStringArray{"9", "x"}));
    ASSERT_TRUE(b.Apply(cpStringArray{"10", "X"}));
    EXPECT_FALSE(b.Apply(cpStringArray{"10"}));
    EXPECT_LT(CompareUnits(&a, &b, 1), 0);
    EXPECT_GT(CompareUnits(&a, &b, -1), 0);
    EXPECT_EQ(CompareUnits(&a, &b, 2), 0);
    EXPECT_EQ(CompareUnits(&a, &b, 6), 0);
    EXPECT_LT(CompareUnits(nullptr, &b, 2), 0);
    EXPECT_EQ(NextSortKey(0, 2), 3);
    EXPECT_EQ(NextSortKey(3, 2), -3);
    EXPECT_EQ(NextSortKey(-3, 2), 3);
    EXPECT_EQ(NextSortKey(-3, 0), 1);
}

// The order worked out from keys read once is the order a stable sort by
// CompareUnits gives, for every key, both ways: ties, case, 8-bit text,
// missing records and numbers that are no units included.
TEST(UnitRecords, TheSortedOrderIsAStableSortByTheComparison) {
    const std::vector<cpStringArray> lines{
        {"12", "lobby", "OK"},    {"7", "Bar", "ok"},        {"0012", "LOBBY", "OK"},
        {"x", "\xE9t\xE9", "Ok"}, {"4294967295", "bar", ""}, {"7", "\xC9T\xC9", "OK "},
        {"", "", "OK"},           {"100", "lobby2", "Late"}, {"3", "B", "OK"}};
    std::vector<std::unique_ptr<UnitRecord>> records;
    std::vector<const UnitRecord*> rows;
    for (const cpStringArray& line : lines) {
        records.push_back(std::make_unique<UnitRecord>());
        (void)records.back()->Apply(line);
        rows.push_back(records.back().get());
        if (rows.size() == 4) {
            rows.push_back(nullptr);
        }
    }
    for (int key : {1, -1, 2, -2, 3, -3, 5, -5, 7}) {
        std::vector<int> expected(rows.size());
        std::iota(expected.begin(), expected.end(), 0);
        std::stable_sort(expected.begin(), expected.end(),
                         [&](int a, int b) { return CompareUnits(rows[a], rows[b], key) < 0; });
        EXPECT_EQ(SortedUnitOrder(rows, key), expected) << key;
    }
}

TEST_F(VenueListTest, TheLockIsReentrantAndAWaitingUiThreadPumps) {
    std::atomic<bool> workerHolds{false};
    std::atomic<bool> release{false};
    std::thread worker([&] {
        venue.Lock();
        venue.Lock();
        workerHolds = true;
        for (int i = 0; i < 5000 && !release; ++i) {  // a UI thread that never pumps fails below
            std::this_thread::sleep_for(milliseconds(1));
        }
        venue.Unlock();
        venue.Unlock();
    });
    while (!workerHolds) {
        std::this_thread::sleep_for(milliseconds(1));
    }
    // The worker holds it twice over; the UI thread waits, pumping, until the
    // second pump lets the worker go.
    platform.windows.OnPump([&] {
        if (platform.windows.PumpCount() == 2) {
            release = true;
        }
    });
    venue.Unlock();  // not the holder: ignored
    venue.Lock();
    EXPECT_GE(platform.windows.PumpCount(), 2);
    worker.join();
    venue.Unlock();
}

TEST_F(VenueListTest, AWorkersMergeWaitsForTheUiThreadWithoutPumping) {
    venue.Lock();
    std::atomic<bool> merged{false};
    const std::int64_t waitsBefore = venue.LockWaits();
    std::thread worker([&] {
        venue.MergeReply("8\tKiosk\n");
        merged = true;
    });
    EXPECT_TRUE(testing::WaitUntil([&] { return venue.LockWaits() >= waitsBefore + 3; }));
    EXPECT_FALSE(merged);
    EXPECT_EQ(list.RowCount(), 0);
    venue.Unlock();
    worker.join();
    EXPECT_EQ(Units(), (std::vector<std::uint32_t>{8}));
    EXPECT_EQ(platform.windows.PumpCount(), 0);  // a worker has no messages to pump
}

}  // namespace
}  // namespace vantic

namespace vantic {
namespace {

// The unit numbers of the rows the filter leaves shown, top to bottom.
std::vector<std::uint32_t> ShownUnits(testing::VenueFixture& fixture) {
    std::vector<std::uint32_t> shown;
    for (int row = 0; row < fixture.venue.ItemCount(); ++row) {
        if ((fixture.list.RowState(row) & kRowHidden) == 0) {
            shown.push_back(fixture.venue.UnitNumberAt(row));
        }
    }
    return shown;
}

using Numbers = std::vector<std::uint32_t>;

// A filter hides rows without dropping them; refreshes move units in and out
// of it as their texts change, sorting keeps it, and clearing shows all.
TEST_F(VenueListTest, TheFilterFollowsRefreshesAndSortsAndHidesNoRowForGood) {
    venue.MergeReply("12\t[Harbor] lobby\tOK\t\t\n7\t[Depot] bay\tLate Calling In\t\t\n");
    venue.SelectRow(0, true);
    ASSERT_TRUE(venue.SetFilter(UnitFilter::Parse("status:late")));
    EXPECT_EQ(ShownUnits(*this), (Numbers{7}));
    EXPECT_EQ(venue.SelectedCount(), 0);  // a hidden row leaves the selection
    EXPECT_EQ(venue.HiddenCount(), 1);

    venue.MergeReply(
        "12\t[Harbor] lobby\tLate Calling In\t\t\n7\t[Depot] bay\tOK\t\t\n"
        "30\t[Harbor] atrium\tLate Calling In\t\t\n31\t[Harbor] gate\tOK\t\t\n");
    EXPECT_EQ(ShownUnits(*this), (Numbers{12, 30}));
    venue.SortByColumn(0);
    EXPECT_EQ(Units(), (Numbers{7, 12, 30, 31}));
    EXPECT_EQ(ShownUnits(*this), (Numbers{12, 30}));

    venue.SelectShown();
    EXPECT_EQ(venue.SelectedCount(), 2);
    EXPECT_TRUE(venue.IsSelected(RowOf(12)) && venue.IsSelected(RowOf(30)));

    ASSERT_TRUE(venue.SetFilter(UnitFilter::Parse("")));
    EXPECT_EQ(ShownUnits(*this), (Numbers{7, 12, 30, 31}));
    EXPECT_EQ(venue.HiddenCount(), 0);
    EXPECT_EQ(StatusCountsText(venue.CountStatuses()), "4 units: 2 OK, 2 late");
}

}  // namespace
}  // namespace vantic
