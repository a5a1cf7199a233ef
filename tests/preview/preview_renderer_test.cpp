#include "preview/preview_renderer.h"

#include <gtest/gtest.h>

#include "preview/preview_test_support.h"

using namespace preview_test;
using preview::Overlay;

namespace {

const preview::PreviewColors kColors;
const QRgb kKey = Rgb(kColors.skinColor1);

// Which overlays are visible, as a bit per overlay in stacking order.
int Visible(const preview::OverlayPlacements& placements) {
    int bits = 0;
    for (std::size_t i = 0; i < placements.size(); ++i) bits |= placements[i].visible << i;
    return bits;
}

}  // namespace

TEST(PreviewRenderer, FillsOnlyTheClientAreaAndMarksTheKeyColour) {
    const QRgb before = Rgb(0x00FF00);
    QImage surface = preview::PreparePreviewSurface(QSize(800, 600), {0x00FF00}, 192);
    EXPECT_EQ(surface.logicalDpiY(), 192);
    EXPECT_EQ(Visible(preview::DrawPreview(surface, {}, -1, {}, kColors, 400, 300)), 0);
    EXPECT_EQ(CountOther(surface, QRect(0, 0, 400, 300), kKey), 0);
    EXPECT_EQ(CountOther(surface, QRect(400, 0, 400, 599), before), 0);
    EXPECT_EQ(CountOther(surface, QRect(1, 300, 399, 300), before), 0);
    EXPECT_EQ(surface.pixel(0, 599), kKey);
}

TEST(PreviewRenderer, ScreenRunsFromTheWindowToTheNextWindow) {
    const std::vector<MenuItemRecord> records = {
        Rec("butt", 0, 0, 50, 50),   Rec("wind", 0, 0, 0, 0),     Rec("butt", 100, 0, 50, 50),
        Rec("stop", 200, 0, 50, 50), Rec("butt", 300, 0, 50, 50), Rec("wint", 0, 0, 0, 0),
        Rec("wind", 0, 0, 0, 0),     Rec("butt", 400, 0, 50, 50)};
    const QImage screen = Draw(records, 1, 800, 600);
    EXPECT_EQ(CountOther(screen, QRect(0, 0, 100, 600), kKey), 0);  // before the window
    for (int x : {110, 210, 310}) EXPECT_EQ(screen.pixel(x, 10), Rgb(kColors.skinColor5)) << x;
    EXPECT_EQ(CountOther(screen, QRect(350, 0, 450, 600), kKey), 0);  // after the next window
    // A window followed directly by a window, and a plain element, stand alone.
    EXPECT_EQ(CountOther(Draw(records, 5, 800, 600), QRect(0, 0, 800, 600), kKey), 0);
    EXPECT_EQ(CountOther(Draw(records, 2, 800, 600), QRect(200, 0, 600, 600), kKey), 0);
}

// An overlay of two pixels or less has no room and is hidden, also when an
// earlier record placed it well.
TEST(PreviewRenderer, OverlaysGoOnTheLastRecordCallingForThem) {
    const auto place = [](const std::vector<MenuItemRecord>& records, int width = 400) {
        preview::OverlayPlacements placed;
        Draw(records, 0, width, width * 3 / 4, {}, {}, &placed);
        return placed;
    };
    preview::OverlayPlacements placed = place({Rec("rcta", 100, 50, 200, 150, 101)});
    EXPECT_EQ(Visible(placed), 0b0001);
    EXPECT_EQ(At(placed, Overlay::Atcr101).bounds, QRect(51, 26, 98, 73));
    // None of these calls for one, and no screen follows them.
    for (const MenuItemRecord& none :
         {Rec("rcta", 0, 0, 80, 60, 103), Rec("pbrt", 0, 0, 80, 60, 101),
          Rec("trbp", 0, 0, 80, 60, 300)})
        EXPECT_EQ(Visible(place({none, Rec("rcta", 0, 0, 80, 60, 101)})), 0);
    placed = place({Rec("wint", 100, 50, 0, 0), Rec("rcta", 0, 0, 100, 100, 100),
                    Rec("rcta", 20, 10, 200, 60, 100)});
    // (100 + 20, 50 + 42 + 10) -> (60, 51); 200 x 60 units -> 100 x 30 pixels.
    EXPECT_EQ(Visible(placed), 0b0010);
    EXPECT_EQ(At(placed, Overlay::Atcr100).bounds, QRect(61, 52, 98, 28));
    placed = place(
        {Rec("wind", 0, 0, 0, 0), Rec("rcta", 0, 0, 10, 10, 101), Rec("rcta", 0, 0, 20, 20, 100),
         Rec("rcta", 0, 0, 30, 30, 102), Rec("pbrt", 0, 0, 40, 40, 300)},
        800);
    EXPECT_EQ(Visible(placed), 0b1111);
    EXPECT_EQ(At(placed, Overlay::Trbp300).bounds, QRect(1, 1, 38, 38));
    for (const MenuItemRecord& cramped :
         {Rec("rcta", 0, 0, 4, 100, 101), Rec("rcta", 0, 0, 100, 5, 101),
          Rec("rcta", 50, 50, -40, 100, 101)})
        EXPECT_EQ(
            Visible(place({Rec("wind", 0, 0, 0, 0), Rec("rcta", 0, 0, 100, 100, 101), cramped})),
            0);
    EXPECT_EQ(Visible(place({Rec("rcta", 0, 0, 6, 6, 101)})), 0b0001);
}

// A text is drawn with the same pixels whatever the process drew before it.
TEST(PreviewRenderer, TextPixelsDoNotDependOnEarlierDrawing) {
    const Texts texts = {{1, "Town map"}, {2, "Brenmoor"}, {3, "Loading"}};
    const std::vector<MenuItemRecord> records = {Rec("winc", 0, 0, 800, 600, 0, 3),
                                                 Rec("stxt", 10, 10, 300, 284, 0, 1),
                                                 Rec("stxt", 10, 300, 300, 68, 0, 2)};
    const QImage first = Draw(records, 0, 517, 389, texts);
    for (int size : {300, 450, 600}) Draw(records, 0, size * 4 / 3, size, texts);
    Draw(records, 1, 517, 389, texts);
    EXPECT_EQ(Draw(records, 0, 517, 389, texts), first);
}
