#include "preview/element_drawing.h"

#include <gtest/gtest.h>

#include <QFontMetrics>
#include <limits>

#include "preview/preview_test_support.h"

using namespace preview_test;

namespace {

const preview::PreviewColors kColors;
const QRgb kKey = Rgb(kColors.skinColor1);
const QRgb kPen = Rgb(kColors.skinColor2);
const QRgb kWindowInside = Rgb(kColors.skinColor3);
const QRgb kText = Rgb(kColors.skinColor4);
const QRgb kInside = Rgb(kColors.skinColor5);
const QRgb kScrollInside = Rgb(kColors.skinColor6);

}  // namespace

TEST(ElementDrawing, SelectedRecordBoxMapsOntoTheClientArea) {
    // At 400 x 300 a unit is half a pixel.
    const QImage half = Draw({Rec("butt", 100, 50, 200, 30)}, 0);
    ExpectBox(half, QRect(QPoint(50, 25), QPoint(149, 39)), kPen, kInside, kKey);
    // At 800 x 600 a unit is one pixel; a scroll bar is filled with its own colour.
    const QImage full = Draw({Rec("scrl", 10, 20, 30, 40)}, 0, 800, 600);
    ExpectBox(full, QRect(QPoint(10, 20), QPoint(39, 59)), kPen, kScrollInside, kKey);
}

TEST(ElementDrawing, ElementsSitBelowTheCaptionOfCaptionedWindowsOnly) {
    Texts texts;
    texts.byId[7] = "A text far wider than its element";
    const MenuItemRecord element = Rec("butt", 10, 10, 100, 20, 0, 7);
    for (const char* windowType : {"wint", "frac", "frmt"}) {
        const QImage image = Draw({Rec(windowType, 200, 100, 0, 0), element}, 0, 400, 300, texts);
        const QRect box(QPoint(105, 76), QPoint(154, 85));
        EXPECT_EQ(At(image, box.left(), box.top()), kPen) << windowType;
        EXPECT_EQ(At(image, box.left(), box.top() + 1), kPen) << windowType;
        // The text's background cell starts one pixel inside the box and runs
        // on past its right edge; its glyphs are drawn inside it.
        EXPECT_EQ(At(image, 106, 77), kInside) << windowType;
        EXPECT_EQ(At(image, 106, 76), kPen) << windowType;
        EXPECT_EQ(At(image, box.right(), 77), kInside) << windowType;
        EXPECT_EQ(At(image, box.right() + 20, 77), kInside) << windowType;
        EXPECT_GT(CountOther(image, QRect(QPoint(106, 77), QPoint(153, 84)), kInside), 10);
    }
    for (const char* windowType : {"wind", "winc"}) {
        const QImage image = Draw({Rec(windowType, 200, 100, 0, 0), element}, 0);
        ExpectBox(image, QRect(QPoint(105, 55), QPoint(154, 64)), kPen, kInside, kKey);
    }
}

TEST(ElementDrawing, WindowTitleUsesTheWindowColoursAtTwentyPointsPerScreen) {
    EXPECT_EQ(preview::TitlePoints(300), 10);
    EXPECT_EQ(preview::ElementPoints(30, 300), 7);
    Texts texts;
    texts.byId[1] = "Menu";
    const QImage image = Draw({Rec("wint", 200, 100, 300, 200, 0, 1)}, 0, 400, 300, texts);
    QFont font("Arial");
    font.setPointSize(10);
    const QFontMetrics metrics(font, &image);
    const int cellWidth = metrics.horizontalAdvance("Menu");
    const int lastRow = 51 + metrics.height() - 1;  // below the baseline: no ink in "Menu"
    EXPECT_EQ(At(image, 100, 51), kPen);
    EXPECT_EQ(CountOther(image, QRect(101, lastRow, cellWidth, 1), kText), 0);
    EXPECT_EQ(CountOther(image, QRect(101, lastRow + 1, cellWidth, 1), kWindowInside), 0);
    EXPECT_EQ(At(image, 101 + cellWidth, 51), kWindowInside);
    EXPECT_GT(CountOther(image, QRect(101, 51, cellWidth, lastRow - 51), kText), 10);
}

TEST(ElementDrawing, ScrollBarTextSitsOnTheOrdinaryInsideColour) {
    Texts texts;
    texts.byId[3] = "Up";
    const QImage image =
        Draw({Rec("wind", 0, 0, 0, 0), Rec("scrl", 100, 100, 200, 60, 0, 3)}, 0, 800, 600, texts);
    EXPECT_EQ(At(image, 101, 101), kInside);
    EXPECT_EQ(At(image, 298, 158), kScrollInside);
}

TEST(ElementDrawing, LaterBoxesCoverEarlierTexts) {
    Texts texts;
    texts.byId[1] = "WWWWWWWWWWWWWWWWWWWW";
    const std::vector<MenuItemRecord> records = {Rec("wind", 0, 0, 0, 0),
                                                 Rec("butt", 0, 0, 40, 40, 0, 1)};
    std::vector<MenuItemRecord> covered = records;
    covered.push_back(Rec("butt", 60, 0, 100, 60));
    const QRect inside(QPoint(61, 1), QPoint(158, 58));
    EXPECT_GT(CountOther(Draw(records, 0, 800, 600, texts), inside, kInside), 50);
    EXPECT_EQ(CountOther(Draw(covered, 0, 800, 600, texts), inside, kInside), 0);
}

// A negative extent shows the box turned around; a zero extent shows no box.
TEST(ElementDrawing, NegativeBoxesAreMirroredAndEmptyBoxesDrawNothing) {
    const QImage mirrored =
        Draw({Rec("wind", 0, 0, 0, 0), Rec("butt", 300, 200, -100, -40)}, 0, 800, 600);
    ExpectBox(mirrored, QRect(QPoint(200, 160), QPoint(299, 199)), kPen, kInside, kKey);
    for (const MenuItemRecord& empty :
         {Rec("butt", 300, 200, 0, 40), Rec("butt", 300, 200, 100, 0),
          Rec("butt", 300, 200, 1, 40)}) {  // one unit maps to half a pixel: nothing
        const QImage image = Draw({Rec("wind", 0, 0, 0, 0), empty}, 0, 400, 300);
        EXPECT_EQ(CountOther(image, QRect(0, 0, 400, 300), kKey), 0);
    }
}

// Below one point a text is not drawn, background cell included.
TEST(ElementDrawing, TextsOfNoPointSizeAreLeftOut) {
    Texts texts;
    texts.byId[1] = "A long text that would run far past its box";
    const QRect pastTheBox(QPoint(12, 0), QPoint(399, 20));
    const auto drawn = [&](float scaleY, int height) {
        const QImage image = Draw({Rec("wind", 0, 0, 0, 0), Rec("butt", 0, 0, 20, scaleY, 0, 1)}, 0,
                                  400, height, texts);
        return CountOther(image, pastTheBox, kKey);
    };
    EXPECT_EQ(preview::ElementPoints(3.99f, 300), 0);
    EXPECT_EQ(drawn(3.99f, 300), 0);
    EXPECT_EQ(drawn(-30, 300), 0);
    EXPECT_GT(drawn(4, 300), 0);  // one point: a thin but real text
    EXPECT_EQ(preview::TitlePoints(29), 0);
    const QImage tiny = Draw({Rec("wint", 0, 0, 800, 600, 0, 1)}, 0, 29, 29, texts);
    EXPECT_EQ(At(tiny, 1, 1), kWindowInside);
}

TEST(ElementDrawing, NonFiniteAndHugeValuesStayDefined) {
    constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
    constexpr float kInf = std::numeric_limits<float>::infinity();
    Texts texts;
    texts.byId.emplace(1, "x");
    // NaN places a record nowhere: nothing at all is drawn for it.
    for (const MenuItemRecord& lost :
         {Rec("butt", kNaN, 0, 10, 10, 0, 1), Rec("butt", 0, 0, 10, kNaN, 0, 1),
          Rec("butt", kInf, 0, -kInf, 10, 0, 1)}) {
        EXPECT_EQ(CountOther(Draw({lost}, 0), QRect(0, 0, 400, 300), kKey), 0);
    }
    // An endless box reaches the edge of the surface with no right edge to draw.
    const QImage endless = Draw({Rec("butt", 100, 100, kInf, 1e30f, 0, 1)}, 0);
    EXPECT_EQ(At(endless, 50, 50), kPen);
    EXPECT_EQ(At(endless, 799, 599), kInside);
    EXPECT_EQ(preview::ElementPoints(1e30f, 300), preview::kMaxFontPoints);
}
