// Simulated call-ins: what a round changes in the store, and that a
// serving venue comes alive with --simulate.

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "server/clock_text.h"
#include "server/entry_text.h"
#include "server/seed.h"
#include "server/simulator.h"
#include "server/store.h"
#include "tests/server/live_server.h"
#include "tests/support/temp_dir.h"

namespace vantic::testing {
namespace {

using server::Store;
using server::UnitFile;

class Simulation : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(server::SeedDemo(dir_.Path(), now_, error, server::kMinHashIterations))
            << error;
        store_ = Store::Open(dir_.Path(), false, error);
        ASSERT_TRUE(store_) << error;
    }

    server::UnitRow Row(std::uint32_t unit) {
        const std::vector<server::UnitRow> rows = store_->LoadUnits();
        const server::UnitRow* row = server::FindUnit(rows, unit);
        return row ? *row : server::UnitRow{};
    }
    std::string File(std::uint32_t unit, UnitFile file) {
        return store_->ReadUnitFile(unit, file).value_or("<none>");
    }
    // Today's play count of the clip with this content name, or -1.
    long long PlaysToday(std::uint32_t unit, const std::string& content, std::time_t when) {
        auto lines = server::ReadEntryLines(File(unit, UnitFile::Runtime));
        for (const server::EntryFields& entry :
             lines.value_or(std::vector<server::EntryFields>{})) {
            if (entry[server::kContentField] == content &&
                entry[server::kFirstDayField] == server::DayText(when) + " 00:00") {
                return std::stoll(entry[server::kSizeField]);
            }
        }
        return -1;
    }

    TempDir dir_;
    // Noon: just after midnight a seeded unit has not called in yet today,
    // so today's play entries would not exist.
    std::time_t now_ = server::StartOfDay(std::time(nullptr)) + 12 * 3600;
    std::unique_ptr<Store> store_;
};

TEST_F(Simulation, OnlineUnitsCallInAndOfflineUnitsDoNot) {
    const server::UnitRow offline = Row(1031);
    const server::TimingWords lateBefore = *store_->LoadTiming(1023);
    const std::time_t later = now_ + 120;

    server::RoundResult round = server::SimulateRound(*store_, later, 30);
    EXPECT_EQ(round.calls, 10);
    EXPECT_EQ(round.failures, 0);

    server::UnitRow late = Row(1023);
    EXPECT_EQ(late.status, "OK");
    EXPECT_EQ(late.lastCallIn, server::CallInText(later));
    EXPECT_EQ(late.nextCallIn, server::CallInText(later + 30));
    server::TimingWords timing = *store_->LoadTiming(1023);
    EXPECT_EQ(timing.calls, lateBefore.calls + 1);
    EXPECT_EQ(timing.last, static_cast<std::uint32_t>(later));
    EXPECT_EQ(timing.next, static_cast<std::uint32_t>(later + 30));

    const server::UnitRow stillOffline = Row(1031);
    EXPECT_EQ(stillOffline.status, offline.status);
    EXPECT_EQ(stillOffline.lastCallIn, offline.lastCallIn);

    // A reset unit calls in but stays reset until it has a file.
    server::UnitRow reset = Row(1082);
    EXPECT_EQ(reset.status, "Factory Defaults");
    EXPECT_EQ(reset.lastCallIn, server::CallInText(later));
}

TEST_F(Simulation, AUnitPlaysWhatWasDeployedAtItsNextCallIn) {
    const std::string clip =
        "1\tC:\\Media\\new_promo.mpg\tAuto\t00112233445566778899aabbccddeeff\t9 KB\tAll\tloop\t"
        "None\tNone\tA\tNew promo";
    const std::string file = clip + "\n4\tnotes\t[Harbor Mall] food court, moved\n4\tVideoAlt\t1";
    ASSERT_TRUE(store_->WriteUnitFile(1012, UnitFile::Instructions, file));
    ASSERT_TRUE(store_->WriteUnitFile(1082, UnitFile::Instructions, clip));
    const std::time_t later = now_ + 600;

    server::SimulateRound(*store_, later, 60);

    EXPECT_EQ(File(1012, UnitFile::Playlist), clip);
    EXPECT_GE(PlaysToday(1012, "00112233445566778899aabbccddeeff", later), 1);
    const std::string info = File(1012, UnitFile::Info);
    EXPECT_NE(info.find("notes=[Harbor Mall] food court, moved\n"), std::string::npos);
    EXPECT_NE(info.find("VideoAlt=1\n"), std::string::npos);
    EXPECT_NE(info.find("version=Version: "), std::string::npos);  // kept
    EXPECT_EQ(Row(1012).notes, "[Harbor Mall] food court, moved");
    EXPECT_EQ(Row(1082).status, "OK");
}

TEST_F(Simulation, PlaysAccumulateOnTodaysEntry) {
    auto instructions = server::ReadEntryLines(File(1012, UnitFile::Instructions));
    ASSERT_TRUE(instructions);
    std::string audio;
    for (const auto& entry : *instructions) {
        if (server::ClipChannel(entry) == 2) {
            audio = entry[server::kContentField];
        }
    }
    ASSERT_FALSE(audio.empty());
    const long long before = PlaysToday(1012, audio, now_);
    ASSERT_GE(before, 1);
    const std::time_t first = now_ + 60;
    server::SimulateRound(*store_, first, 3600);
    const long long afterOne = PlaysToday(1012, audio, first);
    EXPECT_GT(afterOne, before);
    // Ten minutes later, one audio clip in its channel: about ten plays more.
    server::SimulateRound(*store_, first + 600, 3600);
    EXPECT_EQ(PlaysToday(1012, audio, first + 600), afterOne + 10);
}

TEST(SimulatedVenue, TheUnitListMovesWhileServing) {
    server::ServeOptions options;
    options.simulateSeconds = 1;
    LiveServer server(options);
    ASSERT_TRUE(server.Ok()) << server.Error();
    WireClient client = server.AdminClient(5);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(15);
    std::string list;
    do {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        list = client.Fetch(17, -1).payload;
    } while (list.find("1023\t[Harbor Mall] cinema queue\tOK\t") == std::string::npos &&
             std::chrono::steady_clock::now() < deadline);
    EXPECT_NE(list.find("1023\t[Harbor Mall] cinema queue\tOK\t"), std::string::npos) << list;
    EXPECT_FALSE(server.AwaitLog({"event=simulate call-ins=10 failures=0"}).empty());
}

}  // namespace
}  // namespace vantic::testing
