#pragma once

// Simulated units, to make a demo venue alive. In each round every unit
// that is online (its status is not "Check Network Connection") calls in:
// its timing words and call-in texts move on, it reports the clips of its
// current instruction file as its playlist, adds the plays since its last
// call-in to today's entries of its runtime report, takes the settings of
// the file into its information record, and its status becomes "OK". A
// "Factory Defaults" unit stays so until it has an instruction file.

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <ctime>
#include <mutex>
#include <thread>

#include "server/entry_text.h"
#include "server/server_log.h"
#include "server/store.h"

namespace vantic::server {

// Days of runtime history a unit keeps.
inline constexpr int kRuntimeHistoryDays = 90;

// The runtime report entry of a clip for the day of when: its plays as the
// size field, the day as first and last day.
[[nodiscard]] EntryFields RuntimeEntry(const EntryFields& clip, std::time_t when, long long plays);

// One call-in of one unit at now; the unit list row is updated in place
// (the caller saves the list). False when a file could not be written.
[[nodiscard]] bool CallIn(Store& store, UnitRow& row, std::time_t now, int intervalSeconds);

struct RoundResult {
    int calls = 0;     // units that called in
    int failures = 0;  // units whose files could not all be written
};

// One round over the whole venue.
RoundResult SimulateRound(Store& store, std::time_t now, int intervalSeconds);

class Simulator {
  public:
    Simulator(Store& store, Logger& log, int intervalSeconds);
    ~Simulator();
    Simulator(const Simulator&) = delete;
    Simulator& operator=(const Simulator&) = delete;

    void Stop();

  private:
    void Run();

    Store& store_;
    Logger& log_;
    const int interval_;
    std::mutex lock_;
    std::condition_variable wake_;
    bool stopping_ = false;
    std::thread thread_;
};

}  // namespace vantic::server
