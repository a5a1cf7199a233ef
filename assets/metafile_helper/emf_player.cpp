// Enhanced metafiles: libemf2svg turns the records into SVG, which Qt SVG
// draws at the picture's size.

#include <emf2svg.h>

#include <QPainter>
#include <QSvgRenderer>
#include <cstdlib>
#include <memory>

#include "assets/metafile_checks.h"
#include "assets/metafile_helper/players.h"
#include "assets/picture_error.h"

namespace {

using metafile_detail::Damaged;

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
    // Qt SVG draws what the converter made, here too: that drawing comes from
    // the file as much as the records do.
    QSvgRenderer renderer(ConvertToSvg(bytes, size));
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
