#include "preview/preview_compose.h"

#include <algorithm>

#include "preview/picture_stretch.h"
#include "preview/screen_drawing.h"

namespace preview {

namespace {

// Paints the picture stretched over `placed`, as far as the painter's clip
// lets it show. The painter may be moved by whole pixels, never scaled: the
// stretched pixels are worked out here and copied one to one.
void DrawStretched(QPainter& painter, const QImage& picture, const QRect& placed) {
    QRect part = placed;
    if (painter.hasClipping()) part &= painter.clipBoundingRect().toAlignedRect();
    if (part.isEmpty()) return;
    QImage stretched(part.size(), QImage::Format_RGB32);
    if (stretched.isNull()) return;
    StretchPicture(stretched, part.topLeft(), picture, placed);
    painter.drawImage(part.topLeft(), stretched);
}

// Gives the keyed surface the surface's pixels, the key colour's transparent.
void Rekey(QImage& keyed, const QImage& surface) {
    if (surface.isNull() || keyed.isNull()) return;
    const QImage source = surface.format() == QImage::Format_RGB32
                              ? surface
                              : surface.convertToFormat(QImage::Format_RGB32);
    const QRgb opaque = 0xFF000000u;
    const QRgb key = source.pixel(0, source.height() - 1) | opaque;
    const QRect inside = keyed.rect() & source.rect();
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

}  // namespace

QImage KeyedSurface(const QImage& surface, QSize visible) {
    QImage keyed(visible, QImage::Format_ARGB32_Premultiplied);
    if (keyed.isNull()) return keyed;
    if (surface.isNull() || visible.width() > surface.width() ||
        visible.height() > surface.height()) {
        keyed.fill(Qt::transparent);
    }
    Rekey(keyed, surface);
    return keyed;
}

QImage ComposePreviewImage(QSize client, const PreviewPictures& pictures,
                           const QImage& keyedSurface, const OverlayPlacements& placements) {
    QImage image(client, QImage::Format_RGB32);
    if (image.isNull()) return image;
    const QRect area(QPoint(0, 0), client);
    QPainter painter(&image);
    painter.setClipRect(area);
    if (pictures.background.isNull()) {
        painter.fillRect(area, Qt::black);
    } else {
        DrawStretched(painter, OpaquePicture(pictures.background), area);
    }
    painter.drawImage(QPoint(0, 0), keyedSurface);
    for (int i = 0; i < kOverlayCount; ++i) {
        const OverlayPlacement& placement = placements[static_cast<std::size_t>(i)];
        const QImage& picture = pictures.overlays[static_cast<std::size_t>(i)];
        if (!placement.visible || picture.isNull()) continue;
        // Overlays are placed in panel coordinates, one pixel off the client's.
        DrawStretched(painter, OpaquePicture(picture), placement.bounds.translated(-1, -1));
    }
    return image;
}

QImage ComposeSurfacePart(ScreenDrawing& drawing, const PreviewPictures& pictures,
                          const QRect& area, const QImage* stretchedBackground) {
    const QRect part = area & QRect(QPoint(0, 0), drawing.size());
    // The records first, then the background wherever their key colour
    // lets it show.
    QImage image = drawing.Drawn(part);
    if (image.isNull()) return image;
    const QRgb key = ColorFromSkin(drawing.colors().skinColor1).rgb();
    if (pictures.background.isNull() || stretchedBackground != nullptr) {
        // Black without a picture.
        const int width = image.width();
        for (int y = 0; y < image.height(); ++y) {
            auto* pixels = reinterpret_cast<QRgb*>(image.scanLine(y));
            const auto* behind =
                stretchedBackground
                    ? reinterpret_cast<const QRgb*>(stretchedBackground->constScanLine(part.y() + y)) +
                          part.x()
                    : nullptr;
            for (int x = 0; x < width; ++x) {
                if ((pixels[x] | 0xFF000000u) == key) pixels[x] = behind ? behind[x] : 0xFF000000u;
            }
        }
    } else {
        StretchPicture(image, part.topLeft(), OpaquePicture(pictures.background),
                       QRect(QPoint(0, 0), drawing.size()), key);
    }
    for (int i = 0; i < kOverlayCount; ++i) {
        const OverlayPlacement& placement = drawing.placements()[static_cast<std::size_t>(i)];
        const QImage& picture = pictures.overlays[static_cast<std::size_t>(i)];
        if (!placement.visible || picture.isNull()) continue;
        StretchPicture(image, part.topLeft(), OpaquePicture(picture),
                       placement.bounds.translated(-1, -1));
    }
    return image;
}

}  // namespace preview
