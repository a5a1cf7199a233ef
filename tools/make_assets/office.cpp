// The menu background: a dim office seen from above, lit by a desk lamp and
// the glow of a monitor.

#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>
#include <algorithm>
#include <cmath>
#include <vector>

#include "canvas.h"
#include "pictures.h"

namespace {

constexpr int kWidth = 1024;
constexpr int kHeight = 768;
constexpr int kWallTop = 40;       // depth of the back wall band
constexpr int kWallLeft = 34;      // depth of the left wall band
const QPointF kLamp(462, 182);     // centre of the lamp's pool of light
const QPointF kMonitor(600, 150);  // where the screen's glow starts

// Wooden floor boards running across the picture.
void DrawFloor(QImage& image, Rng& rng) {
    constexpr int kBoard = 42;
    struct Board {
        int top, left, right;
        double tone, warmth;
        std::uint32_t seed;
    };
    std::vector<Board> boards;
    for (int row = 0; row * kBoard < kHeight; ++row) {
        int x = -rng.Int(0, 300);
        while (x < kWidth) {
            const int length = rng.Int(190, 470);
            boards.push_back({row * kBoard, x, x + length, rng.Range(0.78, 1.12),
                              rng.Range(-0.06, 0.06), static_cast<std::uint32_t>(rng.Next())});
            x += length;
        }
    }
    for (const Board& b : boards) {
        for (int y = b.top; y < std::min(b.top + kBoard, kHeight); ++y) {
            QRgb* line = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = std::max(b.left, 0); x < std::min(b.right, kWidth); ++x) {
                const double grain = FractalNoise(x / 160.0, y / 6.0, 4, b.seed);
                const double streak =
                    std::sin((y + 9.0 * ValueNoise(x / 70.0, y / 20.0, b.seed + 7)) * 1.7) * 0.5 +
                    0.5;
                double v = b.tone * (0.82 + 0.3 * grain + 0.06 * streak);
                // Seams: a dark groove at the top and the end of each board.
                if (y == b.top || x == b.left) v *= 0.45;
                if (y == b.top + 1 || x == b.left + 1) v *= 0.8;
                if (y == b.top + kBoard - 1) v *= 1.08;
                line[x] = qRgb(ClampByte(96 * v * (1 + b.warmth)), ClampByte(68 * v),
                               ClampByte(47 * v * (1 - b.warmth)));
            }
        }
    }
}

// The rug is drawn flat into its own picture, given a woven texture, and then
// laid down slightly turned.
void DrawRug(QPainter& p, Rng& rng) {
    const int w = 620, h = 370;
    QImage rug(w, h, QImage::Format_ARGB32_Premultiplied);
    rug.fill(Qt::transparent);
    {
        QPainter r(&rug);
        r.setRenderHint(QPainter::Antialiasing);
        const QColor field(86, 38, 38), border(36, 40, 56), ochre(140, 112, 70);
        const QRectF body(14, 0, w - 28, h);
        r.fillRect(body, border);
        r.fillRect(body.adjusted(30, 30, -30, -30), field);
        r.setPen(QPen(ochre, 3));
        r.setBrush(Qt::NoBrush);
        r.drawRect(body.adjusted(18, 18, -18, -18));
        r.setPen(QPen(ochre, 2));
        r.drawRect(body.adjusted(36, 36, -36, -36));
        // Medallion and corner pieces.
        const QPointF c = body.center();
        auto diamond = [&](QPointF centre, double rx, double ry) {
            QPolygonF d;
            d << QPointF(centre.x(), centre.y() - ry) << QPointF(centre.x() + rx, centre.y())
              << QPointF(centre.x(), centre.y() + ry) << QPointF(centre.x() - rx, centre.y());
            return d;
        };
        r.setPen(QPen(ochre, 3));
        r.setBrush(border);
        r.drawPolygon(diamond(c, 150, 105));
        r.setBrush(QColor(104, 50, 44));
        r.setPen(QPen(ochre, 2));
        r.drawPolygon(diamond(c, 88, 60));
        r.setBrush(ochre.darker(130));
        r.drawPolygon(diamond(c, 26, 18));
        r.setBrush(border);
        r.setPen(QPen(ochre, 2));
        for (double sx : {body.left() + 36, body.right() - 36}) {
            for (double sy : {body.top() + 36, body.bottom() - 36}) {
                r.save();
                r.setClipRect(body.adjusted(36, 36, -36, -36));
                r.drawPolygon(diamond(QPointF(sx, sy), 70, 50));
                r.restore();
            }
        }
        // A row of small motifs inside the border.
        r.setPen(Qt::NoPen);
        r.setBrush(QColor(108, 54, 46));
        for (double x = body.left() + 44; x < body.right() - 40; x += 22) {
            r.drawPolygon(diamond(QPointF(x, 9), 6, 5));
            r.drawPolygon(diamond(QPointF(x, h - 9), 6, 5));
        }
        // Fringe on the two short ends.
        r.setPen(QPen(QColor(176, 166, 146), 1.6));
        for (double y = 4; y < h - 4; y += 5) {
            const double len = rng.Range(9, 14);
            r.drawLine(QPointF(14, y), QPointF(14 - len, y + rng.Range(-2, 2)));
            r.drawLine(QPointF(w - 14, y), QPointF(w - 14 + len, y + rng.Range(-2, 2)));
        }
    }
    // Woven texture and wear.
    for (int y = 0; y < h; ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(rug.scanLine(y));
        for (int x = 0; x < w; ++x) {
            if (qAlpha(line[x]) == 0) continue;
            const double weave =
                ((x + y) % 3 == 0 ? 0.93 : 1.0) * ((x / 2 + y) % 4 == 0 ? 0.96 : 1);
            const double wear = 0.85 + 0.25 * FractalNoise(x / 90.0, y / 90.0, 3, 77);
            const double f = weave * wear * (0.94 + 0.12 * rng.Uniform());
            line[x] = qRgba(ClampByte(qRed(line[x]) * f), ClampByte(qGreen(line[x]) * f),
                            ClampByte(qBlue(line[x]) * f), qAlpha(line[x]));
        }
    }
    p.save();
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.translate(600, 520);
    p.rotate(-3.5);
    DropShadow(
        p, QSize(kWidth, kHeight),
        [&](QPainter& s) {
            s.translate(600, 520);
            s.rotate(-3.5);
            s.drawRect(QRectF(-w / 2.0 + 14, -h / 2.0, w - 28, h));
        },
        2, 3, 3, 0.5);
    p.drawImage(QPointF(-w / 2.0, -h / 2.0), rug);
    p.restore();
}

// A board of wood with its grain running along x, for the desk and the shelf.
QImage WoodPanel(int w, int h, QColor base, std::uint32_t seed) {
    QImage wood(w, h, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < h; ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(wood.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const double warp = 14.0 * FractalNoise(x / 120.0, y / 40.0, 3, seed);
            const double rings = std::sin((y + warp) * 0.55) * 0.5 + 0.5;
            const double grain = FractalNoise(x / 220.0, (y + warp) / 3.0, 3, seed + 3);
            const double f = 0.8 + 0.16 * rings + 0.22 * grain;
            line[x] = qRgb(ClampByte(base.red() * f), ClampByte(base.green() * f),
                           ClampByte(base.blue() * f));
        }
    }
    return wood;
}

void Bevel(QPainter& p, const QRectF& r, double radius, QColor light, QColor dark) {
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(dark, 2));
    p.drawRoundedRect(r.adjusted(1, 1, -1, -1), radius, radius);
    p.setPen(QPen(light, 1.2));
    p.drawLine(QPointF(r.left() + radius, r.top() + 1.5),
               QPointF(r.right() - radius, r.top() + 1.5));
    p.drawLine(QPointF(r.left() + 1.5, r.top() + radius),
               QPointF(r.left() + 1.5, r.bottom() - radius));
}

void DrawShelf(QPainter& p, Rng& rng) {
    const QRectF shelf(58, kWallTop + 2, 270, 62);
    DropShadow(
        p, QSize(kWidth, kHeight), [&](QPainter& s) { s.drawRect(shelf); }, 6, 8, 8, 0.7);
    p.drawImage(shelf.topLeft(),
                WoodPanel(int(shelf.width()), int(shelf.height()), QColor(74, 52, 38), 11));
    // Book tops, standing against the wall.
    const QColor colours[] = {{118, 42, 40}, {42, 60, 92}, {62, 82, 52},    {142, 120, 82},
                              {88, 68, 98},  {54, 54, 56}, {150, 142, 124}, {96, 58, 36}};
    double x = shelf.left() + 6;
    while (x < shelf.right() - 14) {
        if (rng.Chance(0.08)) {  // a gap, or a book lying flat
            x += rng.Range(6, 16);
            continue;
        }
        const double bw = rng.Range(7, 17);
        const double depth = rng.Range(38, 52);
        QColor c = Scaled(colours[rng.Int(0, 7)], rng.Range(0.8, 1.1));
        QRectF book(x, shelf.top() + 4, bw - 1, depth);
        QLinearGradient g(book.topLeft(), book.topRight());
        g.setColorAt(0, Scaled(c, 0.75));
        g.setColorAt(0.4, Scaled(c, 1.1));
        g.setColorAt(1, Scaled(c, 0.7));
        p.setPen(Qt::NoPen);
        p.setBrush(g);
        p.drawRect(book);
        // Seen from above: the tops of the pages between the covers, and
        // the spine's top at the front.
        p.setBrush(Scaled(QColor(150, 142, 122), rng.Range(0.75, 0.95)));
        p.drawRect(QRectF(book.left() + 1.5, book.top() + 2, book.width() - 3, depth - 12));
        p.setBrush(Scaled(c, 0.85));
        p.drawRect(QRectF(book.left(), book.bottom() - 8, book.width(), 8));
        x += bw;
    }
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(30, 22, 16), 2));
    p.drawRect(shelf.adjusted(1, 1, -1, -1));
}

void DrawCabinet(QPainter& p) {
    const QRectF top(872, kWallTop + 4, 124, 150);
    DropShadow(
        p, QSize(kWidth, kHeight), [&](QPainter& s) { s.drawRoundedRect(top, 4, 4); }, 7, 10, 9,
        0.75);
    QLinearGradient metal(top.topLeft(), top.bottomRight());
    metal.setColorAt(0, QColor(92, 94, 98));
    metal.setColorAt(1, QColor(64, 66, 70));
    p.setPen(Qt::NoPen);
    p.setBrush(metal);
    p.drawRoundedRect(top, 4, 4);
    Bevel(p, top, 4, QColor(130, 132, 136), QColor(38, 40, 44));
    // A printer standing on it.
    const QRectF printer(886, 62, 96, 74);
    DropShadow(
        p, QSize(kWidth, kHeight), [&](QPainter& s) { s.drawRoundedRect(printer, 6, 6); }, 4, 6, 5,
        0.7);
    QLinearGradient body(printer.topLeft(), printer.bottomLeft());
    body.setColorAt(0, QColor(150, 150, 146));
    body.setColorAt(1, QColor(116, 116, 112));
    p.setBrush(body);
    p.drawRoundedRect(printer, 6, 6);
    p.setBrush(QColor(40, 40, 42));
    p.drawRoundedRect(QRectF(898, 112, 72, 8), 3, 3);  // output slot
    p.setBrush(QColor(200, 196, 186));
    p.drawRect(QRectF(904, 118, 60, 26));  // a printed sheet
    p.setBrush(QColor(60, 140, 80));
    p.drawEllipse(QPointF(970, 74), 2.5, 2.5);  // power light
}

void DrawBin(QPainter& p, Rng& rng) {
    const QPointF c(930, 330);
    DropShadow(
        p, QSize(kWidth, kHeight), [&](QPainter& s) { s.drawEllipse(c, 32, 32); }, 6, 8, 6, 0.7);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(46, 46, 50));
    p.drawEllipse(c, 32, 32);
    QRadialGradient inside(c + QPointF(-6, -6), 30);
    inside.setColorAt(0, QColor(30, 30, 32));
    inside.setColorAt(1, QColor(14, 14, 15));
    p.setBrush(inside);
    p.drawEllipse(c, 27, 27);
    for (int i = 0; i < 3; ++i) {  // crumpled paper
        const QPointF b = c + QPointF(rng.Range(-12, 12), rng.Range(-12, 12));
        p.setBrush(QColor(176, 172, 160));
        p.setPen(QPen(QColor(120, 116, 106), 1));
        p.drawEllipse(b, 9, 8);
        p.drawLine(b + QPointF(-5, -2), b + QPointF(3, 2));
        p.drawLine(b + QPointF(-1, 4), b + QPointF(4, -4));
    }
}

void DrawPlant(QPainter& p, Rng& rng) {
    const QPointF c(138, 652);
    DropShadow(
        p, QSize(kWidth, kHeight), [&](QPainter& s) { s.drawEllipse(c, 100, 96); }, 10, 14, 16,
        0.65);
    QRadialGradient pot(c + QPointF(-16, -16), 70);
    pot.setColorAt(0, QColor(146, 84, 56));
    pot.setColorAt(1, QColor(84, 44, 30));
    p.setPen(QPen(QColor(60, 32, 22), 2));
    p.setBrush(pot);
    p.drawEllipse(c, 58, 58);
    p.setBrush(QColor(44, 32, 24));
    p.drawEllipse(c, 48, 48);
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 60; ++i) {  // soil crumbs
        const double a = rng.Range(0, 6.283), r = std::sqrt(rng.Uniform()) * 44;
        p.setBrush(Scaled(QColor(64, 48, 34), rng.Range(0.6, 1.3)));
        p.drawEllipse(c + QPointF(r * std::cos(a), r * std::sin(a)), 1.6, 1.6);
    }
    struct Leaf {
        double angle, length, width;
        QColor colour;
    };
    std::vector<Leaf> leaves;
    for (int i = 0; i < 34; ++i) {
        leaves.push_back({rng.Range(0, 360), rng.Range(50, 104), rng.Range(15, 26),
                          QColor(ClampByte(rng.Range(38, 62)), ClampByte(rng.Range(72, 104)),
                                 ClampByte(rng.Range(38, 56)))});
    }
    std::sort(leaves.begin(), leaves.end(),
              [](const Leaf& a, const Leaf& b) { return a.length > b.length; });
    for (const Leaf& leaf : leaves) {
        p.save();
        p.translate(c);
        p.rotate(leaf.angle);
        QPainterPath shape;  // a leaf bending to one side
        const double bend = leaf.width * (std::fmod(leaf.angle, 40.0) < 20 ? 0.5 : -0.5);
        shape.moveTo(4, 0);
        shape.cubicTo(leaf.length * 0.3, -leaf.width, leaf.length * 0.7, -leaf.width * 0.8 + bend,
                      leaf.length, bend);
        shape.cubicTo(leaf.length * 0.7, leaf.width * 0.6 + bend, leaf.length * 0.3, leaf.width, 4,
                      0);
        QLinearGradient g(0, -leaf.width / 2, 0, leaf.width / 2);
        g.setColorAt(0, Scaled(leaf.colour, 1.25));
        g.setColorAt(0.5, leaf.colour);
        g.setColorAt(1, Scaled(leaf.colour, 0.65));
        p.setPen(QPen(Scaled(leaf.colour, 0.55), 1));
        p.setBrush(g);
        p.drawPath(shape);
        p.setPen(QPen(Scaled(leaf.colour, 1.5), 1.2));
        QPainterPath rib;
        rib.moveTo(6, 0);
        rib.quadTo(leaf.length * 0.6, bend * 0.2, leaf.length * 0.9, bend * 0.85);
        p.setBrush(Qt::NoBrush);
        p.drawPath(rib);
        p.restore();
    }
}

QPainterPath ChairShape() {
    QPainterPath shape;
    shape.addRoundedRect(QRectF(532, 336, 116, 106), 26, 26);
    shape.addRoundedRect(QRectF(516, 350, 18, 64), 7, 7);
    shape.addRoundedRect(QRectF(646, 350, 18, 64), 7, 7);
    QPainterPath back;
    back.moveTo(522, 432);
    back.quadTo(590, 470, 658, 432);
    back.lineTo(662, 452);
    back.quadTo(590, 494, 518, 452);
    back.closeSubpath();
    shape.addPath(back);
    return shape.simplified();
}

void DrawChair(QPainter& p) {
    const QPointF hub(590, 398);
    DropShadow(
        p, QSize(kWidth, kHeight),
        [&](QPainter& s) {
            s.drawPath(ChairShape());
            for (int i = 0; i < 5; ++i) {
                const double a = (i * 72 + 18) * 3.14159265 / 180;
                s.drawEllipse(hub + QPointF(84 * std::cos(a), 84 * std::sin(a)), 9, 9);
            }
        },
        10, 14, 12, 0.75);
    // Star base with casters.
    p.setPen(QPen(QColor(36, 36, 40), 11, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 5; ++i) {
        const double a = (i * 72 + 18) * 3.14159265 / 180;
        const QPointF end = hub + QPointF(80 * std::cos(a), 80 * std::sin(a));
        p.drawLine(hub, end);
        p.save();
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(22, 22, 24));
        p.drawEllipse(end + QPointF(4 * std::cos(a), 4 * std::sin(a)), 7.5, 7.5);
        p.restore();
    }
    // Seat, armrests and the curved back.
    QRadialGradient fabric(QPointF(574, 372), 110);
    fabric.setColorAt(0, QColor(78, 82, 92));
    fabric.setColorAt(1, QColor(40, 42, 48));
    p.setPen(QPen(QColor(24, 24, 28), 2));
    p.setBrush(fabric);
    p.drawRoundedRect(QRectF(532, 336, 116, 106), 26, 26);
    p.setPen(QPen(QColor(54, 56, 64), 1.5, Qt::DashLine));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(542, 346, 96, 86), 20, 20);
    p.setPen(QPen(QColor(20, 20, 22), 1.5));
    for (double x : {516.0, 646.0}) {
        QLinearGradient arm(x, 0, x + 18, 0);
        arm.setColorAt(0, QColor(60, 60, 64));
        arm.setColorAt(1, QColor(28, 28, 30));
        p.setBrush(arm);
        p.drawRoundedRect(QRectF(x, 350, 18, 64), 7, 7);
    }
    QPainterPath back;
    back.moveTo(522, 432);
    back.quadTo(590, 470, 658, 432);
    back.lineTo(662, 452);
    back.quadTo(590, 494, 518, 452);
    back.closeSubpath();
    QLinearGradient backShade(0, 440, 0, 480);
    backShade.setColorAt(0, QColor(70, 72, 82));
    backShade.setColorAt(1, QColor(30, 30, 36));
    p.setBrush(backShade);
    p.drawPath(back);
}

void DrawDeskTop(QPainter& p) {
    const QRectF desk(326, 66, 530, 236);
    DropShadow(
        p, QSize(kWidth, kHeight), [&](QPainter& s) { s.drawRoundedRect(desk, 6, 6); }, 12, 16, 14,
        0.8);
    QImage wood = WoodPanel(int(desk.width()), int(desk.height()), QColor(86, 58, 40), 23);
    QPainterPath outline;
    outline.addRoundedRect(desk, 6, 6);
    p.save();
    p.setClipPath(outline);
    p.drawImage(desk.topLeft(), wood);
    p.restore();
    Bevel(p, desk, 6, QColor(132, 98, 72), QColor(34, 22, 14));
}

void DrawPapers(QPainter& p, Rng& rng) {
    const double angles[] = {-14, 6, -4};
    const QPointF centres[] = {{400, 228}, {418, 236}, {408, 226}};
    for (int i = 0; i < 3; ++i) {
        p.save();
        p.translate(centres[i]);
        p.rotate(angles[i]);
        const QRectF sheet(-44, -60, 88, 122);
        DropShadow(
            p, QSize(kWidth, kHeight),
            [&](QPainter& s) {
                s.translate(centres[i]);
                s.rotate(angles[i]);
                s.drawRect(sheet);
            },
            2, 3, 3, 0.55);
        p.setPen(Qt::NoPen);
        p.setBrush(Scaled(QColor(214, 210, 198), 1.0 - 0.04 * (2 - i)));
        p.drawRect(sheet);
        if (i == 2) {
            p.setBrush(QColor(120, 118, 112));
            p.drawRect(QRectF(-36, -52, 40, 5));
            for (double y = -40; y < 52; y += 6) {
                const double len = rng.Range(40, 70);
                p.setBrush(QColor(150, 148, 142));
                p.drawRect(QRectF(-36, y, y > 40 ? len * 0.5 : len, 2));
            }
            // A pen lying across the sheet.
            p.rotate(28);
            p.setBrush(QColor(30, 38, 70));
            p.drawRoundedRect(QRectF(-40, 10, 78, 6), 3, 3);
            p.setBrush(QColor(170, 170, 176));
            p.drawRect(QRectF(26, 9, 12, 2));
        }
        p.restore();
    }
}

void DrawLamp(QPainter& p) {
    const QPointF base(372, 106), elbow(424, 128), head(kLamp.x() - 6, kLamp.y() - 16);
    DropShadow(
        p, QSize(kWidth, kHeight),
        [&](QPainter& s) {
            s.drawEllipse(base, 26, 26);
            s.setPen(QPen(QColor(8, 6, 5), 6));
            s.drawLine(base, elbow);
            s.drawLine(elbow, head);
            s.setPen(Qt::NoPen);
            s.drawEllipse(head, 26, 20);
        },
        8, 12, 6, 0.7);
    QRadialGradient metal(base + QPointF(-8, -8), 30);
    metal.setColorAt(0, QColor(70, 92, 78));
    metal.setColorAt(1, QColor(26, 38, 32));
    p.setPen(QPen(QColor(16, 22, 18), 1.5));
    p.setBrush(metal);
    p.drawEllipse(base, 26, 26);
    p.setPen(QPen(QColor(120, 120, 116), 5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(base, elbow);
    p.drawLine(elbow, head);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(150, 150, 146));
    p.drawEllipse(elbow, 5, 5);
    QRadialGradient shade(head + QPointF(-6, -6), 30);
    shade.setColorAt(0, QColor(84, 112, 92));
    shade.setColorAt(1, QColor(30, 44, 36));
    p.setPen(QPen(QColor(16, 22, 18), 1.5));
    p.setBrush(shade);
    p.drawEllipse(head, 26, 20);
    // Cable to the wall.
    p.setPen(QPen(QColor(20, 20, 20), 2.2));
    p.setBrush(Qt::NoBrush);
    QPainterPath cable;
    cable.moveTo(base + QPointF(-10, -20));
    cable.cubicTo(QPointF(350, 60), QPointF(380, 50), QPointF(392, kWallTop));
    p.drawPath(cable);
}

void DrawComputer(QPainter& p) {
    // Monitor: seen from above, the panel is a thin slab; its stand and back
    // bulge show behind it.
    DropShadow(
        p, QSize(kWidth, kHeight),
        [&](QPainter& s) {
            s.drawRoundedRect(QRectF(468, 98, 264, 20), 6, 6);
            s.drawRoundedRect(QRectF(530, 76, 140, 26), 10, 10);
            s.drawRoundedRect(QRectF(548, 116, 104, 42), 10, 10);
        },
        5, 8, 7, 0.75);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(34, 34, 38));
    p.drawRoundedRect(QRectF(548, 116, 104, 42), 10, 10);  // foot
    p.setBrush(QColor(44, 44, 48));
    p.drawRoundedRect(QRectF(530, 76, 140, 26), 10, 10);  // back
    QLinearGradient slab(0, 98, 0, 118);
    slab.setColorAt(0, QColor(70, 72, 78));
    slab.setColorAt(0.4, QColor(34, 34, 38));
    slab.setColorAt(1, QColor(16, 16, 18));
    p.setBrush(slab);
    p.drawRoundedRect(QRectF(468, 98, 264, 20), 6, 6);
    p.setBrush(QColor(130, 170, 230));
    p.drawRect(QRectF(476, 116, 248, 2));  // the screen's edge glows
    p.setPen(QPen(QColor(18, 18, 20), 2.5));
    p.setBrush(Qt::NoBrush);
    QPainterPath cables;
    cables.moveTo(590, 78);
    cables.cubicTo(QPointF(592, 60), QPointF(620, 54), QPointF(628, kWallTop));
    cables.moveTo(610, 78);
    cables.cubicTo(QPointF(616, 60), QPointF(660, 58), QPointF(676, kWallTop));
    p.drawPath(cables);

    // Keyboard.
    const QRectF keyboard(474, 178, 236, 74);
    DropShadow(
        p, QSize(kWidth, kHeight), [&](QPainter& s) { s.drawRoundedRect(keyboard, 6, 6); }, 3, 5, 4,
        0.7);
    p.setPen(QPen(QColor(18, 18, 20), 1.5));
    p.setBrush(QColor(38, 38, 42));
    p.drawRoundedRect(keyboard, 6, 6);
    p.setPen(Qt::NoPen);
    for (int row = 0; row < 5; ++row) {
        double x = keyboard.left() + 7 + (row % 2) * 4;
        const double y = keyboard.top() + 7 + row * 13;
        int col = 0;
        while (x < keyboard.right() - 16) {
            double kw = 12.5;
            if (row == 4 && col == 4) kw = 84;  // space bar
            p.setBrush(QColor(60, 60, 66));
            p.drawRoundedRect(QRectF(x, y, kw, 11), 2, 2);
            p.setBrush(QColor(76, 76, 84));
            p.drawRoundedRect(QRectF(x + 1.5, y + 1, kw - 3, 6), 1.5, 1.5);
            x += kw + 2.4;
            ++col;
        }
    }

    // Mouse on its pad, its cable curling to the back of the desk.
    const QRectF pad(720, 176, 104, 86);
    p.setBrush(QColor(30, 34, 44));
    p.drawRoundedRect(pad, 8, 8);
    const QPointF mouse(768, 220);
    DropShadow(
        p, QSize(kWidth, kHeight), [&](QPainter& s) { s.drawEllipse(mouse, 14, 22); }, 3, 4, 3,
        0.7);
    p.setPen(QPen(QColor(16, 16, 18), 2));
    p.setBrush(Qt::NoBrush);
    QPainterPath cord;
    cord.moveTo(mouse + QPointF(0, -22));
    cord.cubicTo(QPointF(770, 170), QPointF(720, 160), QPointF(668, 120));
    p.drawPath(cord);
    QRadialGradient shell(mouse + QPointF(-4, -8), 26);
    shell.setColorAt(0, QColor(104, 104, 110));
    shell.setColorAt(1, QColor(44, 44, 48));
    p.setPen(QPen(QColor(20, 20, 22), 1.2));
    p.setBrush(shell);
    p.drawEllipse(mouse, 14, 22);
    p.drawLine(mouse + QPointF(0, -22), mouse + QPointF(0, -6));
}

void DrawMugAndNotebook(QPainter& p) {
    const QPointF mug(808, 118);
    DropShadow(
        p, QSize(kWidth, kHeight), [&](QPainter& s) { s.drawEllipse(mug, 25, 25); }, 5, 7, 5, 0.75);
    p.setPen(QPen(QColor(150, 140, 130), 7, Qt::SolidLine, Qt::RoundCap));
    p.drawArc(QRectF(mug.x() + 14, mug.y() - 12, 24, 24), -70 * 16, 140 * 16);  // handle
    QRadialGradient ceramic(mug + QPointF(-8, -8), 32);
    ceramic.setColorAt(0, QColor(196, 188, 178));
    ceramic.setColorAt(1, QColor(122, 114, 106));
    p.setPen(Qt::NoPen);
    p.setBrush(ceramic);
    p.drawEllipse(mug, 25, 25);
    p.setBrush(QColor(52, 32, 20));
    p.drawEllipse(mug, 19, 19);
    p.setBrush(QColor(92, 62, 40, 140));
    p.drawEllipse(mug + QPointF(-5, -5), 7, 5);

    // A closed notebook with an elastic band.
    p.save();
    p.translate(790, 262);
    p.rotate(9);
    const QRectF book(-34, -26, 68, 52);
    DropShadow(
        p, QSize(kWidth, kHeight),
        [&](QPainter& s) {
            s.translate(790, 262);
            s.rotate(9);
            s.drawRoundedRect(book, 3, 3);
        },
        3, 5, 4, 0.7);
    p.setPen(QPen(QColor(40, 14, 12), 1.2));
    p.setBrush(QColor(108, 40, 36));
    p.drawRoundedRect(book, 3, 3);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(28, 18, 16));
    p.drawRect(QRectF(22, -26, 3, 52));
    p.restore();
}

void DrawWalls(QPainter& p, Rng& rng) {
    // Shade of the floor along the walls.
    QLinearGradient fromTop(0, kWallTop, 0, kWallTop + 60);
    fromTop.setColorAt(0, QColor(0, 0, 0, 150));
    fromTop.setColorAt(1, QColor(0, 0, 0, 0));
    p.fillRect(QRectF(0, kWallTop, kWidth, 60), fromTop);
    QLinearGradient fromLeft(kWallLeft, 0, kWallLeft + 60, 0);
    fromLeft.setColorAt(0, QColor(0, 0, 0, 150));
    fromLeft.setColorAt(1, QColor(0, 0, 0, 0));
    p.fillRect(QRectF(kWallLeft, kWallTop, 60, kHeight), fromLeft);
    // The tops of the walls.
    QColor plaster(58, 56, 54);
    p.fillRect(QRectF(0, 0, kWidth, kWallTop), plaster);
    p.fillRect(QRectF(0, 0, kWallLeft, kHeight), plaster);
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 2500; ++i) {
        const bool top = rng.Chance(0.6);
        const QPointF at = top ? QPointF(rng.Range(0, kWidth), rng.Range(0, kWallTop))
                               : QPointF(rng.Range(0, kWallLeft), rng.Range(0, kHeight));
        p.setBrush(Scaled(plaster, rng.Range(0.85, 1.15)));
        p.drawRect(QRectF(at, QSizeF(2, 2)));
    }
    p.fillRect(QRectF(0, kWallTop - 5, kWidth, 5), QColor(82, 78, 72));  // skirting
    p.fillRect(QRectF(kWallLeft - 5, kWallTop - 5, 5, kHeight), QColor(82, 78, 72));
    p.fillRect(QRectF(0, kWallTop - 1, kWidth, 1), QColor(30, 28, 26));
    p.fillRect(QRectF(kWallLeft - 1, kWallTop - 1, 1, kHeight), QColor(30, 28, 26));
}

// Light: a little cool ambient light, the warm pool of the lamp and the blue
// glow spreading from the screen.
void Light(QImage& image) {
    for (int y = 0; y < kHeight; ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < kWidth; ++x) {
            const double lx = (x - kLamp.x()) / 250.0, ly = (y - kLamp.y()) / 230.0;
            const double lamp =
                1.05 * std::exp(-(lx * lx + ly * ly)) + 0.32 * std::exp(-(lx * lx + ly * ly) / 6.0);
            const double mx = (x - kMonitor.x()) / 190.0;
            const double my = (y - kMonitor.y() - 40) / (y > kMonitor.y() ? 120.0 : 30.0);
            const double screen = 0.42 * std::exp(-(mx * mx + my * my));
            const double r = 0.30 * 0.85 + lamp * 1.0 + screen * 0.5;
            const double g = 0.30 * 0.90 + lamp * 0.80 + screen * 0.68;
            const double b = 0.30 * 1.05 + lamp * 0.56 + screen * 1.0;
            const QRgb p = line[x];
            line[x] =
                qRgb(ClampByte(qRed(p) * r), ClampByte(qGreen(p) * g), ClampByte(qBlue(p) * b));
        }
    }
}

// A soft halo around the brightest parts, as a camera sees a lamp-lit desk.
void Bloom(QImage& image) {
    QImage bright(image.size(), QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < kHeight; ++y) {
        const QRgb* src = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        QRgb* dst = reinterpret_cast<QRgb*>(bright.scanLine(y));
        for (int x = 0; x < kWidth; ++x) {
            const double v = (qRed(src[x]) + qGreen(src[x]) + qBlue(src[x])) / 3.0;
            const double k = Clamp01((v - 150) / 80.0);
            dst[x] = qRgba(ClampByte(qRed(src[x]) * k), ClampByte(qGreen(src[x]) * k),
                           ClampByte(qBlue(src[x]) * k), 255);
        }
    }
    bright = Blur(bright, 24);
    for (int y = 0; y < kHeight; ++y) {
        const QRgb* glow = reinterpret_cast<const QRgb*>(bright.constScanLine(y));
        QRgb* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < kWidth; ++x) {
            line[x] = qRgb(ClampByte(qRed(line[x]) + 0.35 * qRed(glow[x])),
                           ClampByte(qGreen(line[x]) + 0.35 * qGreen(glow[x])),
                           ClampByte(qBlue(line[x]) + 0.35 * qBlue(glow[x])));
        }
    }
}

}  // namespace

QImage DrawOfficeBackground() {
    Rng rng(0x0FF1CE);
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    DrawFloor(image, rng);
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        DrawRug(p, rng);
        DrawShelf(p, rng);
        DrawCabinet(p);
        DrawBin(p, rng);
        DrawPlant(p, rng);
        DrawDeskTop(p);
        DrawChair(p);
        DrawComputer(p);
        DrawPapers(p, rng);
        DrawMugAndNotebook(p);
        DrawLamp(p);
        DrawWalls(p, rng);
    }
    Light(image);
    Bloom(image);
    Vignette(image, 0.35);
    AddGrain(image, 2.0, rng);
    return image;
}
