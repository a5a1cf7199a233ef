#include "preview/preview_mapping.h"

#include <gtest/gtest.h>

#include <limits>

using preview::MapX;
using preview::MapY;

TEST(PreviewMapping, DividesByTheQuotientAndTruncatesTowardZero) {
    // 800 / 768 rounds up in double, so 15.625 divided by it lands just below
    // 15 (a multiplication by 768 / 800 would give exactly 15).
    EXPECT_EQ(MapX(15.625, 768), 14);
    EXPECT_EQ(MapY(300.0, 102), 50);  // 51 by multiplication
    EXPECT_EQ(MapX(-1.0, 400), 0);
    EXPECT_EQ(MapX(-3.0, 400), -1);
    EXPECT_EQ(MapY(599.0, 300), 299);
}

TEST(PreviewMapping, NonFiniteAndHugeValuesAreClamped) {
    constexpr double kInf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(MapX(kInf, 400), preview::kMapLimit);
    EXPECT_EQ(MapY(-kInf, 300), -preview::kMapLimit);
    EXPECT_EQ(MapX(1e300, 400), preview::kMapLimit);
    EXPECT_EQ(MapX(std::numeric_limits<double>::quiet_NaN(), 400), 0);
    EXPECT_EQ(MapX(100.0, 0), 0);  // no client area
}
