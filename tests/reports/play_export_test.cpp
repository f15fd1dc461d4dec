// The proof-of-play table: rows per unit, channel, clip and day counted as
// the status report counts its lines, and fields a CSV reader gets back
// unchanged.

#include <gtest/gtest.h>

#include "reports/play_export.h"

namespace vantic {
namespace {

const ReportDateRange kRange{{2026, 11, 1}, {2026, 11, 30}};

std::string Played(int channel, const std::string& path, const std::string& content, int plays,
                   const std::string& day) {
    return std::to_string(channel) + "\t" + path + "\tAuto\t" + content + "\t" +
           std::to_string(plays) + "\tAll\tloop\t" + day + " 00:00\t" + day + " 23:59\tA\t\n";
}

EntrySet Runtime(const std::string& text) {
    EntrySet set;
    EXPECT_TRUE(TextToEntrySet(text, set)) << text;
    return set;
}

TEST(PlayExport, RowsPerClipAndDayWithTheReportsCountingRule) {
    const std::string a(32, 'a');
    const std::string b(32, 'b');
    std::vector<UnitPlays> units;
    units.push_back(UnitPlays{4, "Lobby",
                              Runtime(Played(0, "C:\\M\\hall.mpg", a, 40, "10/31/2026") +  // before
                                      Played(0, "C:\\M\\hall.mpg", a, 5, "11/01/2026") +
                                      Played(0, "", a, 6, "11/01/2026") +  // no path, same day
                                      Played(0, "C:\\M\\hall.mpg", a, 7, "11/30/2026") +
                                      Played(0, "C:\\M\\hall.mpg", a, 9, "12/01/2026") +  // after
                                      Played(3, "/m/song.mp3", b, 2, "11/02/2026"))});
    units.push_back(UnitPlays{9, "Bar", std::nullopt});
    units.push_back(UnitPlays{12, "Door", EntrySet{}});

    const PlayExport table = PlaysToCsv(units, kRange);
    EXPECT_EQ(table.csv,
              "unit,notes,channel,clip file,content name,day,plays\r\n"
              "4,Lobby,Video,hall.mpg," +
                  a +
                  ",2026-11-01,11\r\n"
                  "4,Lobby,Video,hall.mpg," +
                  a +
                  ",2026-11-30,7\r\n"
                  "4,Lobby,Audio B,song.mp3," +
                  b + ",2026-11-02,2\r\n");
    EXPECT_EQ(table.failedUnits, (std::vector<std::uint32_t>{9}));
    EXPECT_EQ(LeftOutUnitsText(table.failedUnits),
              "The runtime reports of Media Player #9 could not be read; the file leaves them "
              "out.");
}

TEST(PlayExport, FieldsAreQuotedWhereTheyMustBeAndConvertedToUtf8) {
    EXPECT_EQ(CsvField("plain text"), "plain text");
    EXPECT_EQ(CsvField("a,\"b\".mpg"), "\"a,\"\"b\"\".mpg\"");
    EXPECT_EQ(CsvField("first\r\nsecond"), "\"first\r\nsecond\"");
    EXPECT_EQ(CsvField("Caf\xe9 \x80"), "Caf\xc3\xa9 \xe2\x82\xac");

    std::vector<UnitPlays> units{
        UnitPlays{7, "two\nlines",
                  Runtime(Played(1, "/m/a,\"b\".mpg", std::string(32, 'c'), 3, "11/05/2026"))}};
    EXPECT_EQ(PlaysToCsv(units, kRange).csv,
              "unit,notes,channel,clip file,content name,day,plays\r\n"
              "7,\"two\nlines\",Video - Alt,\"a,\"\"b\"\".mpg\"," +
                  std::string(32, 'c') + ",2026-11-05,3\r\n");
}

}  // namespace
}  // namespace vantic
