#include "preview/preview_font.h"

#include <algorithm>
#include <cmath>

#include <QFontInfo>

#include "base/code_page.h"
#include "preview/font_file.h"

namespace preview {

namespace {

QFont ArialAt(int points) {
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(points);
    font.setKerning(false);
    // Antialiased glyphs come out slightly differently depending on what the
    // font engine drew before; plain glyphs are the same every time, so the
    // same preview is the same pixels in the editor and in kaveldef render.
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

// A face of its own for a large size, or none (a size Qt draws from its
// glyph cache, or no file to open).
QRawFont OwnFace(const QFont& font, const QPaintDevice* device) {
    const double pixels = font.pointSizeF() * (device ? device->logicalDpiY() : 96) / 72.0;
    if (!(pixels > PreviewFont::kLargestSharedPixels)) return {};
    const QByteArray file = RegularFontFile(QFontInfo(font).family());
    if (file.isEmpty()) return {};
    return QRawFont(file, pixels);
}

// A plain loop: find_first_of searches the set once per character.
bool LaidOutWhole(std::string_view bytes) {
    return std::any_of(bytes.begin(), bytes.end(),
                       [](char byte) { return byte == '\t' || byte == '\xAD'; });
}

// Antialiasing and the glyphs' fractional positions may touch a pixel more
// than the integer bounds say on either side.
constexpr int kInkMargin = 2;

// Far wider than any surface; keeps the integers of an endless text defined.
constexpr double kMaxAdvance = 1 << 24;

}  // namespace

PreviewFont::PreviewFont(int points, const QPaintDevice* device)
    : font_(ArialAt(points)),
      raw_(OwnFace(font_, device)),
      metrics_(font_, device),
      exactMetrics_(font_, device),
      ascent_(metrics_.ascent()),
      height_(metrics_.height()) {}

const PreviewFont::Character& PreviewFont::CharacterOf(unsigned char byte) {
    Character& character = characters_[byte];
    if (!character.known) {
        const char raw = static_cast<char>(byte);
        const QString text = FromCodePage(std::string_view(&raw, 1));
        // Measured as a text of one character: the engine gives line breaks
        // and other controls no width there, as it does inside any text.
        character.advance = exactMetrics_.horizontalAdvance(text);
        character.ink = metrics_.boundingRect(text.at(0));
        // A character that takes room is measured and drawn in the own face.
        if (raw_.isValid() && character.advance != 0.0) {
            const QList<quint32> glyphs = raw_.glyphIndexesForString(text);
            if (glyphs.size() == 1) {
                character.glyph = glyphs.front();
                character.advance = raw_.advancesForGlyphIndexes(glyphs).value(0).x();
                character.ink = raw_.boundingRect(glyphs.front()).toAlignedRect();
            }
        }
        character.known = true;
    }
    return character;
}

PreviewFont::Extent PreviewFont::Measure(std::string_view bytes) {
    Extent extent;
    if (LaidOutWhole(bytes)) {
        extent.advance = metrics_.horizontalAdvance(FromCodePage(bytes));
        return extent;
    }
    // The ink box starts as the cell and grows by every glyph's bounds, all
    // as exclusive edges relative to the cell's top-left corner.
    double pen = 0.0;
    int left = 0;
    int right = 0;
    int top = 0;
    int bottom = height_;
    for (const char byte : bytes) {
        const Character& character = CharacterOf(static_cast<unsigned char>(byte));
        if (!character.ink.isEmpty()) {
            const int at = static_cast<int>(std::floor(std::min(pen, kMaxAdvance)));
            left = std::min(left, at + character.ink.left());
            right = std::max(right, at + character.ink.right() + 2);  // past the pen's fraction
            top = std::min(top, ascent_ + character.ink.top());
            bottom = std::max(bottom, ascent_ + character.ink.bottom() + 1);
        }
        pen += character.advance;
    }
    // Advances are multiples of 1/64 pixel, so the sum is exact; it is
    // rounded as the font engine rounds a text's width.
    extent.advance = static_cast<int>(std::lround(std::min(pen, kMaxAdvance)));
    right = std::max(right, extent.advance);
    extent.ink = QRect(left, top, right - left, bottom - top)
                     .adjusted(-kInkMargin, -kInkMargin, kInkMargin, kInkMargin);
    return extent;
}

QGlyphRun PreviewFont::Glyphs(std::string_view bytes) {
    QList<quint32> glyphs;
    QList<QPointF> positions;
    double pen = 0.0;
    for (const char byte : bytes) {
        const Character& character = CharacterOf(static_cast<unsigned char>(byte));
        if (character.glyph) {
            glyphs.append(*character.glyph);
            positions.append(QPointF(std::min(pen, kMaxAdvance), 0.0));
        }
        pen += character.advance;
    }
    QGlyphRun run;
    run.setRawFont(raw_);
    run.setGlyphIndexes(glyphs);
    run.setPositions(positions);
    return run;
}

}  // namespace preview
