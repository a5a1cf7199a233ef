// Button glyphs, the program icon and the two strips of the status bar.

#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>
#include <algorithm>
#include <cmath>

#include "canvas.h"
#include "pictures.h"

namespace {

constexpr int kGlyph = 21;
const QColor kOutline(48, 48, 56);
const QColor kPaper(255, 255, 255);
const QColor kShadedPaper(222, 226, 232);
const QColor kText(120, 128, 144);

// Glyphs are drawn pixel by pixel, without smoothing, so that no edge pixel
// is blended with the key colour.
QImage BlankGlyph() {
    QImage glyph(kGlyph, kGlyph, QImage::Format_RGB32);
    glyph.fill(kGlyphKeyColor);
    return glyph;
}

void Box(QImage& image, int left, int top, int right, int bottom, QColor fill, QColor outline) {
    for (int y = top; y <= bottom; ++y) {
        for (int x = left; x <= right; ++x) {
            const bool edge = x == left || x == right || y == top || y == bottom;
            image.setPixelColor(x, y, edge ? outline : fill);
        }
    }
}

void Row(QImage& image, int left, int right, int y, QColor colour) {
    for (int x = left; x <= right; ++x) image.setPixelColor(x, y, colour);
}

// A sheet of paper with lines of text.
void Page(QImage& image, int left, int top, int right, int bottom, QColor fill) {
    Box(image, left, top, right, bottom, fill, kOutline);
    const int widths[] = {5, 4, 6, 3, 5, 4};
    int line = 0;
    for (int y = top + 3; y <= bottom - 2; y += 2, ++line) {
        Row(image, left + 2, std::min(right - 2, left + 1 + widths[line % 6]), y, kText);
    }
}

}  // namespace

QImage DrawCopyGlyph() {
    QImage glyph = BlankGlyph();
    Page(glyph, 2, 1, 12, 14, kShadedPaper);
    Page(glyph, 8, 6, 18, 19, kPaper);
    return glyph;
}

QImage DrawPasteGlyph() {
    QImage glyph = BlankGlyph();
    const QColor board(184, 134, 72), boardEdge(104, 68, 32), metal(176, 180, 190);
    Box(glyph, 2, 2, 14, 18, board, boardEdge);
    Box(glyph, 5, 0, 11, 3, metal, kOutline);
    Row(glyph, 7, 9, 1, QColor(96, 100, 110));
    Page(glyph, 9, 7, 18, 20, kPaper);
    return glyph;
}

QImage DrawProgramIcon() {
    // Drawn four times larger and scaled down, for smooth edges.
    const int big = 192;
    QImage image(big, big, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF window(10, 16, 150, 148);
    DropShadow(
        p, image.size(), [&](QPainter& s) { s.drawRoundedRect(window, 16, 16); }, 5, 7, 6, 0.45);
    p.setPen(QPen(QColor(30, 50, 90), 4));
    p.setBrush(QColor(238, 242, 248));
    p.drawRoundedRect(window, 16, 16);
    QPainterPath titleBar;
    titleBar.addRoundedRect(window, 16, 16);
    QPainterPath cut;
    cut.addRect(window.left(), window.top() + 34, window.width(), window.height());
    titleBar = titleBar.subtracted(cut);
    QLinearGradient blue(0, window.top(), 0, window.top() + 34);
    blue.setColorAt(0, QColor(82, 136, 214));
    blue.setColorAt(1, QColor(38, 82, 160));
    p.setPen(Qt::NoPen);
    p.setBrush(blue);
    p.drawPath(titleBar);
    p.setBrush(QColor(236, 90, 70));
    p.drawEllipse(QPointF(window.right() - 20, window.top() + 17), 7, 7);
    // Menu entries, the second one selected.
    const QColor entry(170, 186, 208), selected(244, 164, 52);
    for (int i = 0; i < 3; ++i) {
        p.setBrush(i == 1 ? selected : entry);
        p.drawRoundedRect(QRectF(30, 68 + i * 30, i == 1 ? 104 : 86, 18), 6, 6);
    }
    // A pencil lying across the corner.
    p.save();
    p.translate(128, 128);
    p.rotate(-45);
    const double length = 118, width = 28;
    QLinearGradient body(0, -width / 2, 0, width / 2);
    body.setColorAt(0, QColor(255, 220, 96));
    body.setColorAt(0.5, QColor(246, 186, 40));
    body.setColorAt(1, QColor(196, 132, 20));
    p.setPen(QPen(QColor(80, 50, 10), 3));
    p.setBrush(body);
    p.drawRect(QRectF(-length / 2 + 24, -width / 2, length - 40, width));
    p.setBrush(QColor(236, 200, 150));  // sharpened wood
    p.drawPolygon(QPolygonF({QPointF(-length / 2 + 24, -width / 2),
                             QPointF(-length / 2 + 24, width / 2), QPointF(-length / 2, 0)}));
    p.setBrush(QColor(50, 50, 56));  // graphite
    p.drawPolygon(QPolygonF({QPointF(-length / 2 + 9, -width / 2 * 0.37),
                             QPointF(-length / 2 + 9, width / 2 * 0.37), QPointF(-length / 2, 0)}));
    p.setBrush(QColor(186, 190, 198));  // ferrule
    p.drawRect(QRectF(length / 2 - 16, -width / 2, 9, width));
    p.setBrush(QColor(232, 120, 130));  // eraser
    p.drawRoundedRect(QRectF(length / 2 - 7, -width / 2, 12, width), 4, 4);
    p.restore();
    p.end();
    return image.scaled(48, 48, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
        .convertToFormat(QImage::Format_ARGB32);
}

QImage DrawStatusStrip() {
    const QColor top(204, 217, 234), bottom(240, 244, 250);
    QImage strip(1, 5, QImage::Format_RGB32);
    for (int y = 0; y < 5; ++y) strip.setPixelColor(0, y, Mix(top, bottom, y / 4.0));
    return strip;
}

QImage DrawInfoSeparator() {
    const QColor end(235, 242, 250), middle(197, 214, 238);
    QImage strip(1, 48, QImage::Format_RGB32);
    for (int y = 0; y < 48; ++y) {
        const int fromEnd = y < 24 ? y : 47 - y;  // 0 at either end, 18+ in the middle
        strip.setPixelColor(0, y, Mix(end, middle, std::min(fromEnd, 18) / 18.0));
    }
    return strip;
}
