#include "assets/picture_loader.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

#include "assets/jpeg_decoder.h"
#include "assets/metafile_renderer.h"
#include "assets/picture_error.h"
#include "base/file_open.h"
#include "base/little_endian.h"

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
    // Only a regular file: a FIFO would block the open until some writer came,
    // and a terminal the read, with the window frozen meanwhile.
    QFile file;
    if (!OpenRegularFileForReading(path, file)) {
        throw PictureError(QStringLiteral("Cannot open file %1").arg(path));
    }
    QByteArray bytes;
    for (;;) {
        // As much as the file has left, so that a small picture does not cost
        // a megabyte buffer; one byte more shows whether it grew meanwhile.
        const qint64 left = file.size() - bytes.size();
        const QByteArray chunk = file.read(qBound<qint64>(4096, left + 1, kReadChunk));
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

QString TooLarge(const QString& kindName, qint64 width, qint64 height) {
    return QStringLiteral("%1 picture too large (%2 x %3)").arg(kindName).arg(width).arg(height);
}

QString Damaged(const QString& kindName, const QString& why) {
    return QStringLiteral("Damaged %1 picture: %2").arg(kindName.toLower(), why);
}

// The most pixels Qt's reader will hand back: our own budget, or less when
// the application's image allocation limit (32 bits a pixel) is lower.
qint64 PixelBudget() {
    const qint64 limitBytes = qint64(QImageReader::allocationLimit()) * 1024 * 1024;
    return limitBytes > 0 ? qMin(kMaxPicturePixels, limitBytes / 4) : kMaxPicturePixels;
}

quint32 U32At(const QByteArray& bytes, qsizetype at) {
    return little_endian::Load<quint32>(bytes.constData() + at);
}

quint16 U16At(const QByteArray& bytes, qsizetype at) {
    return little_endian::Load<quint16>(bytes.constData() + at);
}

// Qt's bitmap reader gives up silently on a header claiming a huge size, and
// pads a file that ends early with whatever memory held; both are caught here
// from the header. Headers it cannot make sense of are left to Qt.
void CheckBitmapHeader(const QByteArray& bytes) {
    if (bytes.size() < 30 || !bytes.startsWith("BM")) return;
    const quint32 dataOffset = U32At(bytes, 10);
    const quint32 headerSize = U32At(bytes, 14);
    qint64 width = 0, height = 0;
    int bits = 0;
    quint32 compression = 0;
    if (headerSize == 12) {  // OS/2 core header
        width = U16At(bytes, 18);
        height = U16At(bytes, 20);
        bits = U16At(bytes, 24);
    } else if (headerSize >= 40 && bytes.size() >= 34) {
        width = static_cast<qint32>(U32At(bytes, 18));
        height = qAbs(qint64(static_cast<qint32>(U32At(bytes, 22))));  // negative: top-down
        bits = U16At(bytes, 28);
        compression = U32At(bytes, 30);
    } else {
        return;
    }
    if (width <= 0 || height <= 0) return;
    if (width * height > PixelBudget())
        throw PictureError(TooLarge(QStringLiteral("Bitmap"), width, height));
    constexpr quint32 kUncompressed = 0, kBitFields = 3;
    if ((compression == kUncompressed || compression == kBitFields) && bits > 0 && bits <= 32) {
        const qint64 stride = ((width * bits + 31) / 32) * 4;
        const qint64 needed = qint64(dataOffset) + stride * (height - 1) + (width * bits + 7) / 8;
        if (needed > bytes.size()) {
            throw PictureError(Damaged(QStringLiteral("Bitmap"),
                                       QStringLiteral("the file ends before its last row")));
        }
    }
}

// Reads a bitmap or an icon with Qt's own reader for that format, never by
// guessing from the content. The size is checked before any pixel memory is
// taken.
QImage ReadWithQt(const QByteArray& bytes, const char* format, const QString& kindName) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    reader.setDecideFormatFromContent(false);
    const qint64 budget = PixelBudget();

    // An icon file holds several sizes of one picture; the largest stretches best.
    // Its directory of 16-byte entries follows a 6-byte header, so a count
    // beyond what the file can hold is a lie and the rest is not looked at.
    int best = -1;
    qint64 bestArea = -1;
    const qint64 entriesInFile = qMax<qint64>(0, (bytes.size() - 6) / 16);
    const int count = static_cast<int>(qMin<qint64>(reader.imageCount(), entriesInFile));
    for (int i = 0; i < count && count > 1; ++i) {
        if (!reader.jumpToImage(i)) break;
        const QSize size = reader.size();
        const qint64 area = qint64(size.width()) * size.height();
        if (size.isValid() && area <= budget && area > bestArea) {
            best = i;
            bestArea = area;
        }
    }
    if (best >= 0) reader.jumpToImage(best);

    const QSize size = reader.size();
    if (size.isValid() && qint64(size.width()) * size.height() > budget) {
        throw PictureError(TooLarge(kindName, size.width(), size.height()));
    }
    QImage image;
    if (!reader.read(&image)) throw PictureError(Damaged(kindName, reader.errorString()));
    return image;
}

QImage ReadBitmap(const QByteArray& bytes) {
    CheckBitmapHeader(bytes);
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
