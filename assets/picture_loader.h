#pragma once

#include <QImage>
#include <QString>

// Loads a picture file, choosing its kind by the file name's extension in any
// letter case: "bmp" (bitmap), "ico" (icon), "jpg" and "jpeg" (JPEG), "wmf"
// and "emf" (metafiles). Raises PictureError with
//   "Unknown picture file extension (.ext)" for any other extension,
//   "Cannot open file <path>" when the file cannot be opened,
// and a message naming the kind for a damaged or oversized picture.
QImage LoadPicture(const QString& path);

// Loads a file as a bitmap whatever its extension (the button glyphs).
// Raises PictureError like LoadPicture.
QImage LoadBitmap(const QString& path);
