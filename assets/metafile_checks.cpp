#include "assets/metafile_checks.h"

#include "assets/metafile_renderer.h"
#include "assets/picture_error.h"
#include "base/little_endian.h"

// The drawing libraries were written for trusted files. Everything they would
// trust is checked here first: every record's length against the file, the
// size the picture claims, and the size of every bitmap a record carries,
// since the libraries allocate it from the header before reading any pixel.

namespace metafile_detail {

void Damaged(const QString& why) {
    throw PictureError(QStringLiteral("Damaged metafile picture: %1").arg(why));
}

void CheckPictureSize(qint64 width, qint64 height) {
    if (width <= 0 || height <= 0) Damaged(QStringLiteral("it has no size"));
    if (width > 32767 || height > 32767 || width * height > kMaxMetafilePixels) {
        throw PictureError(
            QStringLiteral("Metafile picture too large (%1 x %2)").arg(width).arg(height));
    }
}

}  // namespace metafile_detail

using metafile_detail::Damaged;

namespace {

constexpr int kMaxRecords = 1'000'000;
constexpr qint64 kScreenDpi = 96;

class Bytes {
  public:
    explicit Bytes(const QByteArray& bytes) : bytes_(bytes) {}
    qint64 size() const { return bytes_.size(); }
    bool Has(qint64 at, qint64 count) const {
        return at >= 0 && count >= 0 && at <= size() && count <= size() - at;
    }
    quint16 U16(qint64 at) const { return Load<quint16>(at); }
    qint16 I16(qint64 at) const { return Load<qint16>(at); }
    quint32 U32(qint64 at) const { return Load<quint32>(at); }
    qint32 I32(qint64 at) const { return Load<qint32>(at); }

  private:
    template <typename T>
    T Load(qint64 at) const {
        return little_endian::Load<T>(bytes_.constData() + at);
    }
    const QByteArray& bytes_;
};

// A device-independent bitmap inside a record: its header lies in
// [at, headerEnd) and `pixelBytes` bytes are there for its pixels.
void CheckBitmap(const Bytes& in, qint64 at, qint64 headerEnd, qint64 pixelBytes) {
    if (!in.Has(at, 12) || at + 12 > headerEnd)
        Damaged(QStringLiteral("a bitmap header is cut short"));
    const quint32 headerSize = in.U32(at);
    qint64 width = 0, height = 0;
    int bits = 0;
    quint32 compression = 0;
    if (headerSize == 12) {
        width = in.U16(at + 4);
        height = in.U16(at + 6);
        bits = in.U16(at + 10);
    } else {
        if (headerSize < 40 || at + 40 > headerEnd)
            Damaged(QStringLiteral("a bitmap header is cut short"));
        width = in.I32(at + 4);
        height = qAbs(qint64(in.I32(at + 8)));
        bits = in.U16(at + 14);
        compression = in.U32(at + 16);
    }
    if (width < 0) Damaged(QStringLiteral("a bitmap has a negative width"));
    if (width * height > kMaxMetafilePixels) {
        Damaged(QStringLiteral("it holds a bitmap of %1 x %2 pixels").arg(width).arg(height));
    }
    constexpr quint32 kUncompressed = 0, kBitFields = 3;
    if ((compression == kUncompressed || compression == kBitFields) && bits > 0 && bits <= 32) {
        const qint64 stride = ((width * bits + 31) / 32) * 4;
        if (stride * height > pixelBytes)
            Damaged(QStringLiteral("a bitmap's pixels are cut short"));
    }
}

// Where the bitmap starts in the records of a Windows metafile that carry one,
// counted from the start of the record; 0 for other records.
qint64 WmfBitmapOffset(quint16 function) {
    switch (function) {
        case 0x0940:
            return 22;  // META_DIBBITBLT
        case 0x0B41:
            return 26;  // META_DIBSTRETCHBLT
        case 0x0F43:
            return 28;  // META_STRETCHDIB
        case 0x0D33:
            return 24;  // META_SETDIBTODEV
        case 0x0142:
            return 10;  // META_DIBCREATEPATTERNBRUSH
        default:
            return 0;
    }
}

// Records of a Windows metafile that set the mapping and the pens.
constexpr quint16 kSetWindowExt = 0x020C;
constexpr quint16 kScaleWindowExt = 0x0410;
constexpr quint16 kCreatePenIndirect = 0x02FA;
// The widest pen drawn, in pixels; and the extent assumed while the file has
// named none, at which a unit is about a pixel of the largest picture. The
// bound follows the frame, the window extent and its scaling; the viewport is
// left out, as the player maps what is drawn onto the picture anyway.
constexpr qint64 kMaxPenPixels = 256;
constexpr qint64 kMaxPictureSide = 4096;
constexpr qint64 kUnknownExtent = 4096;

// Where a checked Windows metafile's own header lies, and its longest record.
struct WindowsMetafileShape {
    qint64 headerAt = 0;
    quint32 longestRecordWords = 0;
};

WindowsMetafileShape CheckWindowsMetafile(const QByteArray& bytes) {
    const Bytes in(bytes);
    WindowsMetafileShape shape;
    constexpr quint32 kPlaceableKey = 0x9AC6CDD7;
    qint64 at = 0;
    // Pixels a logical unit spans at most: the picture's side over the
    // extent the drawing is mapped from (the frame, then the window).
    qint64 pictureSide = kMaxPictureSide;
    qint64 extent = kUnknownExtent;
    if (in.Has(0, 4) && in.U32(0) == kPlaceableKey) {
        if (!in.Has(0, 22)) Damaged(QStringLiteral("the file ends inside its header"));
        const qint64 width = qAbs(qint64(in.I16(10)) - in.I16(6));
        const qint64 height = qAbs(qint64(in.I16(12)) - in.I16(8));
        const qint64 unitsPerInch = in.U16(14);
        if (unitsPerInch == 0) Damaged(QStringLiteral("its header gives no scale"));
        const qint64 pixelWidth = (width * kScreenDpi + unitsPerInch / 2) / unitsPerInch;
        const qint64 pixelHeight = (height * kScreenDpi + unitsPerInch / 2) / unitsPerInch;
        metafile_detail::CheckPictureSize(pixelWidth, pixelHeight);
        pictureSide = qMax(pixelWidth, pixelHeight);
        extent = qMax<qint64>(1, qMax(width, height));
        at = 22;
    }
    constexpr quint16 kMemory = 1, kDisk = 2, kHeaderWords = 9;
    if (!in.Has(at, 18) || (in.U16(at) != kMemory && in.U16(at) != kDisk) ||
        in.U16(at + 2) != kHeaderWords) {
        Damaged(QStringLiteral("it is not a Windows metafile"));
    }
    shape.headerAt = at;
    at += 18;
    for (int records = 0;; ++records) {
        if (!in.Has(at, 6)) Damaged(QStringLiteral("the file ends before its last record"));
        const qint64 size = qint64(in.U32(at)) * 2;
        const quint16 function = in.U16(at + 4);
        if (size < 6) Damaged(QStringLiteral("a record has no length"));
        if (!in.Has(at, size)) Damaged(QStringLiteral("the file ends inside a record"));
        shape.longestRecordWords = qMax(shape.longestRecordWords, in.U32(at));
        if (function == 0) return shape;  // META_EOF
        if (records >= kMaxRecords) Damaged(QStringLiteral("it has too many records"));
        if (function == kSetWindowExt && size >= 10) {
            extent = qMax<qint64>(1, qMax(qAbs(in.I16(at + 6)), qAbs(in.I16(at + 8))));
        } else if (function == kScaleWindowExt && size >= 14) {
            // Scaled by the smaller numerator over the larger denominator:
            // the extent is never taken for larger than it may have become.
            const qint64 numerator = qMin(qAbs(in.I16(at + 8)), qAbs(in.I16(at + 12)));
            const qint64 denominator =
                qMax<qint64>(1, qMax(qAbs(in.I16(at + 6)), qAbs(in.I16(at + 10))));
            extent = qMax<qint64>(1, extent * numerator / denominator);
        } else if (function == kCreatePenIndirect && size >= 10) {
            // The player draws a wide pen by stamping a square brush of its
            // width at every point: a pen thousands of pixels wide takes
            // gigabytes and hours.
            const qint64 penWidth = qAbs(in.I16(at + 8));
            if (penWidth * pictureSide > kMaxPenPixels * extent) {
                Damaged(QStringLiteral("it draws with a pen of %1 units").arg(penWidth));
            }
        }
        const qint64 bitmap = WmfBitmapOffset(function);
        // Records too short for a bitmap are the forms that carry none.
        if (bitmap != 0 && size >= bitmap + 12) {
            const qint64 header = at + bitmap;
            CheckBitmap(in, header, at + size,
                        at + size - header - qMin<qint64>(in.U32(header), size));
        }
        at += size;
    }
}

// Where the offsets of the bitmap header and pixels lie in the records of an
// enhanced metafile that carry a bitmap; 0 for other records.
qint64 EmfBitmapFields(quint32 type) {
    switch (type) {
        case 76:   // EMR_BITBLT
        case 77:   // EMR_STRETCHBLT
        case 78:   // EMR_MASKBLT
        case 114:  // EMR_ALPHABLEND
        case 116:  // EMR_TRANSPARENTBLT
            return 84;
        case 79:  // EMR_PLGBLT
            return 96;
        case 80:  // EMR_SETDIBITSTODEVICE
        case 81:  // EMR_STRETCHDIBITS
            return 48;
        case 93:  // EMR_CREATEMONOBRUSH
        case 94:  // EMR_CREATEDIBPATTERNBRUSHPT
            return 16;
        default:
            return 0;
    }
}

}  // namespace

QSize metafile_detail::CheckEnhancedMetafile(const QByteArray& bytes) {
    const Bytes in(bytes);
    constexpr quint32 kHeader = 1, kEof = 14, kSignature = 0x464D4520;  // " EMF"
    if (!in.Has(0, 88) || in.U32(0) != kHeader || in.U32(40) != kSignature) {
        Damaged(QStringLiteral("it is not an enhanced metafile"));
    }
    // The frame is in hundredths of a millimetre; the bounds, in device
    // pixels, stand in for a frame left empty.
    qint64 width = (qint64(in.I32(32)) - in.I32(24)) * kScreenDpi / 2540;
    qint64 height = (qint64(in.I32(36)) - in.I32(28)) * kScreenDpi / 2540;
    if (width <= 0 || height <= 0) {
        width = qint64(in.I32(16)) - in.I32(8) + 1;
        height = qint64(in.I32(20)) - in.I32(12) + 1;
    }
    metafile_detail::CheckPictureSize(width, height);

    // The header's own text and pixel format: the drawing library reads the
    // text up to a terminating zero when its length is 0, and both wherever
    // their offsets point.
    const qint64 headerSize = in.U32(4);
    const qint64 descriptionLength = in.U32(60), descriptionAt = in.U32(64);
    if ((descriptionLength != 0 || descriptionAt != 0) &&
        (descriptionLength == 0 || descriptionAt < 88 ||
         descriptionAt + 2 * descriptionLength > headerSize)) {
        Damaged(QStringLiteral("its description lies outside its header"));
    }
    if (headerSize >= 100 && in.Has(0, 100)) {
        const qint64 formatSize = in.U32(88), formatAt = in.U32(92);
        if ((formatSize != 0 || formatAt != 0) &&
            (formatAt < 100 || formatAt + formatSize > headerSize)) {
            Damaged(QStringLiteral("its pixel format lies outside its header"));
        }
    }

    qint64 at = 0;
    for (int records = 0;; ++records) {
        if (!in.Has(at, 8)) Damaged(QStringLiteral("the file ends before its last record"));
        const quint32 type = in.U32(at);
        const qint64 size = in.U32(at + 4);
        if (size < 8 || size % 4 != 0) Damaged(QStringLiteral("a record has no proper length"));
        if (!in.Has(at, size)) Damaged(QStringLiteral("the file ends inside a record"));
        if (type == kEof) break;
        if (records >= kMaxRecords) Damaged(QStringLiteral("it has too many records"));
        const qint64 fields = EmfBitmapFields(type);
        if (fields != 0 && size >= fields + 16) {
            const qint64 headerAt = in.U32(at + fields), headerSize = in.U32(at + fields + 4);
            const qint64 pixelsAt = in.U32(at + fields + 8), pixelBytes = in.U32(at + fields + 12);
            if (headerSize > 0) {
                if (headerAt + headerSize > size || pixelsAt + pixelBytes > size) {
                    Damaged(QStringLiteral("a bitmap lies outside its record"));
                }
                CheckBitmap(in, at + headerAt, at + headerAt + headerSize, pixelBytes);
            }
        }
        at += size;
    }
    return QSize(static_cast<int>(width), static_cast<int>(height));
}

QByteArray metafile_detail::WindowsMetafileForPlayer(const QByteArray& bytes) {
    const WindowsMetafileShape shape = CheckWindowsMetafile(bytes);
    // The player takes one buffer of the header's longest record before it
    // reads any and reads every record into it: a header claiming gigabytes
    // would cost them, and one claiming too little would leave the buffer
    // short. The header is made to tell the longest record the file holds.
    constexpr qint64 kLongestRecordField = 12;
    const qint64 field = shape.headerAt + kLongestRecordField;
    if (Bytes(bytes).U32(field) == shape.longestRecordWords) return bytes;
    QByteArray mended = bytes;
    little_endian::Store(mended.data() + field, shape.longestRecordWords);
    return mended;
}
