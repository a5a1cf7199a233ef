#include "preview/preview_compose.h"

#include <algorithm>

namespace preview {

namespace {

// Pictures are shown opaque whatever alpha they carry.
QImage Opaque(const QImage& picture) {
    return picture.hasAlphaChannel() ? picture.convertToFormat(QImage::Format_RGB32) : picture;
}

}  // namespace

QImage KeyedSurface(const QImage& surface, QSize visible) {
    QImage keyed(visible, QImage::Format_ARGB32_Premultiplied);
    if (keyed.isNull()) return keyed;
    if (surface.isNull() || visible.width() > surface.width() ||
        visible.height() > surface.height()) {
        keyed.fill(Qt::transparent);
    }
    RekeySurface(keyed, surface, keyed.rect());
    return keyed;
}

void RekeySurface(QImage& keyed, const QImage& surface, const QRect& area) {
    if (surface.isNull() || keyed.isNull()) return;
    const QImage source = surface.format() == QImage::Format_RGB32
                              ? surface
                              : surface.convertToFormat(QImage::Format_RGB32);
    const QRgb opaque = 0xFF000000u;
    const QRgb key = source.pixel(0, source.height() - 1) | opaque;
    const QRect inside = area & keyed.rect() & source.rect();
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        auto* out = reinterpret_cast<QRgb*>(keyed.scanLine(y));
        for (int x = inside.left(); x <= inside.right(); ++x) {
            const QRgb pixel = in[x] | opaque;
            // All ones where the pixel differs from the key, zero where it matches.
            const QRgb keep = 0u - static_cast<QRgb>(pixel != key);
            out[x] = pixel & keep;
        }
    }
}

void ComposeBackground(QPainter& painter, QSize client, const PreviewPictures& pictures) {
    const QRect area(QPoint(0, 0), client);
    painter.save();
    painter.setClipRect(area, Qt::IntersectClip);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    if (pictures.background.isNull()) {
        painter.fillRect(area, Qt::black);
    } else {
        painter.drawImage(area, Opaque(pictures.background));
    }
    painter.restore();
}

void ComposeOverBackground(QPainter& painter, QSize client, const PreviewPictures& pictures,
                           const QImage& keyedSurface, const OverlayPlacements& placements) {
    painter.save();
    painter.setClipRect(QRect(QPoint(0, 0), client), Qt::IntersectClip);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QPoint(0, 0), keyedSurface);
    for (int i = 0; i < kOverlayCount; ++i) {
        const OverlayPlacement& placement = placements[static_cast<std::size_t>(i)];
        const QImage& picture = pictures.overlays[static_cast<std::size_t>(i)];
        if (!placement.visible || picture.isNull()) continue;
        // Overlays are placed in panel coordinates, one pixel off the client's.
        painter.drawImage(placement.bounds.translated(-1, -1), Opaque(picture));
    }
    painter.restore();
}

void ComposePreview(QPainter& painter, QSize client, const PreviewPictures& pictures,
                    const QImage& keyedSurface, const OverlayPlacements& placements) {
    ComposeBackground(painter, client, pictures);
    ComposeOverBackground(painter, client, pictures, keyedSurface, placements);
}

QImage ComposePreviewImage(QSize client, const PreviewPictures& pictures,
                           const QImage& keyedSurface, const OverlayPlacements& placements) {
    QImage image(client, QImage::Format_RGB32);
    if (image.isNull()) return image;
    QPainter painter(&image);
    ComposePreview(painter, client, pictures, keyedSurface, placements);
    return image;
}

}  // namespace preview
