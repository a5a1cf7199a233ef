#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QRgb>
#include <optional>

// Pictures stretched over a rectangle of the preview: the background over
// the whole surface, a loading picture over its record's box.
//
// Each pixel is worked out from its own place in the rectangle alone
// (bilinear, sampled at the pixel's centre, with the picture's edge pixels
// repeated outward), so a picture stretched in pieces, one tile or one
// changed part at a time, comes out as the same pixels as stretched whole.
// A painter's smooth scaling gives no such promise: it steps its sample
// position along each painted run, so where a run starts changes the
// low bits of what it paints.
namespace preview {

// The picture as the preview shows it: opaque RGB32, whatever alpha it had
// dropped.
QImage OpaquePicture(const QImage& picture);

// Paints the picture stretched over `placed` (in surface pixels) into
// `target`, which holds the surface's pixels from `origin` on; only where the
// two meet, and, when `onlyOver` is given, only over the target's pixels of
// that colour (the background under a drawing, where its key colour lets it
// show). A null picture, or one that is not RGB32, paints nothing.
void StretchPicture(QImage& target, QPoint origin, const QImage& picture, const QRect& placed,
                    std::optional<QRgb> onlyOver = std::nullopt);

}  // namespace preview
