#pragma once

#include <QColor>
#include <QGlyphRun>
#include <QImage>
#include <QPointF>
#include <QRawFont>
#include <QRect>
#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <vector>

namespace preview {

// The pixels of large glyphs, kept as runs along their rows, so a glyph met
// again (the same texts in every step of a drag, the same letters in many
// texts) is filled from them instead of having its outline loaded, hinted and
// filled anew, which is most of the work of drawing a crowded zoomed screen.
//
// The runs of a glyph are the pixels the font engine fills for it, plain
// (without antialiasing), with its pen at a given 64th of a pixel; the glyph
// is then placed by whole pixels. So a glyph's pixels depend only on where
// its pen stands within the pixel, never on where on the surface it lands:
// a text cut by a tile's edge comes out as it does drawn whole.
class GlyphRuns {
  public:
    // Glyphs up to this many pixels high are kept; larger ones are drawn by
    // the font engine each time (a kept glyph is set once in an image of its
    // size).
    static constexpr double kLargestKeptPixels = 400.0;
    // What the kept runs may take together before they are all let go.
    static constexpr std::size_t kBudgetBytes = 24u << 20;

    // Whether Fill can draw glyphs of `font` into `target` in `color`: a kept
    // size, 32-bit pixels and an opaque colour, which a run fills as the font
    // engine would.
    static bool CanFill(const QImage& target, const QColor& color, const QRawFont& font);
    // Fills the glyphs of `glyphs` (a run of one face, placed from `at` on
    // the baseline) into `target`, within `clip` (target pixels). `face`
    // tells faces apart: one value per face while this object lives.
    void Fill(QImage& target, const QRect& clip, const QGlyphRun& glyphs, QPointF at,
              const void* face, const QColor& color);
    std::size_t bytes() const { return bytes_; }

  private:
    struct Run {
        // Relative to the pen's whole pixel on the baseline; `right` is past
        // the last pixel.
        std::int32_t y;
        std::int32_t left;
        std::int32_t right;
    };
    const std::vector<Run>& RunsOf(const QRawFont& font, const void* face, quint32 glyph,
                                   int sixtyFourths);

    struct Key {
        const void* face;
        quint32 glyph;
        int sixtyFourths;
        bool operator==(const Key&) const = default;
    };
    struct KeyHash {
        std::size_t operator()(const Key& key) const;
    };
    std::unordered_map<Key, std::vector<Run>, KeyHash> runs_;
    std::size_t bytes_ = 0;
    QImage scratch_;
};

}  // namespace preview
