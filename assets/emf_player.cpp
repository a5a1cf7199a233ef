// Enhanced metafiles: libemf2svg turns the records into SVG, which Qt SVG
// draws at the picture's size.

#include <emf2svg.h>

#include <QPainter>
#include <QSvgRenderer>
#include <chrono>
#include <cstdlib>
#include <memory>

#include "assets/isolated_drawing.h"
#include "assets/metafile_players.h"
#include "assets/picture_error.h"

namespace {

using metafile_detail::Damaged;

// Longer than any sound picture takes, even in a sanitizer build.
constexpr std::chrono::milliseconds kConversionTimeLimit{3000};
// Far more SVG than the largest sound picture turns into.
constexpr qint64 kMaxSvgBytes = 64LL * 1024 * 1024;

QByteArray ConvertToSvg(const QByteArray& bytes, QSize size) {
    generatorOptions options{};
    options.nameSpace = nullptr;
    options.verbose = false;
    options.emfplus = true;
    options.svgDelimiter = true;
    options.imgWidth = size.width();
    options.imgHeight = size.height();

    QByteArray input = bytes;  // the converter takes a writable buffer
    char* svg = nullptr;
    size_t svgLength = 0;
    const int converted =
        emf2svg(input.data(), static_cast<size_t>(input.size()), &svg, &svgLength, &options);
    const std::unique_ptr<char, decltype(&std::free)> owned(svg, &std::free);
    if (!converted || svg == nullptr || svgLength == 0) {
        Damaged(QStringLiteral("its records cannot be read"));
    }
    return QByteArray(svg, static_cast<qsizetype>(svgLength));
}

}  // namespace

QImage metafile_detail::PlayEnhancedMetafile(const QByteArray& bytes, QSize size) {
    // The converter was written for trusted files: it runs in a child process
    // that is stopped when its time is up, and whatever it does there, the
    // program keeps its memory. Qt SVG draws what it made here.
    const IsolatedDrawing conversion = DrawIsolated(
        [&bytes, size] { return ConvertToSvg(bytes, size); }, kConversionTimeLimit, kMaxSvgBytes);
    const QByteArray svg = DrawnBytes(conversion);

    QSvgRenderer renderer(svg);
    if (!renderer.isValid()) Damaged(QStringLiteral("its drawing cannot be read"));
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull()) Damaged(QStringLiteral("not enough memory to draw it"));
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
    painter.end();
    return image;
}
