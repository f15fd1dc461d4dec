// Merging a unit list reply into the unit list, for 1,000 and 10,000
// units: a first reply that adds every unit, and a later one that changes
// every unit's status in place. The rows sit in an in-memory list control,
// so this measures the merge itself, not a window system. Build with
// -DCMAKE_BUILD_TYPE=Release to measure.

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "units/venue_list.h"

namespace {

using namespace vantic;

class MemoryList final : public ListControl {
  public:
    int ColumnWidth(int column) const override { return column < columns_ ? 100 : 0; }
    void SetColumnWidth(int, int) override {}
    bool InsertColumn(int, const std::string&, int, ColumnAlign) override {
        ++columns_;
        return true;
    }
    int ColumnCount() const override { return columns_; }
    int RowCount() const override { return static_cast<int>(rows_.size()); }
    int InsertRow(int index, RowData* data) override {
        index = std::min(index, RowCount());
        rows_.insert(rows_.begin() + index, Row{data, 0, std::vector<std::string>(columns_)});
        return index;
    }
    bool DeleteRow(int row) override {
        rows_.erase(rows_.begin() + row);
        return true;
    }
    void DeleteAllRows() override { rows_.clear(); }
    RowData* GetRowData(int row) const override {
        return row >= 0 && row < RowCount() ? rows_[row].data : nullptr;
    }
    void SetRowData(int row, RowData* data) override { rows_[row].data = data; }
    std::string CellText(int row, int column) const override { return rows_[row].cells[column]; }
    void SetCellText(int row, int column, const std::string& text) override {
        rows_[row].cells[column] = text;
    }
    std::uint32_t RowState(int row) const override { return rows_[row].state; }
    void SetRowState(int row, std::uint32_t state, std::uint32_t mask) override {
        rows_[row].state = (rows_[row].state & ~mask) | (state & mask);
    }
    int NextSelected(int) const override { return -1; }
    int SelectedCount() const override { return 0; }
    void SetGridLines(bool) override {}
    void SetFullRowSelect(bool) override {}
    void EnsureVisible(int) override {}
    void SortRows(const RowComparison&) override {}
    void SetEvents(ListEvents*) override {}

  private:
    struct Row {
        RowData* data;
        std::uint32_t state;
        std::vector<std::string> cells;
    };
    int columns_ = 0;
    std::vector<Row> rows_;
};

class Quiet final : public MessageBoxes, public WindowSystem, public Clock, public LoginStore {
  public:
    MessageAnswer Show(const Message&) override { return MessageAnswer::Ok; }
    void PumpMessages() override {}
    void SetEnabled(WindowId, bool) override {}
    bool IsEnabled(WindowId) const override { return true; }
    std::unique_ptr<PlacedWindow> Placement(WindowId) override { return nullptr; }
    std::int64_t Now() const override { return 0; }
    LocalTime ToLocal(std::int64_t) const override { return {}; }
    std::uint32_t TickMs() const override { return 0; }
    void Sleep(int) override {}
    std::string GetString(std::string_view, std::size_t) override { return {}; }
    bool SetString(std::string_view, std::string_view) override { return true; }
    bool GetBool(std::string_view, bool fallback) override { return fallback; }
    bool SetInt(std::string_view, int) override { return true; }
};

// Units numbered from 1001 upward, listed in a shuffled order, with status.
std::string Reply(int units, const char* status) {
    std::string text;
    for (int i = 0; i < units; ++i) {
        const int number = 1001 + (i * 7919) % units;
        text += std::to_string(number) + "\t[Owner " + std::to_string(number % 40) + "] Lobby\t" +
                status + "\t12/01/2026 10:00\t12/01/2026 10:20\r\n";
    }
    return text;
}

struct Venue {
    Venue() {
        list.Attach(&control);
        for (const UnitColumn& column : kUnitColumns) {
            list.InsertColumn(column.title, column.width);
        }
    }
    Quiet quiet;
    MemoryList control;
    LoginSettings login{quiet, "p.key"};
    VenueList list{quiet, quiet, quiet, login};
};

void BM_MergeNewUnits(benchmark::State& state) {
    const int units = static_cast<int>(state.range(0));
    const std::string reply = Reply(units, "OK");
    for (auto _ : state) {
        state.PauseTiming();
        auto venue = std::make_unique<Venue>();
        state.ResumeTiming();
        venue->list.MergeReply(reply);
        state.PauseTiming();
        venue.reset();
        state.ResumeTiming();
    }
    state.SetComplexityN(units);
}

void BM_MergeStatusChanges(benchmark::State& state) {
    const int units = static_cast<int>(state.range(0));
    const std::string replies[] = {Reply(units, "OK"), Reply(units, "Late Calling In")};
    Venue venue;
    venue.list.MergeReply(replies[0]);
    venue.list.SortByColumn(1);  // rows no longer in reply order
    int next = 1;
    for (auto _ : state) {
        venue.list.MergeReply(replies[next]);
        next ^= 1;
    }
    state.SetComplexityN(units);
}

BENCHMARK(BM_MergeNewUnits)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->Complexity();
BENCHMARK(BM_MergeStatusChanges)
    ->Arg(1000)
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();

}  // namespace

BENCHMARK_MAIN();
