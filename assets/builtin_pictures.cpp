#include "assets/builtin_pictures.h"

#include <QFile>
#include <QImageReader>

#include "assets/jpeg_decoder.h"
#include "assets/picture_error.h"

namespace {

QByteArray ResourceBytes(const char* name) {
    QFile file(QStringLiteral(":/pictures/") + QLatin1StringView(name));
    if (!file.open(QIODevice::ReadOnly)) {
        // Only a broken build can get here: the resources are linked in.
        throw PictureError(QStringLiteral("Built-in picture %1 is missing").arg(name));
    }
    return file.readAll();
}

QImage Jpeg(const char* name) {
    return DecodeJpeg(ResourceBytes(name));
}

QImage WithQt(const char* name, const char* format) {
    QImageReader reader(QStringLiteral(":/pictures/") + QLatin1StringView(name), format);
    QImage image;
    if (!reader.read(&image)) {
        throw PictureError(
            QStringLiteral("Built-in picture %1 is damaged: %2").arg(name, reader.errorString()));
    }
    return image;
}

}  // namespace

QImage BuiltinBackground() {
    return Jpeg("background.jpg");
}
QImage BuiltinAtcr100() {
    return Jpeg("atcr100.jpg");
}
QImage BuiltinAtcr101() {
    return Jpeg("atcr101.jpg");
}
QImage BuiltinAtcr102() {
    return Jpeg("atcr102.jpg");
}
QImage BuiltinTrbp300() {
    return Jpeg("trbp300.jpg");
}
QImage BuiltinCopyGlyph() {
    return WithQt("copy.bmp", "bmp");
}
QImage BuiltinPasteGlyph() {
    return WithQt("paste.bmp", "bmp");
}
QImage BuiltinIcon() {
    return WithQt("icon.png", "png");
}
QImage BuiltinStatusStrip() {
    return WithQt("sb_strip.bmp", "bmp");
}
QImage BuiltinInfoSeparator() {
    return WithQt("sb_info.bmp", "bmp");
}
