#pragma once

#include <QByteArray>
#include <QImage>

// Render a Windows metafile (.wmf) or an enhanced metafile (.emf) held in
// memory into a picture of the metafile's own size. Raise PictureError for a
// damaged file or one that claims an absurd size.
QImage RenderWindowsMetafile(const QByteArray& bytes);
QImage RenderEnhancedMetafile(const QByteArray& bytes);
