#pragma once

#include <QFont>
#include <QFontMetrics>
#include <QGlyphRun>
#include <QPaintDevice>
#include <QRawFont>
#include <QRect>
#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace preview {

// The preview's text font, Arial at one point size on one surface, with the
// measures of the 256 code-page characters kept as they are met, so a text is
// measured by adding up its characters rather than laid out again.
//
// Kerning is off, so a text's advance is exactly the sum of its characters'
// advances (the font engine adds up the same values) and every text of a
// size is set the same way, pair by pair. Tabs (which go to tab stops) and
// soft hyphens (which show only at a line's end) are the two exceptions;
// texts holding them are laid out whole.
//
// Qt draws glyphs of more than 64 pixels as outlines, which it loads from
// the font face it shares with every other use of the same font file; the
// window's own texts (its sans is Arial's) then change how those outlines
// come out at their edges. So a large size is drawn from a face of its own,
// opened on the font's file (ownFace): the same pixels in the editor as in
// kaveldef render, whatever either drew before.
class PreviewFont {
  public:
    PreviewFont(int points, const QPaintDevice* device);

    const QFont& font() const { return font_; }
    int ascent() const { return ascent_; }
    // The ascent before rounding: a laid-out text's baseline lies this far
    // below its top.
    double exactAscent() const { return exactMetrics_.ascent(); }
    int height() const { return height_; }

    struct Extent {
        int advance = 0;
        // Every pixel the glyphs may touch, relative to the top-left corner of
        // the text's cell; null when not known (the text was laid out whole).
        QRect ink;
    };
    // Of a Windows-1252 text.
    Extent Measure(std::string_view bytes);

    // Sizes above this many pixels have a face of their own, with room
    // below Qt's 64 for the rounding of point sizes to pixels.
    static constexpr double kLargestSharedPixels = 60.0;
    // A large size with its face: its texts are drawn as Glyphs() give them
    // (but for those laid out whole), not with font().
    bool ownFace() const { return raw_.isValid(); }
    // A Windows-1252 text's glyphs from its own face, placed from (0, 0) on
    // the baseline as Measure adds up their advances.
    QGlyphRun Glyphs(std::string_view bytes);

  private:
    struct Character {
        bool known = false;
        double advance = 0.0;
        QRect ink;  // relative to the pen position on the baseline
        std::optional<quint32> glyph;  // in the own face, when it is drawn
    };
    const Character& CharacterOf(unsigned char byte);

    QFont font_;
    QRawFont raw_;
    QFontMetrics metrics_;
    QFontMetricsF exactMetrics_;
    int ascent_;
    int height_;
    std::array<Character, 256> characters_;
};

}  // namespace preview
