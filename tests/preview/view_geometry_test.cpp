#include "preview/view_geometry.h"

#include <gtest/gtest.h>

#include <array>

#include "preview/placement.h"
#include "preview/pointer_place.h"
#include "preview/preview_mapping.h"
#include "preview/view_grid.h"
#include "support/records.h"

using preview::ViewChoice;
using preview::ViewGeometry;
using preview::Zoom;

namespace {

ViewGeometry View(std::optional<QSize> resolution, std::optional<int> zoom, QSize area,
                  QPoint scroll = {}) {
    return ViewGeometry(ViewChoice{resolution, zoom}, area, scroll);
}

}  // namespace

// The default window's preview area is 1015 x 594.
TEST(ViewGeometry, SurfaceSizesFollowTheResolutionAndTheZoom) {
    const QSize area(1015, 594);
    const ViewGeometry fit = View({}, {}, area);
    EXPECT_EQ(fit.surface(), area);
    EXPECT_EQ(fit.zoom().percent(), 100);
    EXPECT_EQ(fit.surfaceOrigin(), QPoint(0, 0));
    // 16:9 fitted: the width limits, 1080 * 1015 / 1920 = 570.94 rows, centred.
    const ViewGeometry wide = View(QSize(1920, 1080), {}, area);
    EXPECT_EQ(wide.surface(), QSize(1015, 571));
    EXPECT_EQ(wide.surfaceOrigin(), QPoint(0, 11));
    EXPECT_EQ(wide.zoom(), (Zoom{1015, 1920}));
    EXPECT_EQ(wide.zoom().percent(), 53);
    // 4:3 fitted: the height limits, 1024 * 594 / 768 = 792 columns.
    const ViewGeometry square = View(QSize(1024, 768), {}, area);
    EXPECT_EQ(square.surface(), QSize(792, 594));
    EXPECT_EQ(square.surfaceOrigin(), QPoint(111, 0));
    // Zoomed sides round to the nearest pixel, halves up.
    EXPECT_EQ(View(QSize(1366, 768), 33, area).surface(), QSize(451, 253));
    EXPECT_EQ(View(QSize(1366, 768), 67, area).surface(), QSize(915, 515));
    EXPECT_EQ(View(QSize(1366, 768), 25, area).surface(), QSize(342, 192));
    EXPECT_EQ(View(QSize(7680, 4320), 800, area).surface(), QSize(61440, 34560));
    // The window's own size zoomed, scrolled within its ranges.
    const ViewGeometry twice = View({}, 200, area, QPoint(5000, -3));
    EXPECT_EQ(twice.surface(), QSize(2030, 1188));
    EXPECT_EQ(twice.maxScroll(), QPoint(1015, 594));
    EXPECT_EQ(twice.scroll(), QPoint(1015, 0));
    const ViewGeometry scrolled = twice.Scrolled(QPoint(100, 50));
    EXPECT_EQ(scrolled.ToSurface(QPoint(10, 10)), QPoint(110, 60));
    EXPECT_EQ(scrolled.ToArea(QPoint(110, 60)), QPoint(10, 10));
    EXPECT_EQ(scrolled.visibleSurface(), QRect(100, 50, 1015, 594));
    EXPECT_EQ(square.visibleSurface(), QRect(0, 0, 792, 594));

    EXPECT_TRUE(preview::IsAllowedResolution(QSize(320, 200)));
    EXPECT_TRUE(preview::IsAllowedResolution(QSize(7680, 4320)));
    for (const QSize refused :
         {QSize(319, 600), QSize(7681, 600), QSize(800, 199), QSize(800, 4321), QSize(0, 0)})
        EXPECT_FALSE(preview::IsAllowedResolution(refused)) << refused.width();
}

TEST(ViewGeometry, ZoomStepsAndZoomingAroundThePointer) {
    // From 53 %, 100 % and 33 % up or down; none above 800 % nor below 25 %.
    const std::tuple<Zoom, int, std::optional<int>> steps[] = {
        {{1015, 1920}, 1, 67}, {{1015, 1920}, -1, 50}, {{100, 100}, 1, 150},
        {{33, 100}, -1, 25},   {{8, 1}, 1, std::nullopt}, {{1, 4}, -1, std::nullopt}};
    for (const auto& [zoom, by, step] : steps) EXPECT_EQ(preview::ZoomStep(zoom, by), step) << by;

    // Up and down the steps, the pixel under the pointer shows the virtual
    // point the middle of the one before showed; back at the start, the
    // view is as it was.
    const QSize area(800, 600);
    const QPoint pointer(613, 77);
    ViewGeometry view = View(QSize(1366, 768), 100, area, QPoint(300, 100));
    for (const int step : {150, 200, 300, 400, 600, 800, 400, 200, 100}) {
        const QPoint before = view.ToSurface(pointer);
        const double x = (before.x() + 0.5) / view.surface().width();
        const double y = (before.y() + 0.5) / view.surface().height();
        view = view.Changed(ViewChoice{QSize(1366, 768), step}, area, pointer);
        const QPoint at = view.ToSurface(pointer);
        EXPECT_EQ(at.x(), static_cast<int>(x * view.surface().width())) << step;
        EXPECT_EQ(at.y(), static_cast<int>(y * view.surface().height())) << step;
    }
    EXPECT_EQ(view.scroll(), QPoint(300, 100));
    // A resize keeps the corner's surface pixel where the surface stays.
    EXPECT_EQ(view.Changed(view.choice(), QSize(700, 500), {0, 0}).scroll(), view.scroll());
}

// A unit is the one whose position the drawing maps onto the pixel, by its
// own division by 800 / W.
TEST(ViewGeometry, UnitsAtPixelsAreThoseTheDrawingPutsThere) {
    // Column, width, unit: a pixel a unit, two pixels a unit, two units a
    // pixel (the first), no whole unit mapping to column 99 of 1015, never
    // left of the screen; at 352 pixels 25 units divide to 10.999..., drawn
    // on column 10.
    const std::array<int, 3> columns[] = {{312, 800, 312}, {624, 1600, 312}, {625, 1600, 312},
                                          {156, 400, 312}, {100, 1015, 79},  {99, 1015, 78},
                                          {0, 400, 0},     {10, 352, 23},    {11, 352, 26}};
    for (const auto& [column, width, unit] : columns)
        EXPECT_EQ(preview::UnitAtColumn(column, width), unit) << column << " of " << width;
    EXPECT_EQ(preview::MapX(25, 352), 10);
    EXPECT_EQ(preview::UnitAtRow(148, 600, 142.0), 6);
    EXPECT_EQ(preview::UnitAtRow(120, 600, 142.0), -22);  // on the caption
    EXPECT_EQ(preview::UnitAtRow(120, 600, INFINITY), std::nullopt);

    // The window at (100, 100) holds its elements from (100, 142).
    const std::vector<MenuItemRecord> records = {
        Rec("butt", 0, 0, 50, 50), Rec("wint", 100, 100, 400, 300), Rec("butt", 200, 0, 100, 30)};
    const auto at = [&](std::size_t shown, QPoint pixel, QSize surface = {800, 600}) {
        return preview::PointerPlaceAt(records, shown, pixel, surface);
    };
    const std::optional<preview::PointerPlace> onElement = at(1, {312, 148});
    ASSERT_TRUE(onElement);
    EXPECT_EQ(QPoint(onElement->x, onElement->y), QPoint(312, 148));
    EXPECT_EQ(onElement->record, 2u);
    EXPECT_EQ(QPoint(*onElement->windowX, *onElement->windowY), QPoint(212, 6));
    EXPECT_EQ(at(1, {150, 120})->windowY, -22);           // the window's own box
    EXPECT_EQ(at(1, {700, 500})->windowX, std::nullopt);  // beside the window
    EXPECT_EQ(at(0, {20, 20})->windowX, std::nullopt);    // drawn by itself
    EXPECT_EQ(at(1, {1200, 900}, {1600, 1200})->x, 600);
    EXPECT_EQ(at(1, {800, 10}), std::nullopt);
}

TEST(ViewGeometry, TheGridRunsFromTheShownRecordsOriginAndSnapsValues) {
    const std::vector<MenuItemRecord> records = {Rec("wint", 100, 100, 400, 300),
                                                 Rec("butt", 13, 7, 40, 20),
                                                 Rec("winc", 100, 100, 400, 300)};
    EXPECT_EQ(preview::GridOrigin(records, 0).y, 142.0);
    EXPECT_EQ(preview::GridOrigin(records, 2).y, 100.0);
    EXPECT_EQ(preview::GridOrigin(records, 1).x, 0.0);

    const preview::Origin origin{100, 142};
    const preview::GridLines plain =
        preview::VisibleGridLines(View({}, {}, QSize(800, 600)), origin, 50);
    EXPECT_EQ(plain.columns.size(), 16u);
    EXPECT_EQ(plain.columns.front(), 0);
    EXPECT_EQ(plain.columns.back(), 750);
    EXPECT_EQ(plain.rows.front(), 42);
    EXPECT_EQ(plain.rows.back(), 592);
    // At 400 % a 10-unit step is 40 pixels; scrolled by 1000, column 1000 is
    // the area's 0 and lies on the line 100 + 150.
    const preview::GridLines zoomed = preview::VisibleGridLines(
        View(QSize(800, 600), 400, QSize(800, 600), QPoint(1000, 0)), origin, 10);
    ASSERT_EQ(zoomed.columns.size(), 20u);
    EXPECT_EQ(zoomed.columns[1], 40);
    EXPECT_EQ(zoomed.columns.back(), 760);
    // At a quarter size 5 units are 1.25 pixels: every fourth line.
    const preview::GridLines small =
        preview::VisibleGridLines(View(QSize(800, 600), 25, QSize(800, 600)), origin, 5);
    EXPECT_EQ(small.everyX, 4);
    EXPECT_EQ(small.columns[1] - small.columns[0], 5);
    EXPECT_EQ(small.columns.front(), 300);  // the surface stands centred

    // Dragged by 10 x 4 pixels at 800 x 600: (23, 11) on a 10-unit grid.
    const preview::Drag move{GeometryOf(records[1]), origin, std::nullopt};
    const auto drag = [&](QPoint offset, int width, int grid,
                          const preview::SnapTargets* targets = nullptr) {
        return preview::DragTo(move, offset, width, width * 3 / 4, targets, grid)->geometry;
    };
    // (Without a grid, drags by whole units are placement_test.cpp's.)
    EXPECT_EQ(drag({10, 4}, 800, 10).posX, 20.0f);
    EXPECT_EQ(drag({10, 4}, 800, 10).posY, 10.0f);
    EXPECT_EQ(drag({20, 0}, 6400, 5).posX, 15.0f);  // at 800 %, 2.5 units: 16, on the grid 15
    // A neighbour's edge within reach wins over the grid: the window's left
    // edge catches the element's at 3 units from it, the grid elsewhere.
    const preview::SnapTargets targets = preview::SnapTargetsFor(records, 0, 1);
    const preview::DragPlace caught = *preview::DragTo(move, {-10, 0}, 800, 600, &targets, 5);
    EXPECT_EQ(caught.geometry.posX, 0.0f);
    EXPECT_EQ(caught.guideX, 100.0);
    const preview::DragPlace gridded = *preview::DragTo(move, {4, 0}, 800, 600, &targets, 5);
    EXPECT_EQ(gridded.geometry.posX, 15.0f);
    EXPECT_FALSE(gridded.guideX);
    // A handle puts its edge on the grid: the right edge 13 + 40 + 6 to 60.
    const preview::Drag right{GeometryOf(records[1]), origin, preview::Handle::Right};
    EXPECT_EQ(preview::DragTo(right, {6, 0}, 800, 600, nullptr, 10)->geometry.scaleX, 47.0f);

    // Keys move to the next line that way, at least the distance away.
    const RecordGeometry start = GeometryOf(records[1]);
    EXPECT_EQ(preview::Nudged(start, std::nullopt, 1, 0, 1, 10)->posX, 20.0f);
    EXPECT_EQ(preview::Nudged(start, std::nullopt, -1, 0, 1, 10)->posX, 10.0f);
    EXPECT_EQ(preview::Nudged(start, std::nullopt, 1, 0, 10, 10)->posX, 30.0f);
    EXPECT_EQ(preview::Nudged(start, std::nullopt, 0, -1, 1, 5)->posY, 5.0f);
    EXPECT_EQ(preview::Nudged({20, 0, 40, 20}, std::nullopt, 1, 0, 1, 10)->posX, 30.0f);
    const std::optional<RecordGeometry> wider =
        preview::Nudged(start, preview::Handle::BottomRight, 1, 1, 1, 10);
    EXPECT_EQ(wider->scaleX, 47.0f);
    EXPECT_EQ(wider->scaleY, 23.0f);
}
