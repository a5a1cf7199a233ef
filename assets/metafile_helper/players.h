#pragma once

// The drawing libraries, run by the helper on files whose records have been
// checked (metafile_checks.h). Each returns the picture, or raises a
// PictureError that the helper hands back.

#include <QByteArray>
#include <QImage>
#include <QSize>

namespace metafile_detail {

// libwmf, through its gd device into a true-colour picture.
QImage PlayWindowsMetafile(const QByteArray& bytes);
// libemf2svg into SVG, drawn by Qt SVG at `size`.
QImage PlayEnhancedMetafile(const QByteArray& bytes, QSize size);

}  // namespace metafile_detail
