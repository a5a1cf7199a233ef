#include "assets/metafile_renderer.h"

#include "assets/picture_error.h"

// Metafile drawing is not in place yet; the kinds are recognised so that the
// user is told why the picture is not shown.
QImage RenderWindowsMetafile(const QByteArray&) {
    throw PictureError(QStringLiteral("Windows metafile pictures cannot be shown yet"));
}

QImage RenderEnhancedMetafile(const QByteArray&) {
    throw PictureError(QStringLiteral("Enhanced metafile pictures cannot be shown yet"));
}
