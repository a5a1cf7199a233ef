#pragma once

#include <QImage>
#include <QPainter>
#include <QSize>
#include <array>

#include "preview/preview_renderer.h"

// What the user sees in the preview's client area, put together from the
// drawn surface, the background picture and the overlay pictures. The editor's
// window and the command-line renderer both go through here, so their pixels
// match.
namespace preview {

class ScreenDrawing;

// The visible width x height part of the surface as ARGB32_Premultiplied:
// every pixel of the surface's transparent colour (the colour of its
// bottom-left pixel) fully transparent, every other one opaque. Any part of
// the visible area beyond the surface is transparent too.
QImage KeyedSurface(const QImage& surface, QSize visible);
// Brings the pixels of `area` of a keyed surface in line with the surface
// again, after they were drawn anew.
void RekeySurface(QImage& keyed, const QImage& surface, const QRect& area);

struct PreviewPictures {
    QImage background;
    std::array<QImage, kOverlayCount> overlays;  // indexed by Overlay
};

// Paints the client area of the given size at the painter's origin, clipped to
// it: the background picture stretched over it (opaque black without one),
// the keyed surface, then each visible overlay in stacking order, stretched
// to its bounds (moved from panel to client coordinates) and drawn opaque.
// An overlay without a picture is left out. The painter's state is restored.
// Pictures are stretched by StretchPicture, so a part composed under a clip
// has the pixels of the whole; the painter may be moved by whole pixels, but
// not scaled.
void ComposePreview(QPainter& painter, QSize client, const PreviewPictures& pictures,
                    const QImage& keyedSurface, const OverlayPlacements& placements);

// ComposePreview in two parts, for a window that keeps the background
// painted once: the background alone, then the rest over it.
void ComposeBackground(QPainter& painter, QSize client, const PreviewPictures& pictures);
void ComposeOverBackground(QPainter& painter, QSize client, const PreviewPictures& pictures,
                           const QImage& keyedSurface, const OverlayPlacements& placements);

// The same into a new image of the client area's size.
QImage ComposePreviewImage(QSize client, const PreviewPictures& pictures,
                           const QImage& keyedSurface, const OverlayPlacements& placements);

// What the preview shows in `area` of the drawing's surface (surface pixels;
// the part beyond the surface is left out), without the surface ever being
// drawn whole: exactly the pixels that ComposePreview gives there for a
// client area of the surface's size. Pictures already opaque RGB32 (as
// OpaquePicture makes them) are used as they are; others are converted on
// every call.
QImage ComposeSurfacePart(ScreenDrawing& drawing, const PreviewPictures& pictures,
                          const QRect& area);

}  // namespace preview
