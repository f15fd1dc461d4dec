#include "server/simulator.h"

#include <algorithm>
#include <chrono>

#include "core/cpconfig.h"
#include "core/cpstring.h"
#include "server/clock_text.h"
#include "server/entry_text.h"

namespace vantic::server {

namespace {

constexpr std::time_t kSecondsPerDay = 86400;
// The simulated units play clips of about a minute.
constexpr std::time_t kClipSeconds = 60;

constexpr std::string_view kOffline = "Check Network Connection";
constexpr std::string_view kReset = "Factory Defaults";

bool IsOnline(const UnitRow& row) {
    return row.status != kOffline;
}

std::vector<EntryFields> ReadLines(const Store& store, std::uint32_t unit, UnitFile file) {
    std::optional<std::string> text = store.ReadUnitFile(unit, file);
    std::optional<std::vector<EntryFields>> lines =
        text ? ReadEntryLines(*text) : std::optional<std::vector<EntryFields>>();
    return lines.value_or(std::vector<EntryFields>{});
}

bool SameClip(const EntryFields& a, const EntryFields& b) {
    return ClipChannel(a) == ClipChannel(b) &&
           EqualsNoCase(TrimmedView(a[kContentField]), TrimmedView(b[kContentField])) &&
           TrimmedView(a[kPathField]) == TrimmedView(b[kPathField]);
}

// Adds the plays since the previous call-in to today's entry of each clip
// and drops entries older than the history.
std::vector<EntryFields> AddPlays(std::vector<EntryFields> runtime,
                                  const std::vector<EntryFields>& clips, std::time_t elapsed,
                                  std::time_t now) {
    const std::time_t today = StartOfDay(now);
    std::erase_if(runtime, [&](const EntryFields& entry) {
        std::optional<std::time_t> day = ClipChannel(entry) >= 0 ? ParseDay(entry[kFirstDayField])
                                                                 : std::optional<std::time_t>();
        return !day || *day < today - kRuntimeHistoryDays * kSecondsPerDay;
    });
    for (const EntryFields& clip : clips) {
        const auto inChannel = std::count_if(clips.begin(), clips.end(), [&](const auto& other) {
            return ClipChannel(other) == ClipChannel(clip);
        });
        const long long plays = std::max<long long>(1, elapsed / kClipSeconds / inChannel);
        auto entry = std::find_if(runtime.begin(), runtime.end(), [&](const EntryFields& e) {
            return SameClip(e, clip) && ParseDay(e[kFirstDayField]) == today;
        });
        if (entry == runtime.end()) {
            runtime.push_back(RuntimeEntry(clip, now, plays));
        } else {
            (*entry)[kSizeField] = std::to_string(LeadingInteger((*entry)[kSizeField]) + plays);
        }
    }
    return runtime;
}

// The unit takes the settings of its instruction file; gives its notes.
std::optional<std::string> ApplySettings(Store& store, std::uint32_t unit,
                                         const std::vector<EntryFields>& lines, bool& ok) {
    cpConfig info = cpConfig::FromText(store.ReadUnitFile(unit, UnitFile::Info).value_or(""));
    std::optional<std::string> notes;
    for (const EntryFields& line : lines) {
        if (!IsSetting(line)) {
            continue;
        }
        std::string key(TrimmedView(line[1]));
        std::string value(TrimmedView(line[2]));
        info.Set(key, value);
        if (EqualsNoCase(key, "notes")) {
            notes = value;
        }
    }
    ok = store.WriteUnitFile(unit, UnitFile::Info, info.ToText()) && ok;
    return notes;
}

}  // namespace

EntryFields RuntimeEntry(const EntryFields& clip, std::time_t when, long long plays) {
    const std::string day = DayText(when);
    return EntryFields{clip[kKindField],
                       clip[kPathField],
                       "Auto",
                       clip[kContentField],
                       std::to_string(plays),
                       "All",
                       "loop",
                       day + " 00:00",
                       day + " 23:59",
                       clip[kAudioField],
                       ""};
}

bool CallIn(Store& store, UnitRow& row, std::time_t now, int intervalSeconds) {
    const std::uint32_t unit = row.number;
    TimingWords timing = store.LoadTiming(unit).value_or(TimingWords{});
    const std::time_t elapsed = timing.last == 0
                                    ? intervalSeconds
                                    : std::clamp<std::time_t>(now - timing.last, 0, kSecondsPerDay);
    timing.calls += 1;
    timing.last = static_cast<std::uint32_t>(now);
    timing.interval = static_cast<std::uint32_t>(intervalSeconds);
    timing.next = static_cast<std::uint32_t>(now + intervalSeconds);
    bool ok = store.SaveTiming(unit, timing);

    row.lastCallIn = CallInText(now);
    row.nextCallIn = CallInText(now + intervalSeconds);
    if (!store.ReadUnitFile(unit, UnitFile::Instructions)) {
        // Nothing to play yet: a reset unit stays reset until it gets a file.
        row.status = row.status == kReset ? std::string(kReset) : std::string("OK");
        return ok;
    }
    row.status = "OK";
    const std::vector<EntryFields> lines = ReadLines(store, unit, UnitFile::Instructions);
    std::vector<EntryFields> clips;
    std::copy_if(lines.begin(), lines.end(), std::back_inserter(clips),
                 [](const EntryFields& line) { return ClipChannel(line) >= 0; });
    ok = store.WriteUnitFile(unit, UnitFile::Playlist, WriteEntryLines(clips)) && ok;
    std::vector<EntryFields> runtime =
        AddPlays(ReadLines(store, unit, UnitFile::Runtime), clips, elapsed, now);
    ok = store.WriteUnitFile(unit, UnitFile::Runtime, WriteEntryLines(runtime)) && ok;
    if (std::optional<std::string> notes = ApplySettings(store, unit, lines, ok)) {
        row.notes = *notes;
    }
    return ok;
}

RoundResult SimulateRound(Store& store, std::time_t now, int intervalSeconds) {
    std::lock_guard<std::mutex> hold(store.UnitListLock());
    std::vector<UnitRow> rows = store.LoadUnits();
    RoundResult result;
    for (UnitRow& row : rows) {
        if (IsOnline(row)) {
            result.failures += CallIn(store, row, now, intervalSeconds) ? 0 : 1;
            ++result.calls;
        }
    }
    if (!store.SaveUnits(rows)) {
        result.failures = result.calls;  // none of the call-ins shows in the list
    }
    return result;
}

Simulator::Simulator(Store& store, Logger& log, int intervalSeconds)
    : store_(store),
      log_(log),
      interval_(std::max(1, intervalSeconds)),
      thread_([this] { Run(); }) {}

Simulator::~Simulator() {
    Stop();
}

void Simulator::Stop() {
    {
        std::lock_guard<std::mutex> hold(lock_);
        stopping_ = true;
    }
    wake_.notify_all();
    if (thread_.joinable()) {
        thread_.join();
    }
}

void Simulator::Run() {
    std::unique_lock<std::mutex> hold(lock_);
    while (!wake_.wait_for(hold, std::chrono::seconds(interval_), [this] { return stopping_; })) {
        hold.unlock();
        RoundResult round = SimulateRound(store_, std::time(nullptr), interval_);
        log_.Event("simulate call-ins=" + std::to_string(round.calls) +
                   " failures=" + std::to_string(round.failures));
        hold.lock();
    }
}

}  // namespace vantic::server
