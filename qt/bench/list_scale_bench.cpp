// The unit list at scale on the Qt list control (offscreen): filling it,
// sorting by each column with and without every row selected, and merging
// a refresh that changes every row, at 1,000, 10,000 and 50,000 units;
// then typing a filter, a refresh and a sort under it, and clearing it.
// Each figure includes the layout and paint that follow on the user-
// interface thread. The last column is the growth from 10,000 to 50,000
// units: about 5 for work that grows with the rows, 25 for work that grows
// with their square. Build with -DCMAKE_BUILD_TYPE=Release to measure.

#include <time.h>
#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QItemSelectionModel>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "framework/wmutex.h"
#include "framework/worker.h"
#include "net/login_settings.h"
#include "qt/qt_list_control.h"
#include "qt/qt_window_system.h"
#include "units/venue_list.h"

namespace {

using namespace vantic;
using Clocked = std::chrono::steady_clock;

class Quiet final : public MessageBoxes, public Clock, public LoginStore {
  public:
    MessageAnswer Show(const Message&) override { return MessageAnswer::Ok; }
    std::int64_t Now() const override { return 0; }
    LocalTime ToLocal(std::int64_t) const override { return {}; }
    std::uint32_t TickMs() const override { return 0; }
    void Sleep(int) override {}
    std::string GetString(std::string_view, std::size_t) override { return {}; }
    bool SetString(std::string_view, std::string_view) override { return true; }
    bool GetBool(std::string_view, bool fallback) override { return fallback; }
    bool SetInt(std::string_view, int) override { return true; }
};

const char* const kStatuses[] = {"OK", "Late Calling In", "Check Network Connection",
                                 "Factory Defaults"};

// Units numbered from 1001 upward in a shuffled order; round picks the
// texts, so two rounds differ in every row.
std::string Reply(int units, int round) {
    std::string text;
    for (int i = 0; i < units; ++i) {
        const int number = 1001 + (i * 7919) % units;
        const int minute = (number * 37 + round * 11) % 60;
        text += std::to_string(number) + "\t[Owner " + std::to_string((number + round) % 40) +
                "] Lobby " + std::to_string(number % 97) + "\t" + kStatuses[(number + round) % 4] +
                "\t12/01/2026 10:" + (minute < 10 ? "0" : "") + std::to_string(minute) + "\t12/0" +
                std::to_string(1 + round % 9) + "/2026 11:00\r\n";
    }
    return text;
}

// Wall time, and the user-interface thread's own CPU time: on a loaded
// machine the wall time mostly measures the other programs.
struct Figure {
    double wall = 0;
    double cpu = 0;
};

double ThreadCpuMs() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

Figure Milliseconds(const std::function<void()>& work) {
    const auto start = Clocked::now();
    const double cpuStart = ThreadCpuMs();
    work();
    QCoreApplication::processEvents();  // the layout and paint that follow
    return {std::chrono::duration<double, std::milli>(Clocked::now() - start).count(),
            ThreadCpuMs() - cpuStart};
}

struct Venue {
    explicit Venue(QtWindowSystem& windows) : list(quiet, windows, quiet, login) {
        control.resize(900, 600);
        control.show();
        WReg widths;  // no stored widths: the columns keep their own
        list.SetupColumns(&control, widths);
        QCoreApplication::processEvents();
    }
    ~Venue() { list.Clear(); }
    Quiet quiet;
    LoginSettings login{quiet, "p.key"};
    QtListControl control;
    VenueList list;
};

// The merge from a worker, as a background refresh does it, while this
// thread waits for the list the way the program does.
Figure MergeFromWorker(Venue& venue, const std::string& reply) {
    return Milliseconds([&] {
        std::atomic<bool> done{false};
        std::thread worker([&] {
            venue.list.MergeReply(reply);
            done = true;
            QCoreApplication::eventDispatcher()->wakeUp();
        });
        while (!done.load()) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        }
        worker.join();
    });
}

using Figures = std::map<std::string, Figure>;

// Typing a filter letter by letter (the worst keystroke counts), a refresh
// and a sort under it, selecting the shown rows, and clearing it; then a
// filter that takes most rows out of a full selection.
void MeasureFilter(Venue& venue, int units, Figures& figures) {
    venue.control.clearSelection();
    QCoreApplication::processEvents();
    const std::string typed = "owner 12 lobby";
    Figure worst;
    for (std::size_t letters = 1; letters <= typed.size(); ++letters) {
        const Figure key = Milliseconds(
            [&] { (void)venue.list.SetFilter(UnitFilter::Parse(typed.substr(0, letters))); });
        worst.wall = std::max(worst.wall, key.wall);
        worst.cpu = std::max(worst.cpu, key.cpu);
    }
    figures["filter keystroke, worst"] = worst;
    figures["filter status:late (a quarter)"] =
        Milliseconds([&] { (void)venue.list.SetFilter(UnitFilter::Parse("status:late")); });
    figures["merge, all changed, filtered, worker"] = MergeFromWorker(venue, Reply(units, 3));
    figures["sort filtered Notes"] = Milliseconds([&] { venue.list.SortByColumn(kNotesField); });
    figures["select shown"] = Milliseconds([&] { venue.list.SelectShown(); });
    figures["filter cleared"] =
        Milliseconds([&] { (void)venue.list.SetFilter(UnitFilter::Parse("")); });
    venue.control.selectAll();
    QCoreApplication::processEvents();
    figures["filter owner 1, every row selected"] =
        Milliseconds([&] { (void)venue.list.SetFilter(UnitFilter::Parse("owner 1")); });
}

Figures Measure(QtWindowSystem& windows, int units) {
    Figures figures;
    Venue venue(windows);
    figures["fill"] = Milliseconds([&] { venue.list.MergeReply(Reply(units, 0)); });
    for (int column = 0; column < kUnitFieldCount; ++column) {
        const std::string name = "sort " + std::string(kUnitColumns[column].title);
        figures[name] = Milliseconds([&] { venue.list.SortByColumn(column); });
        figures[name + " desc"] = Milliseconds([&] { venue.list.SortByColumn(column); });
    }
    venue.control.selectAll();
    venue.control.setCurrentItem(venue.control.topLevelItem(units / 2), 0,
                                 QItemSelectionModel::NoUpdate);
    QCoreApplication::processEvents();
    for (int column = 0; column < kUnitFieldCount; ++column) {
        const std::string name = "sort all selected " + std::string(kUnitColumns[column].title);
        figures[name] = Milliseconds([&] { venue.list.SortByColumn(column); });
    }
    const auto ranges = static_cast<double>(venue.control.selectionModel()->selection().size());
    figures["selection ranges after sort (count)"] = {ranges, ranges};
    const std::string changed = Reply(units, 1);
    figures["merge, all changed, on UI thread"] =
        Milliseconds([&] { venue.list.MergeReply(changed); });
    figures["merge, all changed, from worker"] = MergeFromWorker(venue, Reply(units, 2));
    MeasureFilter(venue, units, figures);
    return figures;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    WMutex workers;
    QtWindowSystem windows;
    // Other sizes may be given (to profile one), e.g. "list_scale_bench 10000".
    std::vector<int> sizes{1000, 10000, 50000};
    if (argc > 1) {
        sizes.assign({});
        for (int arg = 1; arg < argc; ++arg) {
            sizes.push_back(std::atoi(argv[arg]));
        }
    }
    // Each size is measured three times; the least of each figure counts.
    std::vector<Figures> results;
    for (int units : sizes) {
        Figures best = Measure(windows, units);
        for (int run = 1; run < 3; ++run) {
            for (const auto& [name, figure] : Measure(windows, units)) {
                best[name].wall = std::min(best[name].wall, figure.wall);
                best[name].cpu = std::min(best[name].cpu, figure.cpu);
            }
        }
        results.push_back(best);
    }
    // Each size: wall ms / UI thread CPU ms. The last column: the growth
    // of both between the last two sizes.
    std::printf("%-38s", "ms wall / UI thread CPU");
    for (int units : sizes) {
        std::printf(" %17d", units);
    }
    std::printf(" %13s\n", "growth");
    const auto growth = [](double before, double after) {
        return before > 0 ? after / before : 0.0;
    };
    for (const auto& [name, first] : results[0]) {
        std::printf("%-38s", name.c_str());
        for (const auto& figures : results) {
            std::printf(" %8.1f /%7.1f", figures.at(name).wall, figures.at(name).cpu);
        }
        const std::size_t last = results.size() - 1;
        const Figure before = last > 0 ? results[last - 1].at(name) : Figure{};
        const Figure after = results[last].at(name);
        std::printf(" %5.1f / %5.1f\n", growth(before.wall, after.wall),
                    growth(before.cpu, after.cpu));
    }
    return 0;
}
