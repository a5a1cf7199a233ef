#include "assets/drawn_picture.h"

#include <QtEndian>
#include <cstring>

QByteArray EncodeDrawnPicture(const QImage& picture) {
    const QImage image = picture.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const qsizetype rowBytes = qsizetype(image.width()) * 4;
    QByteArray bytes(8 + rowBytes * image.height(), Qt::Uninitialized);
    qToLittleEndian<quint32>(static_cast<quint32>(image.width()), bytes.data());
    qToLittleEndian<quint32>(static_cast<quint32>(image.height()), bytes.data() + 4);
    for (int y = 0; y < image.height(); ++y) {
        std::memcpy(bytes.data() + 8 + rowBytes * y, image.constScanLine(y),
                    static_cast<size_t>(rowBytes));
    }
    return bytes;
}

QImage DecodeDrawnPicture(const QByteArray& bytes, qint64 maxPixels) {
    if (bytes.size() < 8) return QImage();
    const qint64 width = qFromLittleEndian<quint32>(bytes.constData());
    const qint64 height = qFromLittleEndian<quint32>(bytes.constData() + 4);
    if (width == 0 || height == 0 || width * height > maxPixels ||
        bytes.size() != DrawnPictureBytes(width * height)) {
        return QImage();
    }
    QImage image(static_cast<int>(width), static_cast<int>(height),
                 QImage::Format_ARGB32_Premultiplied);
    if (image.isNull()) return QImage();
    const qsizetype rowBytes = qsizetype(width) * 4;
    for (int y = 0; y < image.height(); ++y) {
        std::memcpy(image.scanLine(y), bytes.constData() + 8 + rowBytes * y,
                    static_cast<size_t>(rowBytes));
    }
    return image;
}
