#pragma once

#include <QImage>
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

struct PreviewPictures {
    QImage background;
    std::array<QImage, kOverlayCount> overlays;  // indexed by Overlay
};

// The client area of the given size: the background picture stretched over
// it (opaque black without one), the keyed surface, then each visible
// overlay in stacking order, stretched to its bounds (moved from panel to
// client coordinates) and drawn opaque. An overlay without a picture is left
// out. Pictures are stretched by StretchPicture, so a part composed alone
// has the pixels of the whole.
QImage ComposePreviewImage(QSize client, const PreviewPictures& pictures,
                           const QImage& keyedSurface, const OverlayPlacements& placements);

// What the preview shows in `area` of the drawing's surface (surface pixels;
// the part beyond the surface is left out), without the surface ever being
// drawn whole: exactly the pixels that ComposePreviewImage gives there for a
// client area of the surface's size. Pictures already opaque RGB32 (as
// OpaquePicture makes them) are used as they are; others are converted on
// every call.
// With `stretchedBackground` (the background already stretched over the
// whole surface, as an RGB32 image of its size), its pixels are taken as
// they are instead of being worked out again.
QImage ComposeSurfacePart(ScreenDrawing& drawing, const PreviewPictures& pictures,
                          const QRect& area, const QImage* stretchedBackground = nullptr);

}  // namespace preview
