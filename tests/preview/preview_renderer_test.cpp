#include "preview/preview_renderer.h"

#include <gtest/gtest.h>

#include "preview/preview_test_support.h"

using namespace preview_test;
using preview::Overlay;

namespace {

const preview::PreviewColors kColors;
const QRgb kKey = Rgb(kColors.skinColor1);
const QRgb kPen = Rgb(kColors.skinColor2);
const QRgb kInside = Rgb(kColors.skinColor5);

void ExpectOnly(const preview::OverlayPlacements& placements, Overlay shown, const QRect& bounds) {
    for (int i = 0; i < preview::kOverlayCount; ++i) {
        const bool expected = static_cast<Overlay>(i) == shown;
        EXPECT_EQ(placements[static_cast<std::size_t>(i)].visible, expected) << i;
    }
    EXPECT_EQ(At(placements, shown).bounds, bounds);
}

}  // namespace

TEST(PreviewRenderer, FillsOnlyTheClientAreaAndMarksTheKeyColour) {
    preview::PreviewColors before;
    before.skinColor1 = 0x00FF00;
    QImage surface = preview::PreparePreviewSurface(QSize(800, 600), before, 192);
    EXPECT_EQ(surface.logicalDpiY(), 192);
    const preview::OverlayPlacements placements =
        preview::DrawPreview(surface, {}, -1, {}, kColors, 400, 300);
    EXPECT_EQ(At(surface, 399, 299), kKey);
    EXPECT_EQ(At(surface, 400, 0), Rgb(before.skinColor1));
    EXPECT_EQ(At(surface, 0, 300), Rgb(before.skinColor1));
    EXPECT_EQ(At(surface, 0, 599), kKey);
    EXPECT_EQ(At(surface, 1, 599), Rgb(before.skinColor1));
    for (const preview::OverlayPlacement& placement : placements) EXPECT_FALSE(placement.visible);
}

TEST(PreviewRenderer, ScreenRunsFromTheWindowToTheNextWindow) {
    const std::vector<MenuItemRecord> records = {
        Rec("butt", 0, 0, 50, 50),   Rec("wind", 0, 0, 0, 0),     Rec("butt", 100, 0, 50, 50),
        Rec("stop", 200, 0, 50, 50), Rec("butt", 300, 0, 50, 50), Rec("wint", 0, 0, 0, 0),
        Rec("butt", 400, 0, 50, 50)};
    const QImage screen = Draw(records, 1, 800, 600);
    EXPECT_EQ(At(screen, 10, 10), kKey);  // before the window
    for (int x : {110, 210, 310}) EXPECT_EQ(At(screen, x, 10), kInside) << x;
    EXPECT_EQ(At(screen, 410, 10), kKey);  // after the next window
    // An element, and a window followed directly by a window, stand alone.
    EXPECT_EQ(CountOther(Draw(records, 2, 800, 600), QRect(200, 0, 600, 600), kKey), 0);
    const QImage alone =
        Draw({Rec("wint", 0, 0, 0, 0), Rec("wind", 0, 0, 0, 0), Rec("butt", 0, 0, 50, 50)}, 0);
    EXPECT_EQ(CountOther(alone, QRect(0, 0, 400, 300), kKey), 0);
}

TEST(PreviewRenderer, SelectedRecordCarriesItsOverlay) {
    preview::OverlayPlacements placements;
    const QImage image =
        Draw({Rec("rcta", 100, 50, 200, 150, 101)}, 0, 400, 300, {}, {}, &placements);
    ExpectBox(image, QRect(QPoint(50, 25), QPoint(149, 99)), kPen, kInside, kKey);
    ExpectOnly(placements, Overlay::Atcr101, QRect(51, 26, 98, 73));
    Draw({Rec("pbrt", 0, 0, 800, 600, 300)}, 0, 800, 600, {}, {}, &placements);
    ExpectOnly(placements, Overlay::Trbp300, QRect(1, 1, 798, 598));
    for (const MenuItemRecord& none :
         {Rec("rcta", 0, 0, 80, 60, 103), Rec("pbrt", 0, 0, 80, 60, 100),
          Rec("trbp", 0, 0, 80, 60, 300)}) {
        Draw({none}, 0, 400, 300, {}, {}, &placements);
        for (const preview::OverlayPlacement& placement : placements)
            EXPECT_FALSE(placement.visible);
    }
}

TEST(PreviewRenderer, ScreenOverlaysFollowTheLastRecordCallingForThem) {
    preview::OverlayPlacements placements;
    Draw({Rec("wint", 100, 50, 0, 0), Rec("rcta", 0, 0, 100, 100, 100),
          Rec("rcta", 20, 10, 200, 60, 100)},
         0, 400, 300, {}, {}, &placements);
    // (100 + 20, 50 + 42 + 10) -> (60, 51); 200 x 60 units -> 100 x 30 pixels.
    ExpectOnly(placements, Overlay::Atcr100, QRect(61, 52, 98, 28));

    Draw({Rec("wind", 0, 0, 0, 0), Rec("rcta", 0, 0, 10, 10, 101), Rec("rcta", 0, 0, 20, 20, 100),
          Rec("rcta", 0, 0, 30, 30, 102), Rec("pbrt", 0, 0, 40, 40, 300)},
         0, 800, 600, {}, {}, &placements);
    for (int i = 0; i < preview::kOverlayCount; ++i) {
        const int side = 10 * (i + 1) - 2;
        EXPECT_TRUE(placements[static_cast<std::size_t>(i)].visible) << i;
        EXPECT_EQ(placements[static_cast<std::size_t>(i)].bounds, QRect(1, 1, side, side)) << i;
    }
}

// Two pixels or less leave nothing to show, and the overlay is hidden; a
// later record calling for it still wins over an earlier one.
TEST(PreviewRenderer, OverlaysWithNoRoomAreHidden) {
    preview::OverlayPlacements placements;
    for (const MenuItemRecord& cramped :
         {Rec("rcta", 0, 0, 4, 100, 101), Rec("rcta", 0, 0, 100, 5, 101),
          Rec("rcta", 50, 50, -40, 100, 101)}) {
        Draw({cramped}, 0, 400, 300, {}, {}, &placements);
        EXPECT_FALSE(At(placements, Overlay::Atcr101).visible);
    }
    Draw({Rec("wind", 0, 0, 0, 0), Rec("rcta", 0, 0, 100, 100, 101), Rec("rcta", 0, 0, 2, 2, 101)},
         0, 800, 600, {}, {}, &placements);
    EXPECT_FALSE(At(placements, Overlay::Atcr101).visible);
    Draw({Rec("rcta", 0, 0, 6, 6, 101)}, 0, 400, 300, {}, {}, &placements);
    EXPECT_EQ(At(placements, Overlay::Atcr101).bounds, QRect(1, 1, 1, 1));
    EXPECT_TRUE(At(placements, Overlay::Atcr101).visible);
}
