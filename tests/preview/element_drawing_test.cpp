#include "preview/element_drawing.h"

#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QPainter>
#include <limits>
#include <random>

#include "base/code_page.h"
#include "preview/preview_test_support.h"

using namespace preview_test;

namespace {

const preview::PreviewColors kColors;
const QRgb kKey = Rgb(kColors.skinColor1);
const QRgb kPen = Rgb(kColors.skinColor2);
const QRgb kWindowInside = Rgb(kColors.skinColor3);
const QRgb kText = Rgb(kColors.skinColor4);
const QRgb kInside = Rgb(kColors.skinColor5);

QFontMetrics ArialMetrics(int points, const QImage& surface) {
    QFont font("Arial");
    font.setPointSize(points);
    font.setKerning(false);
    return QFontMetrics(font, &surface);
}

}  // namespace

TEST(ElementDrawing, MappingDividesByTheQuotientAndClamps) {
    // 800 / 768 rounds up in double, so 15.625 divided by it lands just below
    // 15; a multiplication by 768 / 800 would give 15.
    EXPECT_EQ(preview::MapX(15.625, 768), 14);
    EXPECT_EQ(preview::MapY(300.0, 102), 50);  // 51 by multiplication
    EXPECT_EQ(preview::MapX(-3.0, 400), -1);   // toward zero
    EXPECT_EQ(preview::MapX(std::numeric_limits<double>::infinity(), 400), preview::kMapLimit);
    EXPECT_EQ(preview::MapY(-1e300, 300), -preview::kMapLimit);
    EXPECT_EQ(preview::MapX(std::numeric_limits<double>::quiet_NaN(), 400), 0);
}

TEST(ElementDrawing, BoxesMapOntoTheClientArea) {
    ExpectBox(Draw({Rec("butt", 100, 50, 200, 30)}, 0), QRect(QPoint(50, 25), QPoint(149, 39)),
              kPen, kInside, kKey);
    ExpectBox(Draw({Rec("scrl", 10, 20, 30, 40)}, 0, 800, 600),
              QRect(QPoint(10, 20), QPoint(39, 59)), kPen, Rgb(kColors.skinColor6), kKey);
    // A negative extent shows the box turned around; a zero extent, nothing.
    ExpectBox(Draw({Rec("butt", 300, 200, -100, -40)}, 0, 800, 600),
              QRect(QPoint(200, 160), QPoint(299, 199)), kPen, kInside, kKey);
    // Its text still starts one pixel inside the record's own corner, (301, 201).
    const QImage mirrored =
        Draw({Rec("butt", 300, 200, -100, 30, 0, 7)}, 0, 800, 600, {{7, "Mirrored"}});
    EXPECT_EQ(CountOther(mirrored, QRect(301, 201, 6, 6), kKey), 36);
    EXPECT_EQ(mirrored.pixel(300, 201), kKey);
    EXPECT_EQ(mirrored.pixel(300, 200), kKey);
    for (const MenuItemRecord& empty : {Rec("butt", 300, 200, 0, 40), Rec("butt", 30, 20, 1, 40)})
        EXPECT_EQ(CountOther(Draw({empty}, 0), QRect(0, 0, 400, 300), kKey), 0);
}

// Which windows have a caption is the type code's test; one of each here.
TEST(ElementDrawing, ElementsSitBelowTheCaptionOfCaptionedWindowsOnly) {
    const Texts texts = {{7, "A text far wider than its element"}, {8, "Up"}};
    const QImage image = Draw({Rec("wint", 200, 100, 0, 0), Rec("butt", 10, 10, 100, 20, 0, 7),
                               Rec("scrl", 10, 40, 100, 60, 0, 8)},
                              0, 400, 300, texts);
    // The text's cell starts one pixel inside the box and runs on past it.
    EXPECT_EQ(image.pixel(105, 77), kPen);
    EXPECT_EQ(image.pixel(106, 77), kInside);
    EXPECT_EQ(image.pixel(174, 77), kInside);
    EXPECT_GT(CountOther(image, QRect(QPoint(106, 77), QPoint(153, 82)), kInside), 10);
    // A scroll bar's text sits on the ordinary inside colour.
    EXPECT_EQ(image.pixel(106, 92), kInside);
    EXPECT_EQ(image.pixel(153, 119), Rgb(kColors.skinColor6));
    ExpectBox(Draw({Rec("winc", 200, 100, 0, 0), Rec("butt", 10, 10, 100, 20)}, 0),
              QRect(QPoint(105, 55), QPoint(154, 64)), kPen, kInside, kKey);
}

TEST(ElementDrawing, WindowTitleIsTwentyPointsPerScreenInTheWindowColours) {
    const QImage image = Draw({Rec("wint", 200, 100, 300, 200, 0, 1)}, 0, 400, 300, {{1, "Menu"}});
    const QFontMetrics metrics = ArialMetrics(10, image);
    const int width = metrics.horizontalAdvance("Menu");
    const int lastRow = 51 + metrics.height() - 1;  // below the baseline: no ink in "Menu"
    EXPECT_EQ(CountOther(image, QRect(101, lastRow, width, 1), kText), 0);
    EXPECT_EQ(CountOther(image, QRect(101, lastRow + 1, width, 1), kWindowInside), 0);
    EXPECT_EQ(CountOther(image, QRect(101 + width, 51, 1, lastRow - 51), kWindowInside), 0);
    EXPECT_GT(CountOther(image, QRect(101, 51, width, lastRow - 51), kText), 10);
}

// Texts are measured from their characters; the cell must still end where
// the font engine's own layout of the whole text ends.
TEST(ElementDrawing, TextCellIsTheAdvanceOfTheWholeText) {
    std::vector<std::string> texts = {"Tab\there  ", "soft\xAD  ", "line\nbreak  "};
    for (int c = 0x20; c < 0x100; ++c) {
        if (c % 56 == 0x20 % 56) texts.emplace_back("  ");
        texts.back().insert(texts.back().size() - 2, 1, static_cast<char>(c));
    }
    for (const std::string& text : texts) {
        for (int points : {5, 8, 13}) {
            const float scaleY = static_cast<float>(points * 2 + 1);
            const QImage image =
                Draw({Rec("butt", 0, 0, 2, scaleY, 0, 1)}, 0, 800, 600, {{1, text}});
            const QFontMetrics metrics = ArialMetrics(points, image);
            const int end = 1 + metrics.horizontalAdvance(FromCodePage(text));
            const QRect lastColumn(end - 1, 1, 1, metrics.height());
            EXPECT_EQ(CountOther(image, lastColumn, kInside), 0) << points << text;
            EXPECT_EQ(CountOther(image, lastColumn.translated(1, 0), kKey), 0) << points << text;
        }
    }
}

// The window's own texts are smoothed Arial too (its sans is Arial's):
// drawing them never changes a large preview text, which Qt draws as
// outlines, so the editor shows what kaveldef render draws.
TEST(ElementDrawing, LargeTextsComeOutTheSameWhateverWasDrawnBefore) {
    const std::vector<MenuItemRecord> records = {Rec("wint", 10, 10, 700, 500, 0, 1),
                                                 Rec("butt", 10, 50, 600, 150, 0, 2)};
    const Texts texts = {{1, "Main Menu"}, {2, "Load Game"}};
    // A title of 80 points, 107 pixels, and an element's text of 200 points.
    const auto draw = [&] { return Draw(records, 0, 3200, 2400, texts); };
    const QImage before = draw();
    for (const int pixels : {11, 17, 23, 41, 63}) {
        QImage window(300, 80, QImage::Format_RGB32);
        QPainter painter(&window);
        QFont font(QStringLiteral("Arial"));
        font.setPixelSize(pixels);
        painter.setFont(font);
        painter.drawText(QPoint(2, 70), QStringLiteral("Load Game x 40, y 70"));
        EXPECT_TRUE(draw() == before) << pixels;
    }
}

TEST(ElementDrawing, LaterDrawingCoversEarlierTextsAndSkippingItChangesNoPixel) {
    const Texts texts = {{1, "WWWWWWWWWWWWWWWWWWWW"}};
    std::vector<MenuItemRecord> records = {Rec("wind", 0, 0, 0, 0), Rec("butt", 0, 0, 40, 40, 0, 1),
                                           Rec("butt", 60, 0, 100, 60)};
    const QImage covered = Draw(records, 0, 800, 600, texts);
    EXPECT_EQ(CountOther(covered, QRect(QPoint(61, 1), QPoint(158, 58)), kInside), 0);
    EXPECT_GT(CountOther(covered, QRect(200, 1, 100, 20), kInside), 20);  // past the box

    // A text whose cell is covered still shows the ink reaching out of it.
    const QFontMetrics metrics = ArialMetrics(100, covered);
    const QImage jWithCellCovered =
        Draw({Rec("wind", 0, 0, 0, 0), Rec("butt", 100, 100, 200, 200, 0, 2),
              Rec("butt", 101, 101, metrics.horizontalAdvance('j'), metrics.height())},
             0, 800, 600, {{2, "j"}});
    EXPECT_GT(CountOther(jWithCellCovered, QRect(90, 101, 10, 200), kKey), 0);

    // A crowded screen of texts that overhang their cells, painted at once
    // (with whatever lies under later drawing left out) and piece by piece.
    Texts glyphs = {{1, "Wj\xC5\x89\xC7_|f"}, {2, "j j Tab\tW"}, {3, "\xC5Q"}};
    std::mt19937 random(7);
    std::uniform_real_distribution<float> pos(-50, 780), size(1, 300);
    records = {Rec("wint", 10, 5, 700, 500, 0, 1)};
    for (int i = 0; i < 400; ++i)
        records.push_back(Rec(i % 7 ? "butt" : "scrl", pos(random), pos(random) * 0.7f,
                              size(random), size(random) * 0.5f, 0, 1 + i % 3));
    const auto pieceByPiece = [&] {
        QImage image = Draw({}, -1, 700, 500);
        preview::ElementPainter painter(image, kColors, 700, 500, Lookup(glyphs));
        painter.DrawSelectedItem(records[0]);
        painter.Finish();
        for (std::size_t i = 1; i < records.size(); ++i) {
            painter.DrawElement(records[0], records[i]);
            painter.Finish();
        }
        return image;
    };
    // The first drawing of a glyph may differ in its edges from later ones,
    // so the comparison starts once every glyph has been drawn.
    pieceByPiece();
    EXPECT_TRUE(Draw(records, 0, 700, 500, glyphs) == pieceByPiece());
}

// Below one point a text is not drawn, background cell included.
TEST(ElementDrawing, TextsOfNoPointSizeAreLeftOut) {
    const Texts texts = {{1, "A long text that runs past its box"}};
    const auto textShown = [&](float scaleY, int height) {
        const QImage image = Draw({Rec("butt", 0, 0, 20, scaleY, 0, 1)}, 0, 400, height, texts);
        return CountOther(image, QRect(QPoint(12, 0), QPoint(399, 20)), kKey) > 0;
    };
    EXPECT_FALSE(textShown(3.99f, 300));
    EXPECT_FALSE(textShown(-30, 300));
    EXPECT_TRUE(textShown(4, 300));  // one point: thin but there
    const QImage tiny = Draw({Rec("wint", 0, 0, 800, 600, 0, 1)}, 0, 29, 29, texts);
    EXPECT_EQ(tiny.pixel(1, 1), kWindowInside);  // 29 * 20 / 600 points
}

TEST(ElementDrawing, NonFiniteAndHugeValuesStayDefined) {
    constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
    constexpr float kInf = std::numeric_limits<float>::infinity();
    const Texts texts = {{1, "x"}};
    // NaN places a record nowhere: nothing at all is drawn for it.
    for (const MenuItemRecord& lost :
         {Rec("butt", kNaN, 0, 10, 10, 0, 1), Rec("butt", kInf, 0, -kInf, 10, 0, 1)}) {
        EXPECT_EQ(CountOther(Draw({lost}, 0, 400, 300, texts), QRect(0, 0, 400, 300), kKey), 0);
    }
    // An endless box reaches past the edge of the surface, where it has no edge to draw.
    const QImage endless = Draw({Rec("butt", 100, 100, kInf, 1e30f, 0, 1)}, 0, 400, 300, texts);
    EXPECT_EQ(endless.pixel(50, 50), kPen);
    EXPECT_EQ(endless.pixel(799, 598), kInside);
    EXPECT_EQ(preview::ElementPoints(1e30f, 300), preview::kMaxFontPoints);
}
