#pragma once

#include <QImage>

// The built-in pictures, each drawn from scratch with a fixed seed.
QImage DrawOfficeBackground();  // 1024 x 768
QImage DrawNightSkyline();      // 512 x 512, grayscale
QImage DrawFoldedMap();         // 512 x 512
QImage DrawTitleLettering();    // 256 x 64
QImage DrawProgressDots();      // 256 x 8
QImage DrawCopyGlyph();         // 21 x 21 on the glyph key colour
QImage DrawPasteGlyph();        // 21 x 21 on the glyph key colour
QImage DrawProgramIcon();       // 48 x 48 with alpha
QImage DrawStatusStrip();       // 1 x 5
QImage DrawInfoSeparator();     // 1 x 48

// Background of the button glyphs; the program treats it as transparent.
inline constexpr QRgb kGlyphKeyColor = 0xFFFF00FF;
