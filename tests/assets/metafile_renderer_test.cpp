#include "assets/metafile_renderer.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <chrono>
#include <initializer_list>

#include "assets/metafile_players.h"
#include "assets/picture_loader.h"
#include "assets/picture_test_support.h"

namespace {

using ::testing::StartsWith;

void U16(QByteArray& out, int v) {
    out.append(static_cast<char>(v & 0xFF));
    out.append(static_cast<char>((v >> 8) & 0xFF));
}

void U32(QByteArray& out, qint64 v) {
    U16(out, static_cast<int>(v & 0xFFFF));
    U16(out, static_cast<int>((v >> 16) & 0xFFFF));
}

// ------------------------------------------------------- Windows metafiles

QByteArray WmfRecord(int function, std::initializer_list<int> words) {
    QByteArray r;
    U32(r, 3 + static_cast<qint64>(words.size()));
    U16(r, function);
    for (int w : words) U16(r, w);
    return r;
}

// A placeable metafile `width` x `height` units at `unitsPerInch`.
QByteArray Wmf(const QByteArray& records, int width = 100, int height = 100,
               int unitsPerInch = 96) {
    QByteArray placeable;
    U32(placeable, 0x9AC6CDD7);
    for (int w : {0, 0, 0, width, height, unitsPerInch, 0, 0}) U16(placeable, w);
    int checksum = 0;
    for (int i = 0; i < 20; i += 2) {
        checksum ^= static_cast<uchar>(placeable[i]) | static_cast<uchar>(placeable[i + 1]) << 8;
    }
    U16(placeable, checksum);
    QByteArray header;
    U16(header, 1);       // on disk
    U16(header, 9);       // header words
    U16(header, 0x0300);  // version
    U32(header, (18 + records.size()) / 2);
    U16(header, 2);  // objects
    U32(header, 16);
    U16(header, 0);
    return placeable + header + records;
}

const QByteArray kWmfEof = WmfRecord(0x0000, {});

// A red rectangle from (10, 10) to (60, 60) without an outline.
QByteArray WmfRedSquare() {
    return WmfRecord(0x020B, {0, 0}) +                  // SetWindowOrg
           WmfRecord(0x020C, {100, 100}) +              // SetWindowExt
           WmfRecord(0x02FC, {0, 0x00FF, 0x0000, 0}) +  // CreateBrushIndirect, solid red
           WmfRecord(0x012D, {0}) +                     // SelectObject
           WmfRecord(0x02FA, {5, 0, 0, 0, 0}) +         // CreatePenIndirect, PS_NULL
           WmfRecord(0x012D, {1}) +                     // SelectObject
           WmfRecord(0x041B, {60, 60, 10, 10});         // Rectangle (bottom, right, top, left)
}

// A META_STRETCHDIB record whose bitmap header claims `width` x `height`.
QByteArray WmfBitmapRecord(int width, int height) {
    QByteArray r;
    U32(r, 0);  // size, set below
    U16(r, 0x0F43);
    U32(r, 0x00CC0020);                             // SRCCOPY
    for (int i = 0; i < 9; ++i) U16(r, i ? 1 : 0);  // usage and coordinates
    U32(r, 40);
    U32(r, width);
    U32(r, height);
    U16(r, 1);
    U16(r, 24);
    for (int i = 0; i < 6; ++i) U32(r, 0);
    r += QByteArray(12, '\0');
    QByteArray size;
    U32(size, r.size() / 2);
    r.replace(0, 4, size);
    return r;
}

// ------------------------------------------------------ enhanced metafiles

QByteArray EmfRecord(qint64 type, std::initializer_list<qint64> values) {
    QByteArray r;
    U32(r, type);
    U32(r, 8 + 4 * static_cast<qint64>(values.size()));
    for (qint64 v : values) U32(r, v);
    return r;
}

// An enhanced metafile framed as `frame` hundredths of a millimetre square
// (2646 is 100 pixels at 96 dpi).
QByteArray Emf(const QByteArray& records, qint64 frame = 2646) {
    const QByteArray eof = EmfRecord(14, {0, 16, 20});
    QByteArray header;
    U32(header, 1);
    U32(header, 88);
    for (qint64 v : {0, 0, 99, 99, 0, 0}) U32(header, v);  // bounds, frame origin
    U32(header, frame);
    U32(header, frame);
    U32(header, 0x464D4520);
    U32(header, 0x10000);
    U32(header, 88 + records.size() + eof.size());
    U32(header, 3);  // records, counted loosely; readers do not rely on it
    U16(header, 2);
    U16(header, 0);
    for (qint64 v : {0, 0, 0, 1024, 768, 320, 240}) U32(header, v);
    return header + records + eof;
}

// A blue rectangle from (10, 10) to (60, 60) without an outline.
QByteArray EmfBlueSquare() {
    return EmfRecord(39, {1, 0, 0x00FF0000, 0}) +  // CreateBrushIndirect, solid blue
           EmfRecord(37, {1}) +                    // SelectObject
           EmfRecord(37, {0x80000008}) +           // SelectObject NULL_PEN
           EmfRecord(43, {10, 10, 60, 60});        // Rectangle
}

std::string WmfError(const QByteArray& bytes) {
    return PictureErrorOf([&] { RenderWindowsMetafile(bytes); });
}

std::string EmfError(const QByteArray& bytes) {
    return PictureErrorOf([&] { RenderEnhancedMetafile(bytes); });
}

void ExpectSquare(const QImage& image, QColor colour) {
    ASSERT_EQ(image.size(), QSize(100, 100));
    for (QPoint inside : {QPoint(15, 15), QPoint(35, 35), QPoint(55, 55)}) {
        const QColor got = image.pixelColor(inside);
        EXPECT_EQ(got.alpha(), 255);
        EXPECT_NEAR(got.red(), colour.red(), 8);
        EXPECT_NEAR(got.green(), colour.green(), 8);
        EXPECT_NEAR(got.blue(), colour.blue(), 8);
    }
    for (QPoint outside : {QPoint(5, 5), QPoint(80, 30), QPoint(35, 80), QPoint(90, 90)}) {
        const QColor got = image.pixelColor(outside);
        EXPECT_TRUE(got.alpha() == 0 || got.rgb() != colour.rgb())
            << outside.x() << "," << outside.y();
    }
}

}  // namespace

TEST(WindowsMetafile, DrawsItsRecords) {
    if (!CanRenderWindowsMetafiles()) GTEST_SKIP() << "built without libwmf";
    ExpectSquare(RenderWindowsMetafile(Wmf(WmfRedSquare() + kWmfEof)), Qt::red);
    // Through the loader, by extension in any case.
    QTemporaryDir dir;
    ASSERT_TRUE(WriteBytes(dir.filePath("square.WMF"), Wmf(WmfRedSquare() + kWmfEof)));
    ExpectSquare(LoadPicture(dir.filePath("square.WMF")), Qt::red);
}

TEST(WindowsMetafile, RefusesDamagedFilesBeforeDrawing) {
    EXPECT_EQ(WmfError("not a metafile at all, just text"),
              "Damaged metafile picture: it is not a Windows metafile");
    EXPECT_EQ(WmfError(QByteArray()), "Damaged metafile picture: it is not a Windows metafile");
    // A record of length 0 would be read again and again.
    EXPECT_EQ(WmfError(Wmf(WmfRedSquare() + QByteArray(6, '\0') + kWmfEof)),
              "Damaged metafile picture: a record has no length");
    EXPECT_EQ(WmfError(Wmf(WmfRedSquare())),
              "Damaged metafile picture: the file ends before its last record");
    const QByteArray cut = Wmf(WmfRedSquare() + kWmfEof);
    EXPECT_EQ(WmfError(cut.left(cut.size() - 10)),
              "Damaged metafile picture: the file ends inside a record");
    // 32000 units at one unit an inch.
    EXPECT_EQ(WmfError(Wmf(WmfRedSquare() + kWmfEof, 32000, 32000, 1)),
              "Metafile picture too large (3072000 x 3072000)");
    EXPECT_EQ(WmfError(Wmf(WmfBitmapRecord(65535, 65535) + kWmfEof)),
              "Damaged metafile picture: it holds a bitmap of 65535 x 65535 pixels");
    EXPECT_EQ(WmfError(Wmf(WmfBitmapRecord(64, 64) + kWmfEof)),
              "Damaged metafile picture: a bitmap's pixels are cut short");
}

TEST(EnhancedMetafile, DrawsItsRecords) {
    if (!CanRenderEnhancedMetafiles()) GTEST_SKIP() << "built without libemf2svg";
    ExpectSquare(RenderEnhancedMetafile(Emf(EmfBlueSquare())), Qt::blue);
    QTemporaryDir dir;
    ASSERT_TRUE(WriteBytes(dir.filePath("square.Emf"), Emf(EmfBlueSquare())));
    ExpectSquare(LoadPicture(dir.filePath("square.Emf")), Qt::blue);
}

TEST(EnhancedMetafile, RefusesDamagedFilesBeforeDrawing) {
    EXPECT_EQ(EmfError(QByteArray(200, 'x')),
              "Damaged metafile picture: it is not an enhanced metafile");
    EXPECT_EQ(EmfError(Emf(EmfBlueSquare() + QByteArray(8, '\0'))),
              "Damaged metafile picture: a record has no proper length");
    const QByteArray whole = Emf(EmfBlueSquare());
    EXPECT_EQ(EmfError(whole.left(whole.size() - 20)),
              "Damaged metafile picture: the file ends before its last record");
    EXPECT_EQ(EmfError(whole.left(whole.size() - 12)),
              "Damaged metafile picture: the file ends inside a record");
    // A frame of 10 metres is 37795 pixels at 96 dpi.
    EXPECT_EQ(EmfError(Emf(EmfBlueSquare(), 1'000'000)),
              "Metafile picture too large (37795 x 37795)");
    // EMR_STRETCHDIBITS with a bitmap header claiming 65535 x 65535.
    QByteArray stretch =
        EmfRecord(81, {0,  0,   10, 10, 0,        0,  0,  0,  10,    10,    80,
                       40, 120, 0,  0,  0xCC0020, 10, 10, 40, 65535, 65535, 1 | (24 << 16),
                       0,  0,   0,  0,  0,        0});
    EXPECT_EQ(EmfError(Emf(stretch)),
              "Damaged metafile picture: it holds a bitmap of 65535 x 65535 pixels");
}

TEST(EnhancedMetafile, RefusesAHeaderWhoseTextsLieOutsideIt) {
    // Found by fuzzing: a description of length 0 at an offset past the
    // header, which the drawing library read on until it met a zero.
    QByteArray header = Emf(EmfBlueSquare());
    header.replace(60, 8, QByteArray("\0\0\0\0\x6C\0\0\0", 8));
    EXPECT_EQ(EmfError(header),
              "Damaged metafile picture: its description lies outside its header");
    // Two characters whose end lies past the 88-byte header.
    header.replace(60, 8, QByteArray("\x02\0\0\0\x54\0\0\0", 8));
    EXPECT_EQ(EmfError(header),
              "Damaged metafile picture: its description lies outside its header");
    if (!CanRenderEnhancedMetafiles()) return;
    // No description at all is the usual case and is drawn.
    header.replace(60, 8, QByteArray(8, '\0'));
    ExpectSquare(RenderEnhancedMetafile(header), Qt::blue);
}

TEST(WindowsMetafile, RefusesPensTooWideToDraw) {
    // Found by fuzzing: a pen 25965 units wide on a picture of 100 units,
    // which the player draws by stamping a square brush of that many pixels.
    const QByteArray widePen = WmfRecord(0x02FA, {0, 25965, 0, 0x00FF, 0});
    const QByteArray line =
        WmfRecord(0x012D, {0}) + WmfRecord(0x0213, {5, 5}) + WmfRecord(0x0214, {90, 90});
    EXPECT_EQ(WmfError(Wmf(widePen + line + kWmfEof)),
              "Damaged metafile picture: it draws with a pen of 25965 units");
    // A window of one unit makes each unit the whole picture.
    const QByteArray tinyWindow = WmfRecord(0x020C, {1, 1});
    EXPECT_EQ(WmfError(Wmf(tinyWindow + WmfRecord(0x02FA, {0, 3, 0, 0x00FF, 0}) + kWmfEof)),
              "Damaged metafile picture: it draws with a pen of 3 units");
    if (!CanRenderWindowsMetafiles()) return;
    // A pen of a tenth of the picture is drawn.
    const QImage drawn =
        RenderWindowsMetafile(Wmf(WmfRecord(0x02FA, {0, 10, 0, 0x00FF, 0}) + line + kWmfEof));
    EXPECT_EQ(drawn.size(), QSize(100, 100));
}

TEST(WindowsMetafile, TheHeaderTellsThePlayerTheLongestRecordHeld) {
    // Found by fuzzing: a header claiming a record of 1.6 G words, for which
    // the player took a buffer of 3 GB before reading anything.
    constexpr qsizetype kLongestRecordField = 22 + 12;
    const QByteArray records = WmfRedSquare() + kWmfEof;
    const quint32 longest = 3 + 5;  // the CreatePenIndirect record
    for (quint32 claimed : {0x61737010u, 16u, 1u, 0u}) {
        QByteArray file = Wmf(records);
        QByteArray field;
        U32(field, claimed);
        file.replace(kLongestRecordField, 4, field);
        const QByteArray played = metafile_detail::WindowsMetafileForPlayer(file);
        ASSERT_EQ(played.size(), file.size());
        QByteArray told;
        U32(told, longest);
        EXPECT_EQ(played.mid(kLongestRecordField, 4), told) << claimed;
        // Nothing else is touched.
        EXPECT_EQ(played.left(kLongestRecordField), file.left(kLongestRecordField));
        EXPECT_EQ(played.mid(kLongestRecordField + 4), file.mid(kLongestRecordField + 4));
        // Overstated or understated, the picture is drawn.
        if (CanRenderWindowsMetafiles()) ExpectSquare(RenderWindowsMetafile(file), Qt::red);
    }
}

TEST(WindowsMetafile, IsRefusedWhenItTakesTooLongToDraw) {
    if (!CanRenderWindowsMetafiles()) GTEST_SKIP() << "built without libwmf";
    // Found by fuzzing: one filled rectangle from -32768 to 32767, which the
    // player fills pixel by pixel, far outside the picture, for half a minute.
    const QByteArray brush = WmfRecord(0x02FC, {0, 0x00FF, 0, 0}) + WmfRecord(0x012D, {0});
    const QByteArray huge = WmfRecord(0x041B, {32767, 32767, 0x8000, 0x8000});
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(WmfError(Wmf(brush + huge + kWmfEof)),
              "Damaged metafile picture: it takes too long to draw");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
    // Drawing goes on working afterwards.
    ExpectSquare(RenderWindowsMetafile(Wmf(WmfRedSquare() + kWmfEof)), Qt::red);
}
