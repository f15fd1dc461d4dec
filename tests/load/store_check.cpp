#include "tests/load/store_check.h"

#include <chrono>
#include <fstream>

#include "net/hex.h"
#include "server/entry_text.h"
#include "tests/support/temp_dir.h"

namespace vantic::load {

namespace fs = std::filesystem;

namespace {

// The value in kB of a "Name:   123 kB" line of /proc/<pid>/status.
long StatusKib(pid_t pid, const std::string& name) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.starts_with(name + ":")) {
            return std::strtol(line.c_str() + name.size() + 1, nullptr, 10);
        }
    }
    return 0;
}

bool Skipped(const std::string& relative) {
    return relative == "server.log" || relative == "server.lock" || relative.starts_with("tmp/") ||
           relative.starts_with("media/");
}

// The unit of "units/N/instructions.txt", or 0.
std::uint32_t InstructionUnit(const std::string& relative) {
    if (!relative.starts_with("units/") || !relative.ends_with("/instructions.txt")) {
        return 0;
    }
    return static_cast<std::uint32_t>(std::strtoul(relative.c_str() + 6, nullptr, 10));
}

std::size_t StoredLogLines(const testing::ServerRunner& server, const std::string& command) {
    std::size_t count = 0;
    for (const std::string& line : server.LogLines(" command=" + command + " ")) {
        if (line.find(" outcome=stored") != std::string::npos) {
            ++count;
        }
    }
    return count;
}

void CheckInstructions(const StoreSnapshot& before, const StoreSnapshot& after,
                       const HonestLedger& ledger, std::vector<std::string>& problems) {
    const auto written = ledger.Instructions();
    for (const auto& [relative, bytes] : after) {
        const auto unit = written.find(InstructionUnit(relative));
        if (unit == written.end()) {
            const auto old = before.find(relative);
            if (old == before.end() || old->second != bytes) {
                problems.push_back(relative + " changed though nobody wrote it");
            }
            continue;
        }
        if (!unit->second.contains(bytes) || !server::ReadEntryLines(bytes)) {
            problems.push_back(relative + " is not one of the texts stored for it (" +
                               std::to_string(bytes.size()) + " bytes)");
        }
    }
    for (const auto& entry : before) {
        if (!after.contains(entry.first)) {
            problems.push_back(entry.first + " is gone");
        }
    }
}

void CheckMedia(const std::string& dataDir, const HonestLedger& ledger,
                std::vector<std::string>& problems) {
    for (const Md5Digest& digest : ledger.Media()) {
        const std::string name = HexEncode(digest);
        const fs::path path = fs::path(dataDir) / "media" / name;
        const std::string bytes = testing::ReadFileBytes(path.string());
        if (!fs::exists(path) || HexEncode(Md5Buffer(AsBytes(bytes))) != name) {
            problems.push_back("medium " + name + " missing or torn");
        }
    }
}

}  // namespace

MemorySampler::MemorySampler(pid_t pid) : pid_(pid) {
    thread_ = std::thread([this] {
        while (!stop_) {
            rssPeakKib_ = std::max(rssPeakKib_.load(), StatusKib(pid_, "VmRSS"));
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
    });
}

MemorySampler::~MemorySampler() {
    (void)Finish();
}

MemoryFigures MemorySampler::Finish() {
    if (thread_.joinable()) {
        stop_ = true;
        thread_.join();
    }
    return MemoryFigures{rssPeakKib_, StatusKib(pid_, "VmHWM")};
}

StoreSnapshot TakeSnapshot(const std::string& dataDir) {
    StoreSnapshot snapshot;
    for (const auto& entry : fs::recursive_directory_iterator(dataDir)) {
        const std::string relative = fs::relative(entry.path(), dataDir).string();
        if (entry.is_regular_file() && !Skipped(relative)) {
            snapshot[relative] = testing::ReadFileBytes(entry.path().string());
        }
    }
    return snapshot;
}

std::vector<std::string> CheckStore(testing::ServerRunner& server, const StoreSnapshot& before,
                                    const HonestLedger& ledger) {
    std::vector<std::string> problems;
    if (!server.Stop()) {
        problems.push_back("the server did not stop cleanly");
    }
    CheckInstructions(before, TakeSnapshot(server.DataDir()), ledger, problems);
    CheckMedia(server.DataDir(), ledger, problems);
    for (const auto& entry : fs::directory_iterator(server.DataDir() + "/tmp")) {
        if (entry.path().extension() == ".lock") {
            continue;  // the store's and the account file's locks live there
        }
        problems.push_back("temporary left behind: " + entry.path().filename().string());
    }
    std::size_t uploads = 0;
    for (const auto& texts : ledger.Instructions()) {
        uploads += texts.second.size();
    }
    if (StoredLogLines(server, "8") != uploads) {
        problems.push_back("the log shows " + std::to_string(StoredLogLines(server, "8")) +
                           " instruction files stored of " + std::to_string(uploads));
    }
    if (StoredLogLines(server, "7") != ledger.Media().size()) {
        problems.push_back("the log shows " + std::to_string(StoredLogLines(server, "7")) +
                           " media stored of " + std::to_string(ledger.Media().size()));
    }
    return problems;
}

}  // namespace vantic::load
