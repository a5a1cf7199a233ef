#include "canvas.h"

#include <QFile>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>
// jpeglib.h expects size_t and FILE to be declared before it.
#include <jpeglib.h>

std::uint64_t Rng::Next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

double Rng::Uniform() {
    return static_cast<double>(Next() >> 11) * (1.0 / 9007199254740992.0);
}

int Rng::Int(int low, int high) {
    return low + static_cast<int>(Next() % static_cast<std::uint64_t>(high - low + 1));
}

double Rng::Gauss() {
    // Box-Muller; one value per call is plenty here.
    const double u = std::max(Uniform(), 1e-12);
    const double v = Uniform();
    return std::sqrt(-2.0 * std::log(u)) * std::cos(6.283185307179586 * v);
}

namespace {

double Lattice(int x, int y, std::uint32_t seed) {
    std::uint32_t h = seed ^ (static_cast<std::uint32_t>(x) * 0x27D4EB2Du) ^
                      (static_cast<std::uint32_t>(y) * 0x165667B1u);
    h ^= h >> 15;
    h *= 0x85EBCA6Bu;
    h ^= h >> 13;
    h *= 0xC2B2AE35u;
    h ^= h >> 16;
    return (h & 0xFFFFFF) / double(0xFFFFFF);
}

double Smooth(double t) {
    return t * t * (3.0 - 2.0 * t);
}

}  // namespace

double ValueNoise(double x, double y, std::uint32_t seed) {
    const double fx = std::floor(x), fy = std::floor(y);
    const int ix = static_cast<int>(fx), iy = static_cast<int>(fy);
    const double tx = Smooth(x - fx), ty = Smooth(y - fy);
    const double a = Lattice(ix, iy, seed), b = Lattice(ix + 1, iy, seed);
    const double c = Lattice(ix, iy + 1, seed), d = Lattice(ix + 1, iy + 1, seed);
    return (a + (b - a) * tx) + ((c + (d - c) * tx) - (a + (b - a) * tx)) * ty;
}

double FractalNoise(double x, double y, int octaves, std::uint32_t seed) {
    double sum = 0, amplitude = 1, total = 0;
    for (int i = 0; i < octaves; ++i) {
        sum += amplitude * ValueNoise(x, y, seed + 101u * static_cast<std::uint32_t>(i));
        total += amplitude;
        amplitude *= 0.5;
        x *= 2.0;
        y *= 2.0;
    }
    return sum / total;
}

double Clamp01(double v) {
    return v < 0 ? 0 : (v > 1 ? 1 : v);
}

int ClampByte(double v) {
    return v < 0 ? 0 : (v > 255 ? 255 : static_cast<int>(std::lround(v)));
}

QColor Mix(const QColor& a, const QColor& b, double t) {
    return QColor(ClampByte(a.red() + (b.red() - a.red()) * t),
                  ClampByte(a.green() + (b.green() - a.green()) * t),
                  ClampByte(a.blue() + (b.blue() - a.blue()) * t),
                  ClampByte(a.alpha() + (b.alpha() - a.alpha()) * t));
}

QColor Scaled(const QColor& c, double factor) {
    return QColor(ClampByte(c.red() * factor), ClampByte(c.green() * factor),
                  ClampByte(c.blue() * factor), c.alpha());
}

namespace {

// One box pass along rows (or columns when `vertical`), on 4 interleaved
// channels of premultiplied pixels.
void BoxPass(QImage& image, int radius, bool vertical) {
    const int w = image.width(), h = image.height();
    const int lines = vertical ? w : h;
    const int length = vertical ? h : w;
    std::vector<std::uint32_t> line(static_cast<std::size_t>(length));
    const int window = 2 * radius + 1;
    for (int l = 0; l < lines; ++l) {
        auto pixel = [&](int i) -> QRgb& {
            const int x = vertical ? l : i, y = vertical ? i : l;
            return reinterpret_cast<QRgb*>(image.scanLine(y))[x];
        };
        for (int i = 0; i < length; ++i) line[static_cast<std::size_t>(i)] = pixel(i);
        long sum[4] = {0, 0, 0, 0};
        auto add = [&](int i, int sign) {
            const std::uint32_t p = line[static_cast<std::size_t>(std::clamp(i, 0, length - 1))];
            for (int c = 0; c < 4; ++c) sum[c] += sign * static_cast<long>((p >> (8 * c)) & 0xFF);
        };
        for (int i = -radius; i <= radius; ++i) add(i, 1);
        for (int i = 0; i < length; ++i) {
            std::uint32_t out = 0;
            for (int c = 0; c < 4; ++c) {
                out |= static_cast<std::uint32_t>((sum[c] + window / 2) / window) << (8 * c);
            }
            pixel(i) = out;
            add(i - radius, -1);
            add(i + radius + 1, 1);
        }
    }
}

}  // namespace

QImage Blur(const QImage& source, int radius) {
    QImage image = source.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (radius <= 0) return image;
    const int box = std::max(1, radius / 2);
    for (int pass = 0; pass < 3; ++pass) {
        BoxPass(image, box, false);
        BoxPass(image, box, true);
    }
    return image;
}

void DropShadow(QPainter& painter, QSize size, const std::function<void(QPainter&)>& silhouette,
                double dx, double dy, int blurRadius, double opacity) {
    QImage layer(size, QImage::Format_ARGB32_Premultiplied);
    layer.fill(Qt::transparent);
    {
        QPainter p(&layer);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(8, 6, 5));
        p.translate(dx, dy);
        silhouette(p);
    }
    layer = Blur(layer, blurRadius);
    painter.save();
    painter.resetTransform();
    painter.setOpacity(opacity);
    painter.drawImage(0, 0, layer);
    painter.restore();
}

void AddGrain(QImage& image, double deviation, Rng& rng) {
    for (int y = 0; y < image.height(); ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const double n = rng.Gauss() * deviation;
            const QRgb p = line[x];
            line[x] = qRgba(ClampByte(qRed(p) + n), ClampByte(qGreen(p) + n),
                            ClampByte(qBlue(p) + n), qAlpha(p));
        }
    }
}

void Vignette(QImage& image, double strength) {
    const double cx = image.width() / 2.0, cy = image.height() / 2.0;
    const double half = std::hypot(cx, cy);
    for (int y = 0; y < image.height(); ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const double d = std::hypot(x + 0.5 - cx, y + 0.5 - cy) / half;
            const double f = 1.0 - strength * d * d;
            const QRgb p = line[x];
            line[x] = qRgba(ClampByte(qRed(p) * f), ClampByte(qGreen(p) * f),
                            ClampByte(qBlue(p) * f), qAlpha(p));
        }
    }
}

namespace {

[[noreturn]] void Fail(const QString& what) {
    std::fprintf(stderr, "kavel-make-assets: %s\n", qPrintable(what));
    std::exit(1);
}

void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        Fail(QStringLiteral("cannot write %1").arg(path));
    }
}

void PutU16(QByteArray& out, unsigned v) {
    out.append(static_cast<char>(v & 0xFF));
    out.append(static_cast<char>((v >> 8) & 0xFF));
}

void PutU32(QByteArray& out, std::uint32_t v) {
    PutU16(out, v & 0xFFFF);
    PutU16(out, v >> 16);
}

// BITMAPINFOHEADER; `height` is the stored height (an icon stores twice its
// own, for the colour rows and the mask rows).
void PutInfoHeader(QByteArray& out, int width, int height, int bits, std::uint32_t imageBytes) {
    PutU32(out, 40);
    PutU32(out, static_cast<std::uint32_t>(width));
    PutU32(out, static_cast<std::uint32_t>(height));
    PutU16(out, 1);
    PutU16(out, static_cast<unsigned>(bits));
    PutU32(out, 0);  // BI_RGB
    PutU32(out, imageBytes);
    PutU32(out, 3780);  // 96 dpi
    PutU32(out, 3780);
    PutU32(out, 0);
    PutU32(out, 0);
}

}  // namespace

void WriteJpeg(const QImage& image, const QString& path, int quality, bool grayscale,
               bool fullChroma) {
    const QImage source =
        image.convertToFormat(grayscale ? QImage::Format_Grayscale8 : QImage::Format_RGB888);
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);  // a generator may simply stop on error
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(source.width());
    info.image_height = static_cast<JDIMENSION>(source.height());
    info.input_components = grayscale ? 1 : 3;
    info.in_color_space = grayscale ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    info.optimize_coding = TRUE;
    if (fullChroma && !grayscale) {
        info.comp_info[0].h_samp_factor = 1;
        info.comp_info[0].v_samp_factor = 1;
    }
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row =
            const_cast<uchar*>(source.constScanLine(static_cast<int>(info.next_scanline)));
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    const QByteArray bytes(reinterpret_cast<const char*>(buffer), static_cast<qsizetype>(size));
    jpeg_destroy_compress(&info);
    std::free(buffer);
    WriteFile(path, bytes);
}

void WriteBmp24(const QImage& image, const QString& path) {
    const QImage source = image.convertToFormat(QImage::Format_RGB32);
    const int w = source.width(), h = source.height();
    const int stride = (w * 3 + 3) & ~3;
    const std::uint32_t imageBytes = static_cast<std::uint32_t>(stride * h);
    QByteArray out;
    out.append("BM");
    PutU32(out, 14 + 40 + imageBytes);
    PutU32(out, 0);
    PutU32(out, 14 + 40);
    PutInfoHeader(out, w, h, 24, imageBytes);
    for (int y = h - 1; y >= 0; --y) {  // bottom-up
        const QRgb* line = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        for (int x = 0; x < w; ++x) {
            out.append(static_cast<char>(qBlue(line[x])));
            out.append(static_cast<char>(qGreen(line[x])));
            out.append(static_cast<char>(qRed(line[x])));
        }
        out.append(QByteArray(stride - w * 3, '\0'));
    }
    WriteFile(path, out);
}

void WriteIco32(const QImage& image, const QString& path) {
    const QImage source = image.convertToFormat(QImage::Format_ARGB32);
    const int w = source.width(), h = source.height();
    const int maskStride = ((w + 31) / 32) * 4;
    const std::uint32_t imageBytes = static_cast<std::uint32_t>(w * h * 4 + maskStride * h);
    QByteArray out;
    PutU16(out, 0);
    PutU16(out, 1);  // icon
    PutU16(out, 1);  // one picture
    out.append(static_cast<char>(w >= 256 ? 0 : w));
    out.append(static_cast<char>(h >= 256 ? 0 : h));
    out.append('\0');  // no palette
    out.append('\0');
    PutU16(out, 1);   // planes
    PutU16(out, 32);  // bits
    PutU32(out, 40 + imageBytes);
    PutU32(out, 6 + 16);
    PutInfoHeader(out, w, h * 2, 32, imageBytes);
    for (int y = h - 1; y >= 0; --y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        for (int x = 0; x < w; ++x) PutU32(out, line[x]);  // stored as B, G, R, A
    }
    for (int y = h - 1; y >= 0; --y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        QByteArray mask(maskStride, '\0');
        for (int x = 0; x < w; ++x) {
            if (qAlpha(line[x]) == 0)
                mask[x / 8] = static_cast<char>(mask[x / 8] | (0x80 >> (x % 8)));
        }
        out.append(mask);
    }
    WriteFile(path, out);
}

void WritePng(const QImage& image, const QString& path) {
    if (!image.save(path, "png")) Fail(QStringLiteral("cannot write %1").arg(path));
}
