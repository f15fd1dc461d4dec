// An honest client: the controller's own request code, one connection per
// request, as the program makes them.

#include <fstream>

#include "net/hex.h"
#include "net/media_exchange.h"
#include "net/payload_exchange.h"
#include "server/demo_venue.h"
#include "tests/load/load_clients.h"

namespace vantic::load {

void HonestLedger::Failed(const std::string& what) {
    ++failed_;
    std::lock_guard<std::mutex> hold(lock_);
    if (failures_.size() < 10) {
        failures_.push_back(what);
    }
}

void HonestLedger::StoredInstructions(std::uint32_t unit, const std::string& text) {
    std::lock_guard<std::mutex> hold(lock_);
    instructions_[unit].insert(text);
}

void HonestLedger::StoredMedia(const Md5Digest& digest) {
    std::lock_guard<std::mutex> hold(lock_);
    media_.push_back(digest);
}

std::vector<std::string> HonestLedger::FirstFailures() const {
    std::lock_guard<std::mutex> hold(lock_);
    return failures_;
}

std::map<std::uint32_t, std::set<std::string>> HonestLedger::Instructions() const {
    std::lock_guard<std::mutex> hold(lock_);
    return instructions_;
}

std::vector<Md5Digest> HonestLedger::Media() const {
    std::lock_guard<std::mutex> hold(lock_);
    return media_;
}

namespace {

std::uint32_t UnitFor(int client, int request) {
    const auto units = server::demo::Units();
    return units[static_cast<std::size_t>(client + request) % units.size()].number;
}

// A download that must open; an absent file is an answer too where the
// unit may hold none.
bool Fetched(const ServerAccess& access, ServerCommand command, std::int32_t unit,
             bool absentIsAnswer, std::string& cause) {
    const FetchResult result = FetchPayload(access, command, unit);
    if (result.Ok() || (absentIsAnswer && result.outcome == FetchOutcome::Absent)) {
        return true;
    }
    cause = result.cause.empty() ? "outcome " + std::to_string(static_cast<int>(result.outcome))
                                 : result.cause;
    return false;
}

bool UploadMedia(const ServerAccess& access, int client, int request, const std::string& dir,
                 HonestLedger& ledger, std::string& cause) {
    std::string bytes;
    while (bytes.size() < 16 * 1024) {
        bytes += "medium of client " + std::to_string(client) + " request " +
                 std::to_string(request) + "\n";
    }
    const std::string path = dir + "/medium" + std::to_string(client);
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
    const Md5Digest digest = Md5Buffer(AsBytes(bytes));
    if (!PutMediaFile(access, digest, path)) {
        cause = "media upload";
        return false;
    }
    ledger.StoredMedia(digest);
    return true;
}

bool OneRequest(const ServerAccess& access, int client, int request, const std::string& dir,
                HonestLedger& ledger, std::string& cause) {
    const std::uint32_t unit = UnitFor(client, request);
    const auto unitWord = static_cast<std::int32_t>(unit);
    switch (request % 6) {
        case 0:
            return Fetched(access, ServerCommand::GetUnitList, kNoUnit, false, cause);
        case 1:
            return Fetched(access, ServerCommand::GetInstructionFile, unitWord, true, cause);
        case 2: {
            const Md5Digest digest = Md5Buffer(AsBytes("never uploaded " + std::to_string(client)));
            const std::optional<bool> held = MediaOnServer(access, digest);
            cause = "media query";
            return held.has_value() && !*held;
        }
        case 3: {
            const std::string text = "4\tLoadTest\tclient " + std::to_string(client) + " request " +
                                     std::to_string(request);
            if (!StorePayload(access, ServerCommand::PutInstructionFile, unitWord, text, cause)) {
                return false;
            }
            ledger.StoredInstructions(unit, text);
            return true;
        }
        case 4:
            return Fetched(access, ServerCommand::GetUnitInfo, unitWord, true, cause);
        default:
            return UploadMedia(access, client, request, dir, ledger, cause);
    }
}

}  // namespace

void RunHonestClient(const ServerAccess& access, int client, int requests,
                     const std::string& scratchDir, HonestLedger& ledger) {
    for (int request = 0; request < requests; ++request) {
        std::string cause;
        if (OneRequest(access, client, request, scratchDir, ledger, cause)) {
            ledger.Succeeded();
        } else {
            ledger.Failed("client " + std::to_string(client) + " request " +
                          std::to_string(request) + ": " + cause);
        }
    }
}

}  // namespace vantic::load
