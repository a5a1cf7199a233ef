#include "preview/element_drawing.h"

#include <algorithm>
#include <cmath>

#include "config/code_page.h"
#include "document/type_code.h"
#include "preview/preview_mapping.h"

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
    : surface_(surface),
      lookup_(lookup),
      width_(width),
      height_(height),
      outline_(ColorFromSkin(colors.skinColor2)),
      windowInside_(ColorFromSkin(colors.skinColor3)),
      text_(ColorFromSkin(colors.skinColor4)),
      inside_(ColorFromSkin(colors.skinColor5)),
      scrollBarInside_(ColorFromSkin(colors.skinColor6)) {
    if (!surface_.isNull()) painter_.begin(&surface_);
}

RecordBox ElementPainter::DrawSelectedItem(const MenuItemRecord& selected) {
    const RecordBox box = BoxOf(selected, 0.0, 0.0, width_, height_);
    if (!box.defined) return box;
    const bool window = type_code::IsWindow(selected);
    const QRect covered = CoveredRect(box);
    DrawBox(covered, outline_,
            window ? windowInside_ : InsideColor(selected, scrollBarInside_, inside_));
    const QPoint textAt = covered.topLeft() + QPoint(1, 1);
    if (window) {
        DrawText(selected.textId, textAt, TitlePoints(height_), windowInside_, text_);
    } else {
        DrawText(selected.textId, textAt, ElementPoints(selected.scaleY, height_), text_, inside_);
    }
    return box;
}

RecordBox ElementPainter::DrawElement(const MenuItemRecord& window, const MenuItemRecord& element) {
    const RecordBox box =
        BoxOf(element, window.posX, static_cast<double>(window.posY) + CaptionOffset(window),
              width_, height_);
    if (!box.defined) return box;
    const QRect covered = CoveredRect(box);
    DrawBox(covered, outline_, InsideColor(element, scrollBarInside_, inside_));
    DrawText(element.textId, covered.topLeft() + QPoint(1, 1),
             ElementPoints(element.scaleY, height_), text_, inside_);
    return box;
}

void ElementPainter::DrawBox(const QRect& covered, const QColor& pen, const QColor& brush) {
    if (!painter_.isActive() || covered.isEmpty()) return;
    // Clipped here rather than by the painter: mapped corners may lie millions
    // of pixels away.
    const QRect surfaceRect = surface_.rect();
    painter_.fillRect(covered & surfaceRect, pen);
    painter_.fillRect(covered.adjusted(1, 1, -1, -1) & surfaceRect, brush);
}

// The text goes on one line from its top-left corner, neither wrapped nor
// clipped, over a background cell of its advance x the font's height. The cell
// is filled here rather than by the painter's opaque background mode: that
// mode starts the cell at the baseline minus the fractional ascent, which on
// some sizes leaves the top row of the cell unfilled.
void ElementPainter::DrawText(std::int32_t textId, QPoint topLeft, int points, const QColor& ink,
                              const QColor& background) {
    if (!painter_.isActive() || points <= 0 || !lookup_) return;
    if (topLeft.x() >= surface_.width() || topLeft.y() >= surface_.height()) return;
    const std::optional<std::string_view> bytes = lookup_(textId);
    if (!bytes || bytes->empty()) return;
    const QString text = FromCodePage(*bytes);
    const TextFont& font = FontOf(points);
    painter_.fillRect(
        QRect(topLeft, QSize(font.metrics.horizontalAdvance(text), font.metrics.height())),
        background);
    if (painterPoints_ != points) {
        painter_.setFont(font.font);
        painterPoints_ = points;
    }
    painter_.setPen(ink);
    painter_.drawText(QPoint(topLeft.x(), topLeft.y() + font.metrics.ascent()), text);
}

const ElementPainter::TextFont& ElementPainter::FontOf(int points) {
    auto found = fonts_.find(points);
    if (found == fonts_.end()) {
        QFont font(QStringLiteral("Arial"));
        font.setPointSize(points);
        found = fonts_.emplace(points, TextFont{font, QFontMetrics(font, &surface_)}).first;
    }
    return found->second;
}

}  // namespace preview
