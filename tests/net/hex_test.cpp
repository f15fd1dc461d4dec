#include <gtest/gtest.h>

#include "net/hex.h"

namespace vantic {
namespace {

TEST(Hex, EncodesLowerCaseHighNibbleFirst) {
    EXPECT_EQ(HexEncode(Bytes{0x00, 0x7f, 0xa5}), "007fa5");
    EXPECT_EQ(HexEncode({}), "");
}

TEST(Hex, DecodesPairsAnyCaseAndOddTail) {
    EXPECT_EQ(HexDecode("FFFF00"), (Bytes{0xff, 0xff, 0x00}));
    EXPECT_EQ(HexDecode("abc"), (Bytes{0xab, 0xc0}));
    EXPECT_EQ(HexDecode("aBcD"), (Bytes{0xab, 0xcd}));
    EXPECT_TRUE(HexDecode("").empty());
    // Characters that are not digits count as 0, including non-ASCII bytes.
    EXPECT_EQ(HexDecode("g1z\xff"), (Bytes{0x01, 0x00}));
}

TEST(Hex, EveryByteRoundTrips) {
    Bytes all(256);
    for (int i = 0; i < 256; ++i) {
        all[i] = static_cast<std::uint8_t>(i);
    }
    std::string text = HexEncode(all);
    EXPECT_EQ(text.size(), 512u);
    EXPECT_EQ(HexDecode(text), all);
}

}  // namespace
}  // namespace vantic
