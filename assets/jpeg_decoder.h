#pragma once

#include <QByteArray>
#include <QImage>

// Largest picture, in pixels, that the picture decoders agree to allocate.
// A header that claims more is refused before any pixel memory is taken.
inline constexpr qint64 kMaxPicturePixels = 100'000'000;

// Decodes a complete JPEG file held in memory with libjpeg. Colour and
// grayscale pictures come back as Format_RGBX8888; CMYK and YCCK ones are
// converted to RGB. Raises PictureError for a damaged or truncated file and
// for one whose header claims more than kMaxPicturePixels.
QImage DecodeJpeg(const QByteArray& bytes);
