#pragma once

#include <QColor>
#include <QImage>
#include <QPainterPath>
#include <QString>
#include <cstdint>
#include <functional>

class QPainter;

// Small deterministic random source (splitmix64), so that every run of the
// generator draws exactly the same pictures on every platform.
class Rng {
  public:
    explicit Rng(std::uint64_t seed) : state_(seed) {}
    std::uint64_t Next();
    double Uniform();  // [0, 1)
    double Range(double low, double high) { return low + (high - low) * Uniform(); }
    int Int(int low, int high);  // [low, high]
    double Gauss();              // mean 0, deviation 1
    bool Chance(double p) { return Uniform() < p; }

  private:
    std::uint64_t state_;
};

// Smooth value noise in [0, 1] and its fractal sum over `octaves`.
double ValueNoise(double x, double y, std::uint32_t seed);
double FractalNoise(double x, double y, int octaves, std::uint32_t seed);

double Clamp01(double v);
int ClampByte(double v);
QColor Mix(const QColor& a, const QColor& b, double t);
QColor Scaled(const QColor& c, double factor);

// Gaussian-like blur (three box passes) of an ARGB32 premultiplied picture.
QImage Blur(const QImage& source, int radius);

// Paints a soft shadow of whatever `silhouette` fills, offset by (dx, dy).
void DropShadow(QPainter& painter, QSize size, const std::function<void(QPainter&)>& silhouette,
                double dx, double dy, int blurRadius, double opacity);

// Adds film grain: gaussian noise of the given deviation, the same on all
// channels (luminance grain).
void AddGrain(QImage& image, double deviation, Rng& rng);

// Multiplies each pixel by (1 - strength * d^2) where d is the distance from
// the centre relative to the half diagonal.
void Vignette(QImage& image, double strength);

// Writers. JPEG goes through libjpeg's compressor; `fullChroma` keeps the
// colour at full resolution (for small, sharp pictures); a grayscale picture is
// written as a one-component JPEG.
void WriteJpeg(const QImage& image, const QString& path, int quality, bool grayscale,
               bool fullChroma);
void WriteBmp24(const QImage& image, const QString& path);
void WriteIco32(const QImage& image, const QString& path);
void WritePng(const QImage& image, const QString& path);
