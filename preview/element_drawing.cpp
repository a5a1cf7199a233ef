#include "preview/element_drawing.h"

#include <algorithm>
#include <cmath>

#include "base/code_page.h"
#include "document/type_code.h"
#include "preview/cover_mask.h"

namespace preview {

namespace {

constexpr double kPerScreenHeight = 1.0 / 600.0;

int ClampPoints(double points) {
    if (!(points > 0.0)) return 0;  // also NaN
    return static_cast<int>(std::min(points, static_cast<double>(kMaxFontPoints)));
}

QColor InsideColor(const MenuItemRecord& record, const QColor& scrollBar, const QColor& other) {
    return type_code::Is(record, type_code::kScrollBar) ? scrollBar : other;
}

}  // namespace

int TitlePoints(int height) {
    return ClampPoints(height * kPerScreenHeight * 20.0);
}

int ElementPoints(float scaleY, int height) {
    return ClampPoints(scaleY * 0.5 * height * kPerScreenHeight);
}

ElementPainter::ElementPainter(QImage& surface, const PreviewColors& colors, int width, int height,
                               const TextLookup& lookup)
    : ElementPainter(surface, QPoint(0, 0), surface.rect(), colors, width, height, lookup) {}

ElementPainter::ElementPainter(QImage& target, QPoint origin, const QRect& bounds,
                               const PreviewColors& colors, int width, int height,
                               const TextLookup& lookup)
    : surface_(&target),
      area_(origin, target.size()),
      bounds_(bounds),
      lookup_(lookup),
      width_(width),
      height_(height),
      outline_(ColorFromSkin(colors.skinColor2)),
      windowInside_(ColorFromSkin(colors.skinColor3)),
      text_(ColorFromSkin(colors.skinColor4)),
      inside_(ColorFromSkin(colors.skinColor5)),
      scrollBarInside_(ColorFromSkin(colors.skinColor6)) {}

ElementPainter::~ElementPainter() {
    Finish();
}

void ElementPainter::SetTarget(QImage& target, QPoint origin) {
    Finish();
    surface_ = &target;
    area_ = QRect(origin, target.size());
}

RecordBox ElementPainter::DrawSelectedItem(const MenuItemRecord& selected, TextCache* cache) {
    lastReach_ = QRect();
    const RecordBox box = BoxOf(selected, 0.0, 0.0, width_, height_);
    if (!box.defined) return box;
    if (type_code::IsWindow(selected)) {
        AddPiece(box, windowInside_, selected.textId, TitlePoints(height_), windowInside_, text_,
                 cache);
    } else {
        AddPiece(box, InsideColor(selected, scrollBarInside_, inside_), selected.textId,
                 ElementPoints(selected.scaleY, height_), text_, inside_, cache);
    }
    return box;
}

RecordBox ElementPainter::DrawElement(const MenuItemRecord& window, const MenuItemRecord& element,
                                      TextCache* cache) {
    lastReach_ = QRect();
    const RecordBox box =
        BoxOf(element, window.posX, static_cast<double>(window.posY) + CaptionOffset(window),
              width_, height_);
    if (!box.defined) return box;
    AddPiece(box, InsideColor(element, scrollBarInside_, inside_), element.textId,
             ElementPoints(element.scaleY, height_), text_, inside_, cache);
    return box;
}

void ElementPainter::AddPiece(const RecordBox& box, const QColor& inside, std::int32_t textId,
                              int points, const QColor& textColor, const QColor& background,
                              TextCache* cache) {
    if (surface_->isNull()) return;
    const QRect covered = CoveredRect(box);
    // Clipped here rather than by the painter: mapped corners may lie millions
    // of pixels away.
    Piece piece;
    piece.box = covered & area_;
    piece.inside = covered.adjusted(1, 1, -1, -1) & area_;
    piece.insideColor = inside;
    // The text starts inside the record's own first corner, also where a
    // negative scale turns the box around it.
    piece.textAt = QPoint(box.x1 + 1, box.y1 + 1);
    // A text starting past the surface's right or bottom edge cannot show.
    const bool textMayShow = points > 0 && lookup_ && piece.textAt.x() <= bounds_.right() &&
                             piece.textAt.y() <= bounds_.bottom();
    QRect textReach;
    if (const std::optional<std::string_view> bytes = textMayShow ? lookup_(textId) : std::nullopt;
        bytes && !bytes->empty()) {
        piece.text = *bytes;
        piece.font = &FontOf(points);
        if (cache && (cache->font != piece.font || cache->text.data() != piece.text.data() ||
                      cache->text.size() != piece.text.size())) {
            *cache = {piece.font, piece.text, piece.font->Measure(piece.text), std::nullopt,
                      std::nullopt};
        }
        const PreviewFont::Extent extent = cache ? cache->extent : piece.font->Measure(piece.text);
        piece.cache = cache;
        const QRect cell(piece.textAt, QSize(extent.advance, piece.font->height()));
        piece.cell = cell & area_;
        if (!extent.ink.isNull()) piece.reach = extent.ink.translated(piece.textAt);
        piece.textColor = textColor;
        piece.background = background;
        // Glyphs may rise above their cell and reach below it by as much.
        const int height = piece.font->height();
        textReach = piece.reach.isNull()
                        ? QRect(QPoint(piece.textAt.x() - height, piece.textAt.y() - height),
                                QPoint(bounds_.right(), piece.textAt.y() + 2 * height))
                        : piece.reach;
    }
    lastReach_ = (covered & bounds_) | (textReach & bounds_);
    // A text that reaches no pixel of the target leaves it as it is.
    if (piece.font && !textReach.intersects(area_)) piece.font = nullptr;
    if (piece.box.isEmpty() && !piece.font) return;
    pieces_.push_back(std::move(piece));
}

void ElementPainter::Finish() {
    if (pieces_.empty()) return;
    // From the last piece back: what later pieces paint over does not show.
    const QRect area = QRect(0, 0, width_, height_) & area_;
    CoverMask mask(clip_.isNull() ? area : area & clip_);
    for (auto piece = pieces_.rbegin(); piece != pieces_.rend(); ++piece) {
        if (piece->font) {
            piece->showText = piece->reach.isNull() || !mask.Covers(piece->reach);
            if (piece->showText) mask.Add(piece->cell);
        }
        piece->showBox = !piece->box.isEmpty() && !mask.Covers(piece->box);
        if (piece->showBox) mask.Add(piece->box);
    }
    QPainter painter(surface_);
    // Plain glyphs for the fonts with a face of their own, as for the others.
    painter.setRenderHint(QPainter::TextAntialiasing, false);
    // The target's pixels are the surface's moved by whole pixels. The
    // painter itself is not moved: a kept text layout is set again whenever
    // it is drawn under another transformation.
    const QPoint shift = -area_.topLeft();
    if (!clip_.isNull()) painter.setClipRect(clip_.translated(shift));
    const QRect clip = clip_.isNull() ? surface_->rect() : clip_.translated(shift);
    const PreviewFont* painterFont = nullptr;
    for (const Piece& piece : pieces_) Paint(painter, piece, painterFont, shift, clip);
    pieces_.clear();
}

// The text's cell is filled here rather than by the painter's opaque
// background mode: that mode starts the cell at the baseline minus the
// fractional ascent, which on some sizes leaves the cell's top row unfilled.
void ElementPainter::Paint(QPainter& painter, const Piece& piece, const PreviewFont*& painterFont,
                           QPoint shift, const QRect& clip) {
    if (piece.showBox) {
        painter.fillRect(piece.box.translated(shift), outline_);
        painter.fillRect(piece.inside.translated(shift), piece.insideColor);
    }
    if (piece.font && piece.showText) {
        painter.fillRect(piece.cell.translated(shift), piece.background);
        if (painterFont != piece.font) {
            painter.setFont(piece.font->font());
            painterFont = piece.font;
        }
        painter.setPen(piece.textColor);
        const QPoint textAt = piece.textAt + shift;
        const int baseline = textAt.y() + piece.font->ascent();
        // A text whose ink is not known holds tabs or soft hyphens, which a
        // kept layout could set otherwise.
        if (piece.font->ownFace() && !piece.reach.isNull()) {
            const QPointF at(textAt.x(), baseline);
            std::optional<QGlyphRun> own;
            std::optional<QGlyphRun>& glyphs = piece.cache ? piece.cache->glyphs : own;
            if (!glyphs) glyphs = piece.font->Glyphs(piece.text);
            // The painter draws straight into the surface's pixels, so runs
            // filled in between land in order with its drawing.
            if (GlyphRuns::CanFill(*surface_, piece.textColor, glyphs->rawFont())) {
                glyphRuns_.Fill(*surface_, clip, *glyphs, at, piece.font, piece.textColor);
            } else {
                painter.drawGlyphRun(at, *glyphs);
            }
        } else if (piece.cache && !piece.reach.isNull()) {
            std::optional<QStaticText>& layout = piece.cache->layout;
            if (!layout) {
                layout.emplace(FromCodePage(piece.text));
                layout->setTextFormat(Qt::PlainText);
                layout->prepare(QTransform(), piece.font->font());
            }
            // A kept layout is placed by its top, the baseline its exact
            // ascent below; so the glyphs land where drawText puts them.
            painter.drawStaticText(QPointF(textAt.x(), baseline - piece.font->exactAscent()),
                                   *layout);
        } else {
            painter.drawText(QPoint(textAt.x(), baseline), FromCodePage(piece.text));
        }
    }
}

PreviewFont& ElementPainter::FontOf(int points) {
    return fonts_.try_emplace(points, points, surface_).first->second;
}

}  // namespace preview
