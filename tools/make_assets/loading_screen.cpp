// The pictures of the game's loading screen: a night skyline, a folded town
// map, the title lettering and the progress bar's strip.

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPathStroker>
#include <QRadialGradient>
#include <QTransform>
#include <algorithm>
#include <cmath>
#include <vector>

#include "canvas.h"
#include "pictures.h"

namespace {

QColor Grey(int v) {
    return QColor(v, v, v);
}

// ---------------------------------------------------------------- skyline

void DrawBuildingRow(QPainter& p, Rng& rng, int base, int minW, int maxW, int minH, int maxH,
                     int tone, double lit, int windowLow, int windowHigh, int windowW,
                     int windowH) {
    int x = -rng.Int(0, 20);
    while (x < 512) {
        const int w = rng.Int(minW, maxW);
        int h = rng.Int(minH, maxH);
        if (rng.Chance(0.12)) h = std::min(h + rng.Int(60, 120), 400);  // a tower
        const int top = base - h;
        p.setPen(Qt::NoPen);
        p.setBrush(Grey(tone));
        p.drawRect(x, top, w, h + 60);
        // Crowns: a set-back storey, an antenna or a water tank.
        const double crown = rng.Uniform();
        if (crown < 0.25) {
            const int inset = w / 4;
            p.drawRect(x + inset, top - h / 10, w - 2 * inset, h / 10 + 1);
            if (h > 220) {
                p.setPen(QPen(Grey(tone), 2));
                p.drawLine(x + w / 2, top - h / 10, x + w / 2, top - h / 10 - rng.Int(20, 50));
            }
        } else if (crown < 0.45) {
            p.setPen(QPen(Grey(tone), 1.5));
            const int ax = x + rng.Int(3, std::max(4, w - 4));
            p.drawLine(ax, top, ax, top - rng.Int(8, 30));
        } else if (crown < 0.6 && w > 20) {
            const int tx = x + rng.Int(2, w - 14);
            p.drawRect(tx, top - 9, 10, 9);
            p.drawRect(tx + 1, top - 13, 8, 4);
        }
        // Windows: a grid, some of them lit; whole floors stay dark.
        p.setPen(Qt::NoPen);
        const int stepX = windowW + 3, stepY = windowH + 4;
        for (int wy = top + 6; wy < base - 8; wy += stepY) {
            const bool darkFloor = rng.Chance(0.25);
            for (int wx = x + 3; wx + windowW < x + w - 2; wx += stepX) {
                if (darkFloor || !rng.Chance(lit)) continue;
                p.setBrush(Grey(rng.Int(windowLow, windowHigh)));
                p.drawRect(wx, wy, windowW, windowH);
            }
        }
        x += w + rng.Int(0, 3);
    }
}

// The white strip of paper down the right edge, with a torn, fibrous edge.
void TornStrip(QImage& image, Rng& rng) {
    const int h = image.height(), w = image.width();
    double edge = 450;
    for (int y = 0; y < h; ++y) {
        edge += rng.Gauss() * 1.1;
        edge += 0.12 * (450 - edge);
        const double x0 = edge + 5 * std::sin(y / 41.0) + 3 * std::sin(y / 13.0 + 1);
        const double fibres = rng.Range(0, 4);
        uchar* line = image.scanLine(y);
        for (int x = 0; x < w; ++x) {
            const double d = x - x0;
            double v = line[x];
            if (d > fibres) {
                v = 238 + 5 * FractalNoise(x / 6.0, y / 6.0, 2, 5) + rng.Gauss() * 2.5;
            } else if (d > 0) {
                v = std::max(v, 200 + 40 * rng.Uniform());  // loose fibres
            } else if (d > -3) {
                v *= 0.55;  // the strip lifts a little and shades its edge
            }
            line[x] = static_cast<uchar>(ClampByte(v));
        }
    }
}

// ------------------------------------------------------------------- map

struct MapArt {
    QPainterPath river;       // centre line
    QPainterPath northShore;  // region above the river
};

MapArt RiverOf(int w, int h) {
    MapArt art;
    art.river.moveTo(-20, h * 0.70);
    art.river.cubicTo(w * 0.25, h * 0.80, w * 0.35, h * 0.35, w * 0.58, h * 0.45);
    art.river.cubicTo(w * 0.78, h * 0.54, w * 0.85, h * 0.20, w + 20, h * 0.24);
    art.northShore = art.river;
    art.northShore.lineTo(w + 20, -20);
    art.northShore.lineTo(-20, -20);
    art.northShore.closeSubpath();
    return art;
}

void StreetGrid(QPainter& p, Rng& rng, const QRectF& area, double angle, QPointF origin) {
    p.save();
    p.translate(origin);
    p.rotate(angle);
    const double reach = 700;
    std::vector<double> xs, ys;
    for (double v = -reach; v < reach; v += rng.Range(24, 38)) xs.push_back(v);
    for (double v = -reach; v < reach; v += rng.Range(20, 30)) ys.push_back(v);
    // Tinted blocks and a few large buildings between the streets.
    for (std::size_t i = 0; i + 1 < xs.size(); ++i) {
        for (std::size_t j = 0; j + 1 < ys.size(); ++j) {
            const QRectF block(xs[i], ys[j], xs[i + 1] - xs[i], ys[j + 1] - ys[j]);
            const double t = rng.Uniform();
            QColor c = t < 0.08  ? QColor(190, 212, 164)   // a square with trees
                       : t < 0.2 ? QColor(222, 206, 196)   // civic buildings
                                 : QColor(234, 224, 202);  // houses
            p.fillRect(block, Scaled(c, rng.Range(0.97, 1.02)));
            if (t >= 0.2 && rng.Chance(0.35)) {
                p.fillRect(block.adjusted(5, 5, -5, -5), QColor(212, 196, 176));
            }
        }
    }
    for (int pass = 0; pass < 2; ++pass) {
        p.setPen(pass == 0 ? QPen(QColor(168, 156, 140), 5.5) : QPen(QColor(252, 250, 244), 3.5));
        for (double x : xs) p.drawLine(QPointF(x, -reach), QPointF(x, reach));
        for (double y : ys) p.drawLine(QPointF(-reach, y), QPointF(reach, y));
    }
    p.restore();
    (void)area;
}

QImage MapSheet(Rng& rng) {
    const int w = 420, h = 372;
    QImage sheet(w, h, QImage::Format_RGB32);
    sheet.fill(QColor(238, 230, 210));
    QPainter p(&sheet);
    p.setRenderHint(QPainter::Antialiasing);
    const MapArt art = RiverOf(w, h);
    QPainterPath whole;
    whole.addRect(0, 0, w, h);
    // Two districts with their own street grids, divided by the river.
    p.save();
    p.setClipPath(art.northShore);
    StreetGrid(p, rng, QRectF(0, 0, w, h), 14, QPointF(w * 0.4, h * 0.2));
    p.restore();
    p.save();
    p.setClipPath(whole.subtracted(art.northShore));
    StreetGrid(p, rng, QRectF(0, 0, w, h), -3, QPointF(w * 0.5, h * 0.7));
    p.restore();
    // A park along the river.
    QPainterPath park;
    park.addEllipse(QPointF(w * 0.20, h * 0.52), 46, 26);
    p.setPen(QPen(QColor(130, 160, 110), 1.5));
    p.setBrush(QColor(176, 204, 150));
    p.drawPath(park);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(150, 184, 128));
    for (int i = 0; i < 24; ++i) {
        p.drawEllipse(QPointF(w * 0.20 + rng.Range(-36, 36), h * 0.52 + rng.Range(-18, 18)), 2.5,
                      2.5);
    }
    // The river and its banks.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(110, 150, 182), 34, Qt::SolidLine, Qt::FlatCap));
    p.drawPath(art.river);
    p.setPen(QPen(QColor(164, 198, 222), 30, Qt::SolidLine, Qt::FlatCap));
    p.drawPath(art.river);
    p.setPen(QPen(QColor(180, 210, 230), 1.2, Qt::DashLine));
    p.drawPath(art.river);
    // Main roads, crossing the river on bridges.
    QPainterPath roads;
    roads.moveTo(-10, h * 0.15);
    roads.cubicTo(w * 0.3, h * 0.35, w * 0.5, h * 0.75, w + 10, h * 0.92);
    roads.moveTo(w * 0.30, h + 10);
    roads.cubicTo(w * 0.40, h * 0.6, w * 0.60, h * 0.3, w * 0.66, -10);
    p.setPen(QPen(QColor(170, 120, 60), 10, Qt::SolidLine, Qt::FlatCap));
    p.drawPath(roads);
    p.setPen(QPen(QColor(246, 204, 104), 7, Qt::SolidLine, Qt::FlatCap));
    p.drawPath(roads);
    // A railway line.
    QPainterPath rail;
    rail.moveTo(w * 0.05, h + 10);
    rail.cubicTo(w * 0.15, h * 0.5, w * 0.55, h * 0.05, w + 10, h * 0.10);
    p.setPen(QPen(QColor(60, 60, 60), 4));
    p.drawPath(rail);
    p.setPen(QPen(QColor(246, 246, 246), 2, Qt::CustomDashLine));
    QPen dashes(QColor(246, 246, 246), 2);
    dashes.setDashPattern({4, 4});
    p.setPen(dashes);
    p.drawPath(rail);
    // Place names, as little grey dashes.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(70, 64, 60));
    for (int i = 0; i < 14; ++i) {
        double x = rng.Range(20, w - 80);
        const double y = rng.Range(20, h - 30);
        const int letters = rng.Int(4, 9);
        for (int k = 0; k < letters; ++k) {
            const double lw = rng.Range(2.5, 4.5);
            p.drawRect(QRectF(x, y, lw, rng.Chance(0.2) ? 5 : 3.5));
            x += lw + 1;
        }
    }
    // Compass and frame with the graduated border.
    p.save();
    p.translate(w - 36, 38);
    p.setBrush(QColor(250, 246, 236));
    p.setPen(QPen(QColor(60, 60, 60), 1));
    p.drawEllipse(QPointF(0, 0), 18, 18);
    QPolygonF needle;
    needle << QPointF(0, -16) << QPointF(4, 0) << QPointF(0, 16) << QPointF(-4, 0);
    p.setBrush(QColor(60, 60, 60));
    p.drawPolygon(needle);
    p.setBrush(QColor(190, 40, 36));
    p.drawPolygon(QPolygonF({QPointF(0, -16), QPointF(4, 0), QPointF(-4, 0)}));
    p.restore();
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(40, 40, 40), 2));
    p.drawRect(QRectF(8, 8, w - 16, h - 16));
    p.setPen(Qt::NoPen);
    for (int i = 0; 10 + i * 12 < w - 10; ++i) {
        p.setBrush(i % 2 ? QColor(40, 40, 40) : QColor(250, 248, 240));
        p.drawRect(QRectF(10 + i * 12, 4, 12, 3));
        p.drawRect(QRectF(10 + i * 12, h - 7, 12, 3));
    }
    for (int i = 0; 10 + i * 12 < h - 10; ++i) {
        p.setBrush(i % 2 ? QColor(40, 40, 40) : QColor(250, 248, 240));
        p.drawRect(QRectF(4, 10 + i * 12, 3, 12));
        p.drawRect(QRectF(w - 7, 10 + i * 12, 3, 12));
    }
    p.end();
    return sheet;
}

// Shades the sheet's six panels as folded paper catches the light from the
// top left, and marks the creases.
void FoldShading(QImage& sheet, int columns, int rows) {
    const int w = sheet.width(), h = sheet.height();
    const double colFrom[] = {1.05, 0.86, 1.04}, colTo[] = {0.93, 1.01, 0.92};
    const double rowFrom[] = {1.03, 0.94}, rowTo[] = {0.96, 1.02};
    for (int y = 0; y < h; ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(sheet.scanLine(y));
        const int row = std::min(rows - 1, y * rows / h);
        const double ty = (y - row * h / double(rows)) / (h / double(rows));
        const double fy = rowFrom[row] + (rowTo[row] - rowFrom[row]) * ty;
        for (int x = 0; x < w; ++x) {
            const int col = std::min(columns - 1, x * columns / w);
            const double tx = (x - col * w / double(columns)) / (w / double(columns));
            double f = (colFrom[col] + (colTo[col] - colFrom[col]) * tx) * fy;
            const double dx = std::abs(tx < 0.5 ? tx : 1 - tx) * (w / double(columns));
            const double dy = std::abs(ty < 0.5 ? ty : 1 - ty) * (h / double(rows));
            if ((col > 0 && tx < 0.5) || (col < columns - 1 && tx >= 0.5)) {
                if (dx < 1.0)
                    f *= 0.72;
                else if (dx < 2.5)
                    f *= 1.06;
            }
            if ((row > 0 && ty < 0.5) || (row < rows - 1 && ty >= 0.5)) {
                if (dy < 1.0)
                    f *= 0.74;
                else if (dy < 2.5)
                    f *= 1.05;
            }
            const QRgb p = line[x];
            line[x] =
                qRgb(ClampByte(qRed(p) * f), ClampByte(qGreen(p) * f), ClampByte(qBlue(p) * f));
        }
    }
}

// ----------------------------------------------------------------- title

// Centre lines of the letters of the title, in a box `w` wide and `h` high,
// to be stroked `s` wide.
QPainterPath Letter(char c, double w, double h, double s) {
    const double l = s / 2, r = w - s / 2, t = s / 2, b = h - s / 2, m = h / 2;
    QPainterPath path;
    auto bowl = [&](double top, double bottom, double right) {
        path.moveTo(l, top);
        path.lineTo(right - 9, top);
        path.cubicTo(right + 2, top, right + 2, bottom, right - 9, bottom);
        path.lineTo(l, bottom);
    };
    switch (c) {
        case 'B':
            path.moveTo(l, t);
            path.lineTo(l, b);
            bowl(t, m, r - 2);
            bowl(m, b, r);
            break;
        case 'R':
            path.moveTo(l, b);
            path.lineTo(l, t);
            bowl(t, m, r);
            path.moveTo(r - 11, m);
            path.lineTo(r, b);
            break;
        case 'E':
            path.moveTo(r, t);
            path.lineTo(l, t);
            path.lineTo(l, b);
            path.lineTo(r, b);
            path.moveTo(l, m);
            path.lineTo(r - 3, m);
            break;
        case 'N':
            path.moveTo(l, b + s / 2);
            path.lineTo(l, t);
            path.lineTo(r, b);
            path.lineTo(r, t - s / 2);
            break;
        case 'M':
            path.moveTo(l, b + s / 2);
            path.lineTo(l, t);
            path.lineTo(w / 2, m + 7);
            path.lineTo(r, t);
            path.lineTo(r, b + s / 2);
            break;
        case 'O':
            path.addRoundedRect(QRectF(l, t, r - l, b - t), (r - l) / 2.2, (r - l) / 2.2);
            break;
        default:
            break;
    }
    return path;
}

}  // namespace

QImage DrawNightSkyline() {
    Rng rng(0x5C7111E);
    const int size = 512, ground = 476;
    QImage image(size, size, QImage::Format_RGB32);
    // Night sky, brighter towards the glow of the city, with thin cloud.
    for (int y = 0; y < size; ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < size; ++x) {
            const double t = y / double(ground);
            const double cloud = FractalNoise(x / 120.0, y / 40.0, 4, 31);
            const double v =
                14 + 74 * std::pow(t, 1.6) + 22 * std::max(0.0, cloud - 0.45) * (1 - t * 0.5);
            line[x] = qRgb(ClampByte(v), ClampByte(v), ClampByte(v));
        }
    }
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 70; ++i) {  // stars
        p.setBrush(Grey(rng.Int(70, 160)));
        p.drawEllipse(QPointF(rng.Range(0, size), rng.Range(0, 220)), 0.8, 0.8);
    }
    QRadialGradient halo(QPointF(112, 92), 70);
    halo.setColorAt(0, QColor(255, 255, 255, 90));
    halo.setColorAt(1, QColor(255, 255, 255, 0));
    p.setBrush(halo);
    p.drawEllipse(QPointF(112, 92), 70, 70);
    p.setBrush(Grey(214));
    p.drawEllipse(QPointF(112, 92), 19, 19);
    p.setBrush(Grey(190));
    p.drawEllipse(QPointF(106, 88), 4, 3);
    p.drawEllipse(QPointF(118, 99), 3, 2.5);
    // Three rows of buildings, the far ones paler in the haze.
    DrawBuildingRow(p, rng, ground - 40, 14, 40, 60, 170, 32, 0.10, 58, 80, 1, 2);
    DrawBuildingRow(p, rng, ground - 16, 24, 60, 80, 250, 15, 0.26, 90, 170, 2, 3);
    DrawBuildingRow(p, rng, ground, 36, 92, 70, 300, 4, 0.2, 120, 220, 3, 4);
    // The street, and the light of its lamps on the house fronts.
    p.setBrush(Grey(3));
    p.drawRect(0, ground, size, size - ground);
    for (int x = 20; x < size; x += rng.Int(50, 90)) {
        QRadialGradient lamp(QPointF(x, ground + 4), 10);
        lamp.setColorAt(0, QColor(255, 255, 255, 120));
        lamp.setColorAt(1, QColor(255, 255, 255, 0));
        p.setBrush(lamp);
        p.drawEllipse(QPointF(x, ground + 4), 10, 6);
    }
    p.end();

    QImage grey = Blur(image, 1).convertToFormat(QImage::Format_Grayscale8);
    // Coarse and fine grain, a few scratches and specks of dust.
    QImage coarse(size / 3 + 2, size / 3 + 2, QImage::Format_Grayscale8);
    for (int y = 0; y < coarse.height(); ++y) {
        uchar* line = coarse.scanLine(y);
        for (int x = 0; x < coarse.width(); ++x)
            line[x] = static_cast<uchar>(ClampByte(128 + rng.Gauss() * 40));
    }
    coarse = coarse.scaled(size, size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    for (int y = 0; y < size; ++y) {
        uchar* line = grey.scanLine(y);
        const uchar* c = coarse.constScanLine(y);
        for (int x = 0; x < size; ++x) {
            double v = line[x];
            v += (c[x] - 128) * 0.16 + rng.Gauss() * 8;
            line[x] = static_cast<uchar>(ClampByte(v));
        }
    }
    {
        QPainter s(&grey);
        s.setRenderHint(QPainter::Antialiasing);
        for (int i = 0; i < 2; ++i) {
            const double x = rng.Range(20, 430), y = rng.Range(0, 300);
            s.setPen(QPen(Grey(rng.Int(50, 80)), 0.7));
            s.drawLine(QPointF(x, y), QPointF(x + rng.Range(-2, 2), y + rng.Range(60, 160)));
        }
        s.setPen(Qt::NoPen);
        for (int i = 0; i < 40; ++i) {
            s.setBrush(Grey(rng.Chance(0.5) ? 0 : 180));
            s.drawEllipse(QPointF(rng.Range(0, 440), rng.Range(0, 512)), rng.Range(0.5, 1.4),
                          rng.Range(0.5, 1.4));
        }
    }
    TornStrip(grey, rng);
    return grey;
}

QImage DrawFoldedMap() {
    Rng rng(0x3A9);
    const int size = 512;
    QImage image(size, size, QImage::Format_RGB32);
    // A white table top, lit from the top left.
    for (int y = 0; y < size; ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < size; ++x) {
            const double v = 246 - 22 * (x + y) / (2.0 * size) +
                             4 * (FractalNoise(x / 30.0, y / 30.0, 3, 9) - 0.5) + rng.Gauss();
            line[x] = qRgb(ClampByte(v), ClampByte(v - 1), ClampByte(v - 3));
        }
    }
    QImage sheet = MapSheet(rng);
    constexpr int kColumns = 3, kRows = 2;
    FoldShading(sheet, kColumns, kRows);

    // The sheet's fold grid, turned and laid on the table; the corners of each
    // panel are nudged so that the panels do not lie quite flat.
    const QTransform place = QTransform().translate(256, 262).rotate(-7).translate(
        -sheet.width() / 2.0, -sheet.height() / 2.0);
    QPointF corners[kRows + 1][kColumns + 1];
    for (int j = 0; j <= kRows; ++j) {
        for (int i = 0; i <= kColumns; ++i) {
            const QPointF flat(sheet.width() * i / double(kColumns),
                               sheet.height() * j / double(kRows));
            const bool edge = i == 0 || j == 0 || i == kColumns || j == kRows;
            const double wobble = edge ? 3.5 : 1.5;
            corners[j][i] =
                place.map(flat) + QPointF(rng.Range(-wobble, wobble), rng.Range(-wobble, wobble));
        }
    }
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    DropShadow(
        p, image.size(),
        [&](QPainter& s) {
            QPolygonF outline;
            for (int i = 0; i <= kColumns; ++i) outline << corners[0][i];
            for (int j = 1; j <= kRows; ++j) outline << corners[j][kColumns];
            for (int i = kColumns - 1; i >= 0; --i) outline << corners[kRows][i];
            for (int j = kRows - 1; j > 0; --j) outline << corners[j][0];
            s.drawPolygon(outline);
        },
        5, 7, 8, 0.35);
    for (int j = 0; j < kRows; ++j) {
        for (int i = 0; i < kColumns; ++i) {
            const QRectF part(sheet.width() * i / double(kColumns),
                              sheet.height() * j / double(kRows), sheet.width() / double(kColumns),
                              sheet.height() / double(kRows));
            QPolygonF from;
            from << part.topLeft() << part.topRight() << part.bottomRight() << part.bottomLeft();
            QPolygonF to;
            to << corners[j][i] << corners[j][i + 1] << corners[j + 1][i + 1] << corners[j + 1][i];
            QTransform map;
            if (!QTransform::quadToQuad(from, to, map)) continue;
            p.save();
            p.setTransform(map);
            p.drawImage(part.adjusted(-0.5, -0.5, 0.5, 0.5), sheet,
                        part.adjusted(-0.5, -0.5, 0.5, 0.5));
            p.restore();
        }
    }
    p.end();
    AddGrain(image, 1.5, rng);
    return image;
}

QImage DrawTitleLettering() {
    const char* const title = "BRENMOOR";
    const double widths[] = {24, 24, 20, 25, 31, 26, 26, 24};
    const double height = 38, stroke = 7, gap = 5, top = 12;
    double total = gap * 7;
    for (double w : widths) total += w;
    QPainterPathStroker stroker;
    stroker.setWidth(stroke);
    stroker.setCapStyle(Qt::FlatCap);
    stroker.setJoinStyle(Qt::MiterJoin);
    stroker.setMiterLimit(1.6);
    QPainterPath lettering;
    lettering.setFillRule(Qt::WindingFill);  // the strokes of a letter overlap
    double x = (256 - total) / 2;
    for (int i = 0; i < 8; ++i) {
        QPainterPath outline = stroker.createStroke(Letter(title[i], widths[i], height, stroke));
        lettering.addPath(outline.translated(x, top));
        x += widths[i] + gap;
    }
    lettering = lettering.simplified();
    // The feet of N and M reach a little below; cut them level.
    QPainterPath band;
    band.addRect(0, top, 256, height);
    lettering = lettering.intersected(band);

    QImage image(256, 64, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    DropShadow(
        p, image.size(),
        [&](QPainter& s) {
            s.setBrush(QColor(230, 20, 10));
            s.drawPath(lettering);
        },
        0, 0, 6, 0.9);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(70, 0, 0));
    p.drawPath(lettering.translated(1.5, 1.5));
    QLinearGradient fill(0, top, 0, top + height);
    fill.setColorAt(0, QColor(255, 110, 84));
    fill.setColorAt(0.45, QColor(222, 30, 22));
    fill.setColorAt(0.55, QColor(186, 14, 10));
    fill.setColorAt(1, QColor(118, 6, 6));
    p.setBrush(fill);
    p.drawPath(lettering);
    // A thin rule under the lettering, fading out at both ends.
    QLinearGradient rule(0, 0, 256, 0);
    rule.setColorAt(0, QColor(140, 0, 0, 0));
    rule.setColorAt(0.5, QColor(200, 20, 14));
    rule.setColorAt(1, QColor(140, 0, 0, 0));
    p.fillRect(QRectF(16, top + height + 5, 224, 1.5), rule);
    p.end();
    return image;
}

QImage DrawProgressDots() {
    QImage image(256, 8, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 32; ++i) {
        const QPointF c(4 + 8 * i, 4);
        QRadialGradient dot(c - QPointF(0.7, 0.7), 3.2);
        dot.setColorAt(0, QColor(255, 120, 100));
        dot.setColorAt(0.5, QColor(226, 24, 16));
        dot.setColorAt(1, QColor(120, 0, 0));
        p.setBrush(dot);
        p.drawEllipse(c, 2.8, 2.8);
    }
    p.end();
    return image;
}
