// The reference server's unit list reply for a large venue: 10,000 units,
// with and without an owner for each. BM_UnitListReply reads the unit file
// and builds the reply in the server's own code (no network); BM_UnitListFetch is a controller's
// whole fetch over loopback: connect, log in, request, decrypt. The target
// for the fetch with an owner per unit is under 25 ms.
// Build with -DCMAKE_BUILD_TYPE=Release to measure.

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "net/payload_exchange.h"
#include "net/server_access.h"
#include "server/unit_list.h"
#include "tests/support/server_runner.h"

namespace {

using namespace vantic;

constexpr int kUnits = 10000;
constexpr const char* kLogin = "bigvenue";
constexpr const char* kPassword = "Bench4Venue";

std::string UnitsText() {
    std::string text;
    for (int unit = 1; unit <= kUnits; ++unit) {
        text += std::to_string(100000 + unit) + "\tLobby screen " + std::to_string(unit % 97) +
                "\tOK\t12/01/2026 10:15\t12/01/2026 11:15\n";
    }
    return text;
}

std::string OwnersText(bool withOwners) {
    std::string text;
    for (int unit = 1; withOwners && unit <= kUnits; ++unit) {
        text += std::to_string(100000 + unit) + "=Owner " + std::to_string(unit % 400) + "\n";
    }
    return text;
}

void BM_UnitListReply(benchmark::State& state) {
    const std::string units = UnitsText();
    const std::string owners = OwnersText(state.range(0) != 0);
    server::Account everyone;
    everyone.allUnits = true;
    for (auto _ : state) {  // the server reads its unit file for each request
        benchmark::DoNotOptimize(
            server::UnitListReply(server::ParseUnitList(units), everyone, owners));
    }
}
BENCHMARK(BM_UnitListReply)->ArgName("owners")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The server binary of this build tree (<build>/bench/<this program>)
// unless VANTIC_BIN_DIR names another build.
void FindServerBinary() {
    if (std::getenv("VANTIC_BIN_DIR") == nullptr) {
        std::error_code error;
        const auto self = std::filesystem::read_symlink("/proc/self/exe", error);
        setenv("VANTIC_BIN_DIR", self.parent_path().parent_path().c_str(), 0);
    }
}

bool PrepareVenue(testing::ServerRunner& server, bool withOwners) {
    const std::string data = server.DataDir();
    return testing::WriteFileBytes(data + "/units.txt", UnitsText()) &&
           testing::WriteFileBytes(data + "/owners.txt", OwnersText(withOwners)) &&
           server.AddAccount(kLogin, kPassword, "*");
}

void BM_UnitListFetch(benchmark::State& state) {
    FindServerBinary();
    testing::ServerRunner server;
    if (!server.Ok() || !PrepareVenue(server, state.range(0) != 0)) {
        state.SkipWithError("the reference server did not start");
        return;
    }
    const ServerAccess access{server.Address(), kLogin, kPassword, server.KeyFile()};
    for (auto _ : state) {
        const FetchResult reply = FetchPayload(access, ServerCommand::GetUnitList, kNoUnit);
        if (!reply.Ok() || reply.payload.size() < static_cast<std::size_t>(kUnits) * 40) {
            state.SkipWithError("the unit list did not arrive whole");
            return;
        }
    }
}
BENCHMARK(BM_UnitListFetch)
    ->ArgName("owners")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
