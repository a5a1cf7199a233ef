#include "assets/builtin_pictures.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

struct Builtin {
    const char* name;
    std::function<QImage()> load;
    QSize size;
};

const Builtin kBuiltins[] = {
    {"background", BuiltinBackground, {1024, 768}}, {"atcr100", BuiltinAtcr100, {512, 512}},
    {"atcr101", BuiltinAtcr101, {512, 512}},        {"atcr102", BuiltinAtcr102, {256, 64}},
    {"trbp300", BuiltinTrbp300, {256, 8}},          {"copy", BuiltinCopyGlyph, {21, 21}},
    {"paste", BuiltinPasteGlyph, {21, 21}},         {"icon", BuiltinIcon, {48, 48}},
    {"strip", BuiltinStatusStrip, {1, 5}},          {"info", BuiltinInfoSeparator, {1, 48}},
};

QRgb Rgb(const QImage& image, int x, int y) {
    return image.pixel(x, y) & 0xFFFFFF;
}

}  // namespace

TEST(BuiltinPictures, EachHasItsSize) {
    for (const Builtin& b : kBuiltins) EXPECT_EQ(b.load().size(), b.size) << b.name;
}

TEST(BuiltinPictures, StripsHaveTheirExactColours) {
    const QImage strip = BuiltinStatusStrip();
    EXPECT_EQ(Rgb(strip, 0, 0), 0xCCD9EAu);  // 204, 217, 234
    EXPECT_EQ(Rgb(strip, 0, 4), 0xF0F4FAu);  // 240, 244, 250
    for (int y = 1; y < 5; ++y) EXPECT_GT(qRed(strip.pixel(0, y)), qRed(strip.pixel(0, y - 1)));

    const QImage info = BuiltinInfoSeparator();
    for (int y = 18; y <= 29; ++y) EXPECT_EQ(Rgb(info, 0, y), 0xC5D6EEu) << y;  // 197, 214, 238
    for (int y : {0, 47}) {
        const QColor end = info.pixelColor(0, y);
        EXPECT_NEAR(end.red(), 235, 3);
        EXPECT_NEAR(end.green(), 242, 3);
        EXPECT_NEAR(end.blue(), 250, 3);
    }
    // Graded: darker towards the middle from either end, and symmetric.
    for (int y = 1; y < 18; ++y) {
        EXPECT_LT(qRed(info.pixel(0, y)), qRed(info.pixel(0, y - 1))) << y;
        EXPECT_EQ(Rgb(info, 0, y), Rgb(info, 0, 47 - y)) << y;
    }
}

TEST(BuiltinPictures, GlyphsStandOnTheKeyColour) {
    for (const QImage& glyph : {BuiltinCopyGlyph(), BuiltinPasteGlyph()}) {
        const QRgb key = Rgb(glyph, 0, glyph.height() - 1);
        EXPECT_EQ(key, 0xFF00FFu);
        int drawn = 0;
        for (int y = 0; y < glyph.height(); ++y) {
            for (int x = 0; x < glyph.width(); ++x) drawn += Rgb(glyph, x, y) != key;
        }
        EXPECT_GT(drawn, 21 * 21 / 3);
    }
}

TEST(BuiltinPictures, LookAsDescribed) {
    // The icon is cut out of a transparent ground.
    const QImage icon = BuiltinIcon();
    EXPECT_EQ(qAlpha(icon.pixel(0, 47)), 0);
    EXPECT_EQ(qAlpha(icon.pixel(24, 30)), 255);

    // The skyline is black and white, dark, with a white strip at its right.
    const QImage skyline = BuiltinAtcr100();
    double city = 0, strip = 0;
    for (int y = 0; y < 512; ++y) {
        for (int x = 0; x < 512; ++x) {
            const QRgb p = skyline.pixel(x, y);
            ASSERT_TRUE(qRed(p) == qGreen(p) && qGreen(p) == qBlue(p)) << x << "," << y;
            if (x < 430) city += qRed(p);
            if (x >= 470) strip += qRed(p);
        }
    }
    EXPECT_LT(city / (430 * 512), 60);
    EXPECT_GT(strip / (42 * 512), 225);

    // Red dots every 8 pixels on black.
    const QImage dots = BuiltinTrbp300();
    for (int i = 0; i < 32; ++i) {
        const QColor centre = dots.pixelColor(4 + 8 * i, 4);
        EXPECT_GT(centre.red(), 150) << i;
        EXPECT_LT(centre.green(), 110) << i;
        const QColor gap = dots.pixelColor(8 * i, 0);
        EXPECT_LT(gap.red() + gap.green() + gap.blue(), 90) << i;
    }
}
