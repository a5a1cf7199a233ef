#pragma once

#include <QByteArray>
#include <QImage>

// How the metafile helper hands a picture back: its width and height (32
// bits each, little-endian), then its pixels row by row, 32-bit premultiplied
// ARGB in this machine's order. Not compressed: the helper runs on the same
// machine, and PNG's filters and zlib would take a good share of the time a
// drawing is allowed for the largest pictures, at both ends.
QByteArray EncodeDrawnPicture(const QImage& picture);

// The picture, or a null one when `bytes` is not exactly a picture of at most
// `maxPixels`.
QImage DecodeDrawnPicture(const QByteArray& bytes, qint64 maxPixels);

// The most bytes a picture of `maxPixels` takes.
constexpr qint64 DrawnPictureBytes(qint64 maxPixels) {
    return 8 + maxPixels * 4;
}
