#include "platform/placement.h"

#include <gtest/gtest.h>

namespace vantic {
namespace {

TEST(PlaceOverOwner, CentresAcrossWithAThirdOfTheSpareHeightAbove) {
    const Rect owner{100, 50, 1100, 950};
    EXPECT_EQ(PlaceOverOwner(400, 300, owner), (Rect{400, 250, 800, 550}));
}

TEST(PlaceOverOwner, ALargerDialogLinesUpWithTheOwnerEdge) {
    const Rect owner{100, 50, 500, 350};
    EXPECT_EQ(PlaceOverOwner(600, 200, owner), (Rect{100, 83, 700, 283}));
    EXPECT_EQ(PlaceOverOwner(200, 400, owner), (Rect{200, 50, 400, 450}));
}

}  // namespace
}  // namespace vantic
