#include "assets/picture_loader.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

#include "assets/jpeg_decoder.h"
#include "assets/metafile_renderer.h"
#include "assets/picture_error.h"

namespace {

// No picture the program shows comes near this; it keeps a device file or a
// runaway pipe from filling the memory.
constexpr qint64 kMaxFileBytes = 256LL * 1024 * 1024;
constexpr qint64 kReadChunk = 1024 * 1024;

enum class Kind { Bitmap, Icon, Jpeg, WindowsMetafile, EnhancedMetafile };

struct KindOfExtension {
    QLatin1StringView extension;
    Kind kind;
};

// The one place that knows which extension means which kind of picture.
constexpr KindOfExtension kKinds[] = {
    {QLatin1StringView("bmp"), Kind::Bitmap},
    {QLatin1StringView("ico"), Kind::Icon},
    {QLatin1StringView("jpg"), Kind::Jpeg},
    {QLatin1StringView("jpeg"), Kind::Jpeg},
    {QLatin1StringView("wmf"), Kind::WindowsMetafile},
    {QLatin1StringView("emf"), Kind::EnhancedMetafile},
};

Kind KindOf(const QString& path) {
    const QString extension = QFileInfo(path).suffix();
    for (const KindOfExtension& entry : kKinds) {
        if (extension.compare(entry.extension, Qt::CaseInsensitive) == 0) return entry.kind;
    }
    throw PictureError(QStringLiteral("Unknown picture file extension (.%1)").arg(extension));
}

QByteArray ReadWholeFile(const QString& path) {
    QFile file(path);
    if (QFileInfo(path).isDir() || !file.open(QIODevice::ReadOnly)) {
        throw PictureError(QStringLiteral("Cannot open file %1").arg(path));
    }
    QByteArray bytes;
    for (;;) {
        const QByteArray chunk = file.read(kReadChunk);
        if (chunk.isEmpty()) break;
        bytes += chunk;
        if (bytes.size() > kMaxFileBytes) {
            throw PictureError(QStringLiteral("Picture file too large: %1").arg(path));
        }
    }
    if (file.error() != QFileDevice::NoError) {
        throw PictureError(QStringLiteral("Cannot read file %1").arg(path));
    }
    return bytes;
}

QString TooLarge(const QString& kindName, QSize size) {
    return QStringLiteral("%1 picture too large (%2 x %3)")
        .arg(kindName)
        .arg(size.width())
        .arg(size.height());
}

bool WithinBudget(QSize size) {
    return qint64(size.width()) * qint64(size.height()) <= kMaxPicturePixels;
}

// Reads a bitmap or an icon with Qt's own reader for that format, never by
// guessing from the content. The header's size is checked before any pixel
// memory is taken; the reader's allocation limit backs that up for handlers
// that cannot tell their size in advance.
QImage ReadWithQt(const QByteArray& bytes, const char* format, const QString& kindName) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    reader.setDecideFormatFromContent(false);
    reader.setAllocationLimit(static_cast<int>(kMaxPicturePixels * 4 / (1024 * 1024)) + 1);

    // An icon file holds several sizes of one picture; the largest stretches best.
    int best = -1;
    qint64 bestArea = -1;
    const int count = qMax(reader.imageCount(), 1);
    for (int i = 0; i < count && count > 1; ++i) {
        if (!reader.jumpToImage(i)) break;
        const QSize size = reader.size();
        const qint64 area = qint64(size.width()) * size.height();
        if (size.isValid() && WithinBudget(size) && area > bestArea) {
            best = i;
            bestArea = area;
        }
    }
    if (best >= 0) reader.jumpToImage(best);

    const QSize size = reader.size();
    if (size.isValid() && !WithinBudget(size)) throw PictureError(TooLarge(kindName, size));

    QImage image;
    if (!reader.read(&image)) {
        throw PictureError(
            QStringLiteral("Damaged %1 picture: %2").arg(kindName.toLower(), reader.errorString()));
    }
    return image;
}

QImage ReadBitmap(const QByteArray& bytes) {
    return ReadWithQt(bytes, "bmp", QStringLiteral("Bitmap"));
}

}  // namespace

QImage LoadPicture(const QString& path) {
    const Kind kind = KindOf(path);
    const QByteArray bytes = ReadWholeFile(path);
    switch (kind) {
        case Kind::Bitmap:
            return ReadBitmap(bytes);
        case Kind::Icon:
            return ReadWithQt(bytes, "ico", QStringLiteral("Icon"));
        case Kind::Jpeg:
            return DecodeJpeg(bytes);
        case Kind::WindowsMetafile:
            return RenderWindowsMetafile(bytes);
        case Kind::EnhancedMetafile:
            return RenderEnhancedMetafile(bytes);
    }
    Q_UNREACHABLE();
}

QImage LoadBitmap(const QString& path) {
    return ReadBitmap(ReadWholeFile(path));
}
