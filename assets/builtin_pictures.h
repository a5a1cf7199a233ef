#pragma once

#include <QImage>

// The pictures built into the program, used until a skin replaces them. They
// are compiled into kavelcore as Qt resources under ":/pictures/" and are
// registered automatically in every executable that links kavelcore.
// Each call decodes its picture anew.

// 1024 x 768: the menu background, also the start picture of the idle window.
QImage BuiltinBackground();
// 512 x 512 overlays of the loading screen: a night skyline with a torn strip
// down its right edge (rcta 100) and a folded town map (rcta 101).
QImage BuiltinAtcr100();
QImage BuiltinAtcr101();
// 256 x 64: the game's title lettering (rcta 102).
QImage BuiltinAtcr102();
// 256 x 8: the progress bar's strip of red dots (pbrt 300).
QImage BuiltinTrbp300();
// 21 x 21 button glyphs. The colour of the bottom-left pixel (magenta,
// RGB 255, 0, 255) is the glyph's background and meant to be transparent.
QImage BuiltinCopyGlyph();
QImage BuiltinPasteGlyph();
// 48 x 48 program icon, with an alpha channel.
QImage BuiltinIcon();
// 1 x 5 strip along the top of the status bar.
QImage BuiltinStatusStrip();
// 1 x 48 separator at the left of the credits panel.
QImage BuiltinInfoSeparator();
