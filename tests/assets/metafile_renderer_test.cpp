#include "assets/metafile_renderer.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QFont>
#include <QPainter>
#include <QTemporaryDir>
#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "assets/metafile_checks.h"
#include "assets/metafile_files.h"
#include "assets/picture_loader.h"
#include "assets/picture_test_support.h"

namespace {

using ::testing::StartsWith;
using namespace test_metafiles;

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
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(WmfError(WmfSlowToDraw()), "Damaged metafile picture: it takes too long to draw");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
    // Drawing goes on working afterwards.
    ExpectSquare(RenderWindowsMetafile(Wmf(WmfRedSquare() + kWmfEof)), Qt::red);
}

TEST(WindowsMetafile, TellsTheUserWhyTheHelperDrewNothing) {
    if (!CanRenderWindowsMetafiles()) GTEST_SKIP() << "built without libwmf";
    QTemporaryDir dir;
    const auto helper = [&dir](const char* name, const QByteArray& script) {
        const QString path = dir.filePath(QLatin1StringView(name));
        EXPECT_TRUE(WriteBytes(path, script));
        QFile(path).setPermissions(QFile::ReadOwner | QFile::ExeOwner);
        return path;
    };
    const QByteArray square = Wmf(WmfRedSquare() + kWmfEof);
    const auto errorWith = [&square](const QString& chosenHelper) {
        qputenv("KAVEL_DRAW_METAFILE", chosenHelper.toLocal8Bit());
        const std::string error = WmfError(square);
        qunsetenv("KAVEL_DRAW_METAFILE");
        return error;
    };
    EXPECT_EQ(errorWith(dir.filePath("absent")),
              "Cannot draw metafile pictures: the helper program kavel-draw-metafile is missing");
    EXPECT_EQ(errorWith(helper("no-interpreter", "#!/nonexistent/sh\n")),
              "Cannot draw metafile pictures: the helper program kavel-draw-metafile cannot be "
              "started");
    EXPECT_EQ(errorWith(helper("crashing", "#!/bin/sh\nkill -9 $$\n")),
              "Damaged metafile picture: the drawing library failed on it");
}

TEST(EnhancedMetafile, DrawsTextWhileOtherThreadsLookUpFonts) {
    if (!CanRenderEnhancedMetafiles()) GTEST_SKIP() << "built without libemf2svg";
    // The converter asks fontconfig for the font of a text given by glyph
    // index, then shuts fontconfig down. Meanwhile the program's other
    // threads lay out text in fonts Qt has not met yet, each looked up
    // through fontconfig too. A drawing made in a copy of the program taken
    // in the middle of such a lookup finds fontconfig's state half changed
    // (caches in use, a lock held) and aborts or waits for ever.
    std::atomic<bool> stop = false;
    std::vector<std::thread> lookers;
    for (int t = 0; t < 2; ++t) {
        lookers.emplace_back([&stop, t] {
            QImage canvas(64, 32, QImage::Format_ARGB32_Premultiplied);
            for (int n = 0; !stop; ++n) {
                QPainter painter(&canvas);
                painter.setFont(QFont(QStringLiteral("Kavel Unknown %1-%2").arg(t).arg(n)));
                painter.drawText(2, 20, QStringLiteral("Kavel"));
            }
        });
    }
    const QByteArray text = Emf(EmfGlyphText(QStringLiteral("Kavel")));
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    int drawn = 0;
    for (; drawn < 5 || std::chrono::steady_clock::now() < end; ++drawn) {
        const std::string error = PictureErrorOf([&] {
            const QImage image = RenderEnhancedMetafile(text);
            ASSERT_EQ(image.size(), QSize(100, 100));
            int inked = 0;
            for (int y = 0; y < image.height(); ++y) {
                for (int x = 0; x < image.width(); ++x) {
                    const QColor pixel = image.pixelColor(x, y);
                    inked += pixel.alpha() > 128 && pixel.red() > 128 && pixel.green() < 64;
                }
            }
            EXPECT_GT(inked, 20) << "picture " << drawn;
        });
        if (error != "(no error)") {
            ADD_FAILURE() << "picture " << drawn << ": " << error;
            break;
        }
    }
    stop = true;
    for (std::thread& looker : lookers) looker.join();
}
