#include "preview/placement.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>

#include "preview/hit_test.h"
#include "preview/preview_test_support.h"

using namespace preview_test;
using preview::Handle;

namespace {

void ExpectGeometry(const std::optional<RecordGeometry>& got, const RecordGeometry& want) {
    ASSERT_TRUE(got.has_value());
    EXPECT_TRUE(SameBits(*got, want))
        << got->posX << " " << got->posY << " " << got->scaleX << " " << got->scaleY;
}

}  // namespace

// At 800 x 600 a unit is a pixel. The elements of a captioned window start
// 42 units below its position.
TEST(PreviewHitTest, TheTopmostDrawnBoxUnderThePixelWins) {
    std::vector<MenuItemRecord> records = {
        Rec("wint", 100, 50, 400, 300),   // 0: covers 100..499 x 50..349
        Rec("butt", 10, 10, 100, 50),     // 1: 110..209 x 102..151
        Rec("butt", 60, 30, 100, 50),     // 2: 160..259 x 122..171, over 1
        Rec("butt", 200, 200, -50, -40),  // 3: mirrored, 250..299 x 252..291
        Rec("butt", 300, 10, 0, 50),      // 4: no width, holds no point
        Rec("wind", 0, 0, 800, 600)};     // the next screen
    const auto at = [&records](int x, int y, std::size_t selected = 0, int width = 800) {
        return preview::RecordAt(records, selected, {x, y}, width, width * 3 / 4);
    };
    // (300, 110) is on element 4, which has no width; the next window is not drawn.
    const std::pair<QPoint, std::optional<std::size_t>> hits[] = {
        {{170, 130}, 2}, {{110, 102}, 1}, {{210, 110}, 0}, {{250, 252}, 3},
        {{300, 291}, 0}, {{300, 110}, 0}, {{99, 120}, std::nullopt}, {{700, 500}, std::nullopt}};
    for (const auto& [pixel, hit] : hits) EXPECT_EQ(at(pixel.x(), pixel.y()), hit) << pixel.x();
    // Half the size: element 1 covers 55..104 x 51..75.
    EXPECT_EQ(at(55, 51, 0, 400), 1u);
    // An element shown by itself stands at its own position, alone.
    EXPECT_EQ(at(20, 20, 1), 1u);
    EXPECT_EQ(at(170, 130, 1), std::nullopt);
    // Without a caption the elements start at the window's position.
    type_code::SetFromShown(records[0], "winc");
    EXPECT_EQ(at(115, 65), 1u);
}

// A loading picture covers its record's box but for two columns and rows,
// above every box drawn after it.
TEST(PreviewHitTest, ALoadingPictureStandsForItsRecord) {
    const std::vector<MenuItemRecord> records = {
        Rec("winc", 0, 0, 800, 600), Rec("rcta", 0, 0, 100, 100, 101),
        Rec("butt", 50, 50, 100, 100), Rec("rcta", 300, 0, 100, 100, 103)};
    const auto at = [&records](int x, int y) {
        return preview::RecordAt(records, 0, {x, y}, 800, 600);
    };
    EXPECT_EQ(at(60, 60), 1u);
    EXPECT_EQ(at(97, 97), 1u);
    EXPECT_EQ(at(98, 60), 2u);
    EXPECT_EQ(at(350, 50), 3u);  // id 103 calls for no picture
}

TEST(PreviewPlacement, DragsAddWholeUnitsToTheValuesOfTheStart) {
    // 50 x 30 pixels of a 517 x 389 preview: 77.37 and 46.27 units.
    const preview::Drag move{{10.3f, 20.0f, 100.0f, 30.0f}, {}, std::nullopt};
    ExpectGeometry(preview::DragTo(move, {50, 30}, 517, 389, nullptr)->geometry,
                   {10.3f + 77.0f, 66.0f, 100.0f, 30.0f});
    ExpectGeometry(preview::DragTo(move, {-50, 0}, 517, 389, nullptr)->geometry,
                   {10.3f - 77.0f, 20.0f, 100.0f, 30.0f});
    // Halves round away from zero.
    EXPECT_EQ(preview::UnitsX(1, 1600), 1.0);
    EXPECT_EQ(preview::UnitsX(-1, 1600), -1.0);
    EXPECT_EQ(preview::UnitsY(1, 1201), 0.0);
    // A move that cannot land on a finite float is no move.
    EXPECT_FALSE(preview::Placed({FLT_MAX, 0, 1, 1}, std::nullopt, 1e38, 0));
    EXPECT_FALSE(preview::Placed({NAN, 0, 1, 1}, std::nullopt, 0, 0));
    EXPECT_FALSE(
        preview::DragTo({{0, 0, INFINITY, 1}, {}, Handle::Right}, {5, 5}, 800, 600, nullptr));
    ExpectGeometry(preview::Placed({-0.0f, 1e30f, 1, 1}, std::nullopt, 0, 20),
                   {-0.0f, 1e30f, 1, 1});
}

// The box 100..140 x 50..80, and its mirror 60..100.
TEST(PreviewPlacement, HandlesMoveTheirEdgesAndKeepTheOppositeOnes) {
    const RecordGeometry box{100, 50, 40, 30};
    const auto resized = [](const RecordGeometry& start, Handle handle, double dx, double dy) {
        return preview::Placed(start, handle, dx, dy);
    };
    ExpectGeometry(resized(box, Handle::Left, 10, 99), {110, 50, 30, 30});
    ExpectGeometry(resized(box, Handle::TopRight, 5, -5), {100, 45, 45, 35});
    ExpectGeometry(resized(box, Handle::BottomLeft, -5, 5), {95, 50, 45, 35});
    // Never below one unit, the opposite edge still.
    ExpectGeometry(resized(box, Handle::Left, 100, 0), {139, 50, 1, 30});
    ExpectGeometry(resized(box, Handle::Bottom, 0, -100), {100, 50, 40, 1});
    ExpectGeometry(resized(box, Handle::Top, 0, 29), {100, 79, 40, 1});
    // A size smaller than that grows, but shrinks no further.
    ExpectGeometry(resized({0, 0, 0.5f, 0}, Handle::BottomRight, -3, -3), {0, 0, 0.5f, 0});
    ExpectGeometry(resized({0, 0, 0.5f, 0}, Handle::BottomRight, 2, 2), {0, 0, 2.5f, 2});
    // A mirrored box keeps its turn; its left side is its far edge.
    const RecordGeometry mirrored{100, 50, -40, 30};
    ExpectGeometry(resized(mirrored, Handle::Left, -10, 0), {100, 50, -50, 30});
    ExpectGeometry(resized(mirrored, Handle::Right, 10, 0), {110, 50, -50, 30});
    ExpectGeometry(resized(mirrored, Handle::Right, -100, 0), {61, 50, -1, 30});
}

TEST(PreviewPlacement, HandlesAreFoundOnTheBoxAsShown) {
    const QRect box(100, 50, 41, 31);  // columns 100..140, rows 50..80
    const std::pair<QPoint, std::optional<Handle>> handles[] = {
        {{100, 50}, Handle::TopLeft}, {{144, 84}, Handle::BottomRight}, {{120, 80}, Handle::Bottom},
        {{96, 65}, Handle::Left},     {{95, 65}, std::nullopt},         {{120, 65}, std::nullopt}};
    for (const auto& [pixel, handle] : handles)
        EXPECT_EQ(preview::HandleAt(box, pixel), handle) << pixel.x() << "," << pixel.y();
    // On a box too small to tell them apart, the one that makes it larger.
    EXPECT_EQ(preview::HandleAt(QRect(10, 10, 0, 0), {10, 10}), Handle::BottomRight);
    EXPECT_EQ(preview::HandleAt(QRect(10, 10, 5, 5), {9, 12}), Handle::Left);
}

// A window at (100, 100) without a caption; element 1 spans 110..210 and
// element 2, dragged, starts at 130.
TEST(PreviewPlacement, DraggedEdgesSnapToTheScreensBoxesWithinFourPixels) {
    const std::vector<MenuItemRecord> records = {Rec("wind", 100, 100, 400, 300),
                                                 Rec("butt", 10, 10, 100, 20),
                                                 Rec("butt", 30, 100, 80, 20)};
    const preview::SnapTargets targets = preview::SnapTargetsFor(records, 0, 2);
    const preview::Drag drag{GeometryOf(records[2]), {100, 100}, std::nullopt};
    const auto dragX = [&](int dx, int width = 800, bool snap = true) {
        return *preview::DragTo(drag, {dx, 0}, width, width * 3 / 4, snap ? &targets : nullptr);
    };
    EXPECT_EQ(dragX(-16).geometry.posX, 10.0f);  // left 114 onto element 1's left
    EXPECT_EQ(dragX(-16).guideX, 110.0);
    EXPECT_EQ(dragX(-25).geometry.posX, 5.0f);  // 5 pixels off: free
    EXPECT_FALSE(dragX(-25).guideX);
    EXPECT_EQ(dragX(-16, 800, false).geometry.posX, 14.0f);
    // Centres: 170 of the dragged box onto 160 of element 1.
    EXPECT_EQ(dragX(-7).geometry.posX, 20.0f);
    EXPECT_EQ(dragX(-7).guideX, 160.0);
    // The reach is in pixels: the bottom edge 6 units above the window's
    // centre (250) is 6 pixels off at full size, 3 at half size.
    EXPECT_EQ(preview::DragTo(drag, {0, 24}, 800, 600, &targets)->geometry.posY, 124.0f);
    const auto half = preview::DragTo(drag, {0, 12}, 400, 300, &targets);
    EXPECT_EQ(half->geometry.posY, 130.0f);
    EXPECT_EQ(half->guideY, 250.0);
    // The window's right edge, 500, catches a resized right edge at 497.
    const preview::Drag resize{GeometryOf(records[2]), {100, 100}, Handle::Right};
    EXPECT_EQ(preview::DragTo(resize, {287, 0}, 800, 600, &targets)->geometry.scaleX, 370.0f);
    // A window takes its elements along: only the screen's edges and centre
    // remain to snap to.
    const preview::SnapTargets alone = preview::SnapTargetsFor(records, 0, 0);
    const preview::Drag window{GeometryOf(records[0]), {}, std::nullopt};
    EXPECT_EQ(preview::DragTo(window, {12, 0}, 800, 600, &alone)->geometry.posX, 112.0f);
    EXPECT_EQ(preview::DragTo(window, {97, 0}, 800, 600, &alone)->geometry.posX, 100.0f + 100);
}

// A group of elements 1 and 2 (bounding box 110..210 x 110..220) snaps as
// one box: its edges and centre to element 3 and to the screen.
TEST(PreviewPlacement, AGroupSnapsByItsBoundingBoxAndMovesByTheSameUnits) {
    const std::vector<MenuItemRecord> records = {
        Rec("wind", 100, 100, 400, 300), Rec("butt", 10, 10, 100, 20),
        Rec("butt", 30, 100, 80, 20), Rec("butt", 200, 250, 50, 20)};
    const RowRanges group = RowRanges::Span(1, 3);
    const std::optional<preview::GroupDrag> box = preview::GroupOf(records, 0, group);
    ASSERT_TRUE(box);
    EXPECT_EQ(box->left, 110.0);
    EXPECT_EQ(box->bottom, 220.0);
    const preview::SnapTargets targets = preview::SnapTargetsFor(records, 0, group);
    const auto drag = [&](QPoint by, bool snap = true) {
        return *preview::GroupDragTo(*box, by, 800, 600, snap ? &targets : nullptr);
    };
    // Right edge 210 + 88 = 298, two units from element 3's left (300).
    EXPECT_EQ(drag({88, 0}).dx, 90.0);
    EXPECT_EQ(drag({88, 0}).guideX, 300.0);
    EXPECT_EQ(drag({88, 0}, false).dx, 88.0);
    EXPECT_FALSE(drag({88, 0}, false).guideX);
    // Bottom 220 onto element 3's top, 350; the centre onto the window's
    // centre (250) first when nearer.
    EXPECT_EQ(drag({0, 128}).dy, 130.0);
    EXPECT_EQ(drag({0, 84}).dy, 85.0);
    EXPECT_EQ(drag({0, 84}).guideY, 250.0);
    // Units are whole: 3 pixels of a 517-pixel preview are 5 units.
    EXPECT_EQ(preview::GroupDragTo(*box, {3, 0}, 517, 389, nullptr)->dx, 5.0);
    EXPECT_FALSE(preview::GroupOf(records, 0, RowRanges::Single(5)));

    // On a grid of 20 the anchor (element 2, stored at 30, 100) lands on
    // its lines and the group keeps its shape; a neighbour's edge within
    // reach still wins, and Alt (no targets, no step) moves by the pixels.
    preview::GroupDrag anchored = *box;
    anchored.anchorX = 30;
    anchored.anchorY = 100;
    const auto onGrid = [&](QPoint by) {
        return *preview::GroupDragTo(anchored, by, 800, 600, &targets, 20);
    };
    EXPECT_EQ(onGrid({17, 0}).dx, 10.0);  // 47 -> 40
    EXPECT_EQ(onGrid({-29, 13}).dx, -30.0);
    EXPECT_EQ(onGrid({-29, 13}).dy, 20.0);  // 113 -> 120
    EXPECT_EQ(onGrid({88, 0}).dx, 90.0);
    EXPECT_EQ(onGrid({88, 0}).guideX, 300.0);
    // At 800 % a unit is 8 pixels: 11 pixels are 1 unit, 31 -> 40 as well.
    EXPECT_EQ(preview::GroupDragTo(anchored, {11, 0}, 6400, 4800, nullptr, 20)->dx, 10.0);
    EXPECT_EQ(preview::GroupDragTo(anchored, {11, 0}, 6400, 4800, nullptr)->dx, 1.0);
}

