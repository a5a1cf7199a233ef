#include "assets/builtin_pictures.h"

#include <gtest/gtest.h>

TEST(BuiltinPictures, EachDecodesInTheSizeItsPlaceNeeds) {
    const std::pair<QImage (*)(), QSize> pictures[] = {
        {BuiltinBackground, {1024, 768}}, {BuiltinAtcr100, {512, 512}},
        {BuiltinAtcr101, {512, 512}},     {BuiltinAtcr102, {256, 64}},
        {BuiltinTrbp300, {256, 8}},       {BuiltinCopyGlyph, {21, 21}},
        {BuiltinPasteGlyph, {21, 21}},    {BuiltinIcon, {48, 48}},
        {BuiltinStatusStrip, {1, 5}},     {BuiltinInfoSeparator, {1, 48}}};
    for (std::size_t i = 0; i < std::size(pictures); ++i)
        EXPECT_EQ(pictures[i].first().size(), pictures[i].second) << "picture " << i;
    // The glyphs' ground, keyed out where they are shown, is magenta.
    for (const QImage& glyph : {BuiltinCopyGlyph(), BuiltinPasteGlyph()})
        EXPECT_EQ(glyph.pixel(0, 20) & 0xFFFFFF, 0xFF00FFu);
}
