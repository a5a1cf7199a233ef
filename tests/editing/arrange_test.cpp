#include "editing/arrange.h"

#include <gtest/gtest.h>

#include <cmath>

#include "support/records.h"

using arrange::Arrangement;
using arrange::Refusal;

namespace {

std::vector<RecordGeometry> Arrange(std::vector<RecordGeometry> boxes, Arrangement arrangement,
                                    std::size_t model = 0) {
    return arrange::Arranged(boxes, model, arrangement);
}

// The positions of the boxes, but for the last `leaveOut`.
std::vector<float> Xs(const std::vector<RecordGeometry>& boxes, std::size_t leaveOut = 0) {
    std::vector<float> xs;
    for (std::size_t i = 0; i + leaveOut < boxes.size(); ++i) xs.push_back(boxes[i].posX);
    return xs;
}
std::vector<float> Ys(const std::vector<RecordGeometry>& boxes, std::size_t leaveOut = 0) {
    std::vector<float> ys;
    for (std::size_t i = 0; i + leaveOut < boxes.size(); ++i) ys.push_back(boxes[i].posY);
    return ys;
}

}  // namespace

// Edges as the boxes show: the third box is turned over by its negative
// width and covers 60..100 x 40..50.
TEST(Arrange, AlignsEdgesAndCentresAsTheBoxesShow) {
    const std::vector<RecordGeometry> boxes = {
        {10, 20, 30, 10}, {50, 5, 20, 40}, {100, 40, -40, 10}, {NAN, 0, 10, 10}};
    EXPECT_EQ(Xs(Arrange(boxes, Arrangement::AlignLeft), 1), (std::vector<float>{10, 10, 50}))
        << "the third box's left edge is its pos + scale";
    EXPECT_EQ(Xs(Arrange(boxes, Arrangement::AlignRight), 1), (std::vector<float>{70, 80, 100}));
    EXPECT_EQ(Ys(Arrange(boxes, Arrangement::AlignTop), 1), (std::vector<float>{5, 5, 5}));
    EXPECT_EQ(Ys(Arrange(boxes, Arrangement::AlignBottom), 1), (std::vector<float>{40, 10, 40}));
    // The bounding box runs 10..100 x 5..50: centres 55 and 27.5.
    EXPECT_EQ(Xs(Arrange(boxes, Arrangement::AlignHorizontalCenters), 1),
              (std::vector<float>{40, 45, 75}));
    EXPECT_EQ(Ys(Arrange(boxes, Arrangement::AlignVerticalCenters), 1),
              (std::vector<float>{22.5f, 7.5f, 22.5f}));
    // A box with a value that is not finite takes no part.
    EXPECT_TRUE(std::isnan(Arrange(boxes, Arrangement::AlignLeft)[3].posX));
    EXPECT_EQ(Arrange(boxes, Arrangement::AlignTop)[3].posY, 0.0f);
}

TEST(Arrange, DistributesWithEqualGapsRoundedWithoutDrift) {
    // Boxes of different widths, out of order: taken by their left edges,
    // the outermost two stay. Between the first one's right edge (10) and the
    // last one's left edge (160), less the widths 30 and 20 between them,
    // 100 units make three gaps of 33.33: the boxes go to 10 + 33 and
    // 10 + 30 + 67.
    const std::vector<RecordGeometry> boxes = {
        {160, 0, 40, 5}, {0, 0, 10, 5}, {80, 0, 20, 5}, {20, 0, 30, 5}};
    EXPECT_EQ(Xs(Arrange(boxes, Arrangement::DistributeHorizontally)),
              (std::vector<float>{160, 0, 107, 43}));

    // Eleven boxes 3 units high from 0 to 101: gaps of 68 / 10 = 6.8. Every
    // box within half a unit of its exact place (9.8 apart), every gap 6 or
    // 7 units.
    std::vector<RecordGeometry> many;
    for (int i = 0; i < 11; ++i) many.push_back({0, i == 10 ? 98.0f : 1.0f * i, 4, 3});
    const std::vector<RecordGeometry> spread = Arrange(many, Arrangement::DistributeVertically);
    EXPECT_EQ(Ys(spread), (std::vector<float>{0, 10, 20, 29, 39, 49, 59, 69, 78, 88, 98}));
    for (int i = 1; i < 11; ++i) {
        const double gap = spread[i].posY - (spread[i - 1].posY + 3);
        EXPECT_TRUE(gap == 6 || gap == 7) << i;
        EXPECT_LE(std::abs(spread[i].posY - 9.8 * i), 0.5) << i;
    }
    // Two boxes have nothing between them.
    EXPECT_EQ(Xs(Arrange({{0, 0, 5, 5}, {50, 0, 5, 5}}, Arrangement::DistributeHorizontally)),
              (std::vector<float>{0, 50}));
}

TEST(Arrange, SameSizeAsTheModelKeepsEveryPosition) {
    const std::vector<RecordGeometry> boxes = {{1, 2, 30, 40}, {5, 6, -7, 8}, {9, 9, 1, 1}};
    const std::vector<RecordGeometry> wide = Arrange(boxes, Arrangement::SameWidth, 1);
    EXPECT_EQ(wide[0].scaleX, -7.0f);
    EXPECT_EQ(wide[2].scaleX, -7.0f);
    EXPECT_EQ(wide[2].scaleY, 1.0f);
    EXPECT_EQ(wide[0].posX, 1.0f);
    const std::vector<RecordGeometry> high = Arrange(boxes, Arrangement::SameHeight, 0);
    EXPECT_EQ(high[1].scaleY, 40.0f);
    EXPECT_EQ(high[1].scaleX, -7.0f);
}

// Records 0 and 1 stand before the first window; 2 is a window with the
// elements 3 and 4; 5 a window with element 6.
TEST(Arrange, OneScreenAtATimeAndAWindowsElementsGoWithIt) {
    const std::vector<MenuItemRecord> records = {
        Rec("butt", 0, 0, 1, 1), Rec("butt", 0, 0, 1, 1), Rec("wint", 0, 0, 9, 9),
        Rec("butt", 0, 0, 1, 1), Rec("butt", 0, 0, 1, 1), Rec("wind", 0, 0, 9, 9),
        Rec("butt", 0, 0, 1, 1)};
    const auto check = [&records](std::initializer_list<std::size_t> rows,
                                  Arrangement arrangement = Arrangement::AlignLeft) {
        return arrange::Check(records, RunsOf(rows), arrangement);
    };
    EXPECT_EQ(check({0, 1}), std::nullopt);
    EXPECT_EQ(check({3, 4}), std::nullopt);
    EXPECT_EQ(check({3}), Refusal::TooFew);
    EXPECT_EQ(check({3, 4}, Arrangement::DistributeHorizontally), Refusal::TooFew);
    EXPECT_EQ(check({1, 3}), Refusal::MixedScreens);
    EXPECT_EQ(check({4, 6}), Refusal::MixedScreens);
    EXPECT_EQ(check({2, 5}), Refusal::MixedScreens);
    EXPECT_EQ(check({2, 3, 4}), Refusal::WindowWithElements);

    // The elements of window 2 go with it; 6 moves by itself.
    EXPECT_EQ(arrange::MovedRows(records, RunsOf({1, 2, 3, 4, 6})).ranges(),
              (std::vector<RowRange>{{1, 3}, {6, 7}}));
    std::vector<MenuItemRecord> unmovable = records;
    unmovable[6].scaleX = INFINITY;
    EXPECT_EQ(arrange::MovedRows(unmovable, RowRanges::Span(3, 7)).ranges(),
              (std::vector<RowRange>{{3, 6}}));
}
