#pragma once

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QRect>
#include <QStaticText>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "document/menu_item_record.h"
#include "preview/glyph_runs.h"
#include "preview/preview_colors.h"
#include "preview/preview_font.h"
#include "preview/preview_mapping.h"

namespace preview {

// Finds the text of a text identifier: the single-byte Windows-1252 bytes as
// the string database holds them (TextDb::FindText fits), or nothing. The
// bytes are decoded with FromCodePage where they are drawn, so every caller
// gets the same characters. An empty lookup finds no text. The bytes found
// must stay as they are until the drawing is finished.
using TextLookup = std::function<std::optional<std::string_view>(std::int32_t textId)>;

// Point sizes are capped here: far beyond any screen, and below the size at
// which the font engine's metrics overflow and it falls back to a small font.
inline constexpr int kMaxFontPoints = 4096;

// Point size of the title of a window shown by itself: height * (1/600) * 20.
// Of the text of any other record: scaleY * 0.5 * height * (1/600). Both are
// truncated toward zero and clamped to 0..kMaxFontPoints (NaN gives 0).
//
// A size of 0 draws no text at all, neither glyphs nor background: a
// zero-point font is no readable size, and a one-point stand-in would leave a
// pixel-high smear of background on every tiny or inside-out element. So a
// text shrinks with its element down to one point and then goes, which is
// what the user sees happen to the element itself.
int TitlePoints(int height);
int ElementPoints(float scaleY, int height);

// Draws records onto the preview surface for one redraw of a width x height
// client area.
//
// A box: its outermost columns and rows in skinColor2, the rest in its inside
// colour. A text: on one line from one pixel inside the box's top-left
// corner, neither wrapped nor clipped, over a background cell of its advance
// x the font's height. Later drawing covers earlier drawing.
//
// The drawing is collected and painted by Finish() (or on destruction): a box
// or text that later boxes and text cells would paint over completely is left
// out, which gives the same pixels and saves most of the work on crowded
// screens.
class ElementPainter {
  public:
    ElementPainter(QImage& surface, const PreviewColors& colors, int width, int height,
                   const TextLookup& lookup);
    // A painter for a surface drawn a part at a time: `target` holds the
    // surface's pixels from `origin` on (its (0, 0) is the surface's
    // `origin`), and `bounds` are the surface's own pixels, which records
    // may reach (LastReach). Inside the target the pixels come out as a
    // drawing onto the whole surface gives them. The target's dots per inch
    // set the text sizes in pixels.
    ElementPainter(QImage& target, QPoint origin, const QRect& bounds, const PreviewColors& colors,
                   int width, int height, const TextLookup& lookup);
    // Draws from now on into another part of the same surface, at the same
    // dots per inch. Anything drawn and not yet painted is painted first.
    void SetTarget(QImage& target, QPoint origin);
    ~ElementPainter();
    ElementPainter(const ElementPainter&) = delete;
    ElementPainter& operator=(const ElementPainter&) = delete;

    // What a painter that draws the same record again and again (a drag)
    // may keep of its text from one drawing to the next: its measures and
    // layout, worked out again only when the text or its size changes. The
    // pixels are the same; only the work of setting the text is saved. The
    // text's bytes must stay as they are for as long as the cache is used.
    struct TextCache {
        const PreviewFont* font = nullptr;
        std::string_view text;
        PreviewFont::Extent extent;
        std::optional<QStaticText> layout;
        std::optional<QGlyphRun> glyphs;  // of a font with a face of its own
    };

    // The selected record by itself, at its own position. Returns its box.
    RecordBox DrawSelectedItem(const MenuItemRecord& selected, TextCache* cache = nullptr);
    // An element of a window's screen, placed relative to the window (below
    // its caption if it has one). Returns its box.
    RecordBox DrawElement(const MenuItemRecord& window, const MenuItemRecord& element,
                          TextCache* cache = nullptr);

    // Paints everything drawn so far onto the surface.
    void Finish();

    // From the next Finish on, paints only the pixels of `clip` (a null rect:
    // the whole surface). Inside it the pixels come out as a drawing of the
    // same records without a clip gives them, so a part of the preview can
    // be drawn again by drawing, in order, the records that reach into it.
    void SetClip(const QRect& clip) { clip_ = clip; }
    // Every surface pixel that the record drawn last may touch: its box and
    // its text (on to the surface's right edge when the text's ink is not
    // known), within the bounds. Empty when it touches none.
    QRect LastReach() const { return lastReach_; }
    // Forgets what was drawn since the last Finish, unpainted: for finding
    // out a record's reach.
    void Discard() { pieces_.clear(); }

  private:
    struct Piece {
        QRect box;     // covered pixels, clipped to the target
        QRect inside;  // the box less its outline, clipped to the target
        QColor insideColor;
        PreviewFont* font = nullptr;  // set when there is a text
        std::string_view text;        // its code-page bytes
        QRect cell;                   // clipped to the target
        QPoint textAt;
        QRect reach;  // every pixel the text may touch; null when not known
        QColor textColor;
        QColor background;
        TextCache* cache = nullptr;
        bool showBox = true;
        bool showText = true;
    };

    void AddPiece(const RecordBox& box, const QColor& inside, std::int32_t textId, int points,
                  const QColor& ink, const QColor& background, TextCache* cache);
    // Paints a piece onto the target, whose pixels are the surface's moved by `shift`.
    void Paint(QPainter& painter, const Piece& piece, const PreviewFont*& painterFont,
               QPoint shift, const QRect& clip);
    PreviewFont& FontOf(int points);

    QImage* surface_;
    // The surface pixels the target holds, and those records may reach.
    QRect area_;
    QRect bounds_;
    TextLookup lookup_;
    int width_;
    int height_;
    QColor outline_;
    QColor windowInside_;
    QColor text_;
    QColor inside_;
    QColor scrollBarInside_;
    std::vector<Piece> pieces_;
    std::map<int, PreviewFont> fonts_;
    GlyphRuns glyphRuns_;
    QRect clip_;
    QRect lastReach_;
};

}  // namespace preview
