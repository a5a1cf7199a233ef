// Draws the pictures of the dark skin shipped in skin/dark/: the background,
// the four loading pictures, the two button glyphs and the status bar's strip
// and separator. Photographs go out as JPEG, the small parts as BMP.
//
//   kavel-make-dark-skin OUTPUT_FOLDER
//
// Every run draws exactly the same pixels: no fonts, and a fixed random source.

#include <QColor>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QString>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <memory>

// After <cstdio>: it needs size_t and FILE.
#include <jpeglib.h>

namespace {

// The skin's palette; skin/dark/skin.txt uses the same colours.
const QColor kDeep(0x0E, 0x10, 0x14);
const QColor kAccent(0xFF, 0xB3, 0x47);
const QColor kLight(0xE6, 0xE6, 0xE6);
const QColor kMuted(0x5A, 0x60, 0x6B);
const QColor kKey(0xFF, 0x00, 0xFF);  // glyph background, shown transparent

class Random {
  public:
    explicit Random(std::uint32_t seed) : state_(seed) {}
    // Uniform in [0, 1).
    double Next() {
        state_ = state_ * 1664525u + 1013904223u;
        return (state_ >> 8) / 16777216.0;
    }
    int Between(int low, int high) { return low + static_cast<int>(Next() * (high - low + 1)); }

  private:
    std::uint32_t state_;
};

bool WriteJpeg(const QImage& picture, const QString& path, int quality) {
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB888);
    std::unique_ptr<FILE, int (*)(FILE*)> file(
        std::fopen(QFile::encodeName(path).constData(), "wb"), &std::fclose);
    if (!file) return false;

    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, file.get());
    info.image_width = static_cast<JDIMENSION>(rgb.width());
    info.image_height = static_cast<JDIMENSION>(rgb.height());
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    info.optimize_coding = TRUE;
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        auto* row = const_cast<JSAMPLE*>(rgb.constScanLine(static_cast<int>(info.next_scanline)));
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return true;
}

bool WriteBmp(const QImage& picture, const QString& path) {
    return picture.convertToFormat(QImage::Format_RGB888).save(path, "BMP");
}

QImage Canvas(int width, int height, const QColor& fill) {
    QImage picture(width, height, QImage::Format_RGB32);
    picture.fill(fill);
    return picture;
}

void FillVertical(QPainter& painter, const QRectF& area, const QColor& top, const QColor& bottom) {
    QLinearGradient gradient(area.topLeft(), area.bottomLeft());
    gradient.setColorAt(0, top);
    gradient.setColorAt(1, bottom);
    painter.fillRect(area, gradient);
}

// A dusk over a low range of hills, with a warm glow on the horizon.
QImage Background() {
    QImage picture = Canvas(1024, 768, kDeep);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    FillVertical(painter, QRectF(0, 0, 1024, 520), QColor(0x12, 0x15, 0x1C),
                 QColor(0x2A, 0x26, 0x28));

    QRadialGradient glow(QPointF(700, 520), 420);
    glow.setColorAt(0, QColor(0xFF, 0xA0, 0x40, 110));
    glow.setColorAt(1, QColor(0xFF, 0xA0, 0x40, 0));
    painter.fillRect(QRectF(0, 0, 1024, 768), glow);

    const QColor ranges[] = {QColor(0x1A, 0x1C, 0x22), QColor(0x14, 0x16, 0x1B),
                             QColor(0x0C, 0x0D, 0x11)};
    for (int layer = 0; layer < 3; ++layer) {
        QPainterPath hills(QPointF(0, 768));
        const double base = 500 + 70 * layer;
        for (int x = 0; x <= 1024; x += 16) {
            const double y = base - 40 * std::sin(x / (140.0 + 60 * layer) + layer * 1.7) -
                             18 * std::sin(x / 37.0 + layer);
            hills.lineTo(x, y);
        }
        hills.lineTo(1024, 768);
        hills.closeSubpath();
        painter.fillPath(hills, ranges[layer]);
    }
    return picture;
}

// Loading picture 100: a town at night, windows lit along its blocks.
QImage NightTown() {
    QImage picture = Canvas(512, 512, kDeep);
    QPainter painter(&picture);
    FillVertical(painter, QRectF(0, 0, 512, 512), QColor(0x10, 0x1A, 0x26),
                 QColor(0x06, 0x08, 0x0C));
    Random random(100);
    for (int x = 0; x < 512;) {
        const int width = random.Between(28, 64);
        const int top = random.Between(190, 380);
        painter.fillRect(x, top, width - 4, 512 - top, QColor(0x16, 0x19, 0x20));
        for (int y = top + 8; y < 500; y += 14) {
            for (int wx = x + 5; wx < x + width - 10; wx += 10) {
                if (random.Next() < 0.3) painter.fillRect(wx, y, 5, 7, kAccent.darker(110));
            }
        }
        x += width;
    }
    return picture;
}

// Loading picture 101: a street map in amber on slate.
QImage StreetMap() {
    QImage picture = Canvas(512, 512, QColor(0x1C, 0x20, 0x27));
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(0x2A, 0x30, 0x3A), 1));
    for (int i = 0; i <= 512; i += 32) {
        painter.drawLine(i, 0, i, 512);
        painter.drawLine(0, i, 512, i);
    }
    Random random(101);
    for (int road = 0; road < 9; ++road) {
        QPainterPath path(QPointF(random.Between(0, 512), 0));
        path.cubicTo(random.Between(0, 512), 170, random.Between(0, 512), 340,
                     random.Between(0, 512), 512);
        painter.setPen(QPen(road % 3 == 0 ? kAccent : kMuted, road % 3 == 0 ? 5 : 3));
        painter.drawPath(path);
    }
    painter.setPen(QPen(kLight, 3));
    painter.setBrush(kAccent);
    painter.drawEllipse(QPointF(300, 230), 12, 12);
    return picture;
}

// Loading picture 102: an emblem of chevrons where the title would stand.
QImage Emblem() {
    QImage picture = Canvas(256, 64, kDeep);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    for (int i = 0; i < 7; ++i) {
        const double x = 24 + i * 30;
        QPainterPath chevron;
        chevron.moveTo(x, 12);
        chevron.lineTo(x + 16, 32);
        chevron.lineTo(x, 52);
        chevron.lineTo(x + 10, 52);
        chevron.lineTo(x + 26, 32);
        chevron.lineTo(x + 10, 12);
        chevron.closeSubpath();
        painter.fillPath(chevron, i % 2 == 0 ? kAccent : kAccent.darker(160));
    }
    return picture;
}

// The progress bar's strip: amber dots on black.
QImage ProgressDots() {
    QImage picture = Canvas(256, 8, Qt::black);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(kAccent);
    for (int x = 4; x < 256; x += 8) painter.drawEllipse(QPointF(x, 4), 2.5, 2.5);
    return picture;
}

void Sheet(QPainter& painter, const QRect& area) {
    painter.setPen(QPen(kDeep, 1));
    painter.setBrush(kLight);
    painter.drawRect(area);
    painter.setPen(QPen(kMuted, 1));
    for (int y = area.top() + 3; y < area.bottom() - 1; y += 2) {
        painter.drawLine(area.left() + 2, y, area.right() - 2, y);
    }
}

// 21 x 21 glyphs; the bottom-left pixel's colour is their transparent background.
QImage CopyGlyph() {
    QImage picture = Canvas(21, 21, kKey);
    QPainter painter(&picture);
    Sheet(painter, QRect(2, 2, 10, 12));
    Sheet(painter, QRect(8, 6, 10, 12));
    return picture;
}

QImage PasteGlyph() {
    QImage picture = Canvas(21, 21, kKey);
    QPainter painter(&picture);
    painter.setPen(QPen(kDeep, 1));
    painter.setBrush(kAccent.darker(130));
    painter.drawRect(3, 3, 12, 15);
    painter.setBrush(kMuted);
    painter.drawRect(6, 1, 6, 3);
    Sheet(painter, QRect(9, 8, 9, 11));
    return picture;
}

// 1 x 5 strip along the top of the status bar: an accent line fading out.
QImage StatusStrip() {
    QImage picture = Canvas(1, 5, kDeep);
    const QColor rows[] = {kAccent, kAccent.darker(180), QColor(0x30, 0x2A, 0x22),
                           QColor(0x1E, 0x1D, 0x1D), QColor(0x16, 0x18, 0x1C)};
    for (int y = 0; y < 5; ++y) picture.setPixelColor(0, y, rows[y]);
    return picture;
}

// 1 x 48 separator left of the credits: bright in the middle, dark at the ends.
QImage CreditsSeparator() {
    QImage picture = Canvas(1, 48, kDeep);
    for (int y = 0; y < 48; ++y) {
        const double t = 1.0 - std::abs(y - 23.5) / 24.0;
        const int v = 0x16 + static_cast<int>(t * (0x8A - 0x16));
        picture.setPixelColor(0, y, QColor(v, v, v + 6));
    }
    return picture;
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: kavel-make-dark-skin OUTPUT_FOLDER\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    if (!out.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "cannot create %s\n", argv[1]);
        return 1;
    }
    const auto path = [&out](const char* name) { return out.filePath(QString::fromLatin1(name)); };

    bool ok = WriteJpeg(Background(), path("background.jpg"), 82);
    ok = WriteJpeg(NightTown(), path("atcr100.jpg"), 85) && ok;
    ok = WriteJpeg(StreetMap(), path("atcr101.jpg"), 85) && ok;
    ok = WriteJpeg(Emblem(), path("atcr102.jpg"), 90) && ok;
    ok = WriteJpeg(ProgressDots(), path("trbp300.jpg"), 95) && ok;
    ok = WriteBmp(CopyGlyph(), path("copy.bmp")) && ok;
    ok = WriteBmp(PasteGlyph(), path("paste.bmp")) && ok;
    ok = WriteBmp(StatusStrip(), path("sb_strip.bmp")) && ok;
    ok = WriteBmp(CreditsSeparator(), path("sb_info.bmp")) && ok;
    if (!ok) {
        std::fprintf(stderr, "cannot write the pictures into %s\n", argv[1]);
        return 1;
    }
    return 0;
}
