#pragma once

#include <QByteArray>
#include <QImage>

// Render a Windows metafile (.wmf) or an enhanced metafile (.emf) held in
// memory into a picture of the metafile's own size at 96 dots per inch, on a
// transparent ground. The file's record structure is checked first, so that a
// damaged file, one that claims an absurd size or holds a bitmap beyond the
// pixel budget is refused with a PictureError before the drawing library sees
// it:
//   "Damaged metafile picture: <reason>"
//   "Metafile picture too large (<width> x <height>)"
// A build without libwmf, or without libemf2svg and Qt SVG, refuses that kind
// with "<kind> pictures are not supported by this build".
QImage RenderWindowsMetafile(const QByteArray& bytes);
QImage RenderEnhancedMetafile(const QByteArray& bytes);

// Whether this build can draw each kind.
bool CanRenderWindowsMetafiles();
bool CanRenderEnhancedMetafiles();

// Largest picture a metafile is drawn into.
inline constexpr qint64 kMaxMetafilePixels = 4096LL * 4096;
