#include "assets/metafile_renderer.h"

#include <gtest/gtest.h>

#include <QFont>
#include <QPainter>
#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "assets/metafile_checks.h"
#include "assets/metafile_files.h"
#include "assets/picture_test_support.h"

namespace {

using namespace test_metafiles;

// A META_STRETCHDIB record (SRCCOPY) whose 24-bit bitmap header claims
// `width` x `height`, with no pixels behind it.
QByteArray WmfBitmapRecord(int width, int height) {
    return WmfRecord(0x0F43,
                     {0x0020, 0x00CC, 0, 1, 1, 1, 1, 1, 1, 1, 1, 40, 0, width, 0, height, 0, 1, 24,
                      0,      0,      0, 0, 0, 0, 0, 0, 0, 0, 0, 0,  0, 0,     0, 0,      0, 0});
}

std::string WmfError(const QByteArray& bytes) {
    return PictureErrorOf([&] { RenderWindowsMetafile(bytes); });
}

std::string EmfError(const QByteArray& bytes) {
    return PictureErrorOf([&] { RenderEnhancedMetafile(bytes); });
}

// A square of `colour` from (10, 10) to (60, 60), and none of it elsewhere.
void ExpectSquare(const QImage& image, QColor colour) {
    ASSERT_EQ(image.size(), QSize(100, 100));
    for (const QPoint inside : {QPoint(15, 15), QPoint(55, 55)}) {
        const QColor got = image.pixelColor(inside);
        EXPECT_EQ(got.alpha(), 255);
        EXPECT_LT(std::abs(got.red() - colour.red()) + std::abs(got.green() - colour.green()) +
                      std::abs(got.blue() - colour.blue()),
                  16);
    }
    for (const QPoint outside : {QPoint(5, 5), QPoint(80, 30), QPoint(35, 80)})
        EXPECT_NE(image.pixel(outside), colour.rgba()) << outside.x() << "," << outside.y();
}

}  // namespace

TEST(Metafiles, DamagedFilesAreRefusedBeforeDrawing) {
    const QByteArray wmf = Wmf(WmfRedSquare() + kWmfEof), emf = Emf(EmfBlueSquare());
    const std::pair<QByteArray, const char*> windows[] = {
        {"not a metafile at all, just text", "it is not a Windows metafile"},
        // A record of length 0 would be read again and again.
        {Wmf(WmfRedSquare() + QByteArray(6, '\0') + kWmfEof), "a record has no length"},
        {Wmf(WmfRedSquare()), "the file ends before its last record"},
        {wmf.chopped(10), "the file ends inside a record"},
        {Wmf(WmfBitmapRecord(65535, 65535) + kWmfEof), "it holds a bitmap of 65535 x 65535 pixels"},
        {Wmf(WmfBitmapRecord(64, 64) + kWmfEof), "a bitmap's pixels are cut short"}};
    for (const auto& [bytes, why] : windows)
        EXPECT_EQ(WmfError(bytes), std::string("Damaged metafile picture: ") + why);

    // EMR_STRETCHDIBITS with a bitmap header claiming 65535 x 65535.
    const QByteArray stretch =
        EmfRecord(81, {0,  0,   10, 10, 0,        0,  0,  0,  10,    10,    80,
                       40, 120, 0,  0,  0xCC0020, 10, 10, 40, 65535, 65535, 1 | (24 << 16),
                       0,  0,   0,  0,  0,        0});
    const std::pair<QByteArray, const char*> enhanced[] = {
        {QByteArray(200, 'x'), "it is not an enhanced metafile"},
        {Emf(EmfBlueSquare() + QByteArray(8, '\0')), "a record has no proper length"},
        {emf.chopped(20), "the file ends before its last record"},
        {emf.chopped(12), "the file ends inside a record"},
        {Emf(stretch), "it holds a bitmap of 65535 x 65535 pixels"}};
    for (const auto& [bytes, why] : enhanced)
        EXPECT_EQ(EmfError(bytes), std::string("Damaged metafile picture: ") + why);

    // 32000 units at one unit an inch; a frame of 10 metres at 96 dpi.
    EXPECT_EQ(WmfError(Wmf(WmfRedSquare() + kWmfEof, 32000, 32000, 1)),
              "Metafile picture too large (3072000 x 3072000)");
    EXPECT_EQ(EmfError(Emf(EmfBlueSquare(), 1'000'000)),
              "Metafile picture too large (37795 x 37795)");
}

TEST(EnhancedMetafile, RefusesAHeaderWhoseTextsLieOutsideIt) {
    // Found by fuzzing: a description of length 0 at an offset past the
    // header, which the drawing library read on until it met a zero; and two
    // characters whose end lies past the 88-byte header.
    QByteArray header = Emf(EmfBlueSquare());
    for (const QByteArray& description :
         {QByteArray("\0\0\0\0\x6C\0\0\0", 8), QByteArray("\x02\0\0\0\x54\0\0\0", 8)}) {
        EXPECT_EQ(EmfError(header.replace(60, 8, description)),
                  "Damaged metafile picture: its description lies outside its header");
    }
    // No description at all is the usual case and is drawn.
    if (CanRenderEnhancedMetafiles())
        ExpectSquare(RenderEnhancedMetafile(header.replace(60, 8, QByteArray(8, '\0'))), Qt::blue);
}

TEST(WindowsMetafile, RefusesPensTooWideToDraw) {
    // Found by fuzzing: a pen 25965 units wide on a picture of 100 units,
    // which the player draws by stamping a square brush of that many pixels.
    const QByteArray line =
        WmfRecord(0x012D, {0}) + WmfRecord(0x0213, {5, 5}) + WmfRecord(0x0214, {90, 90});
    const auto pen = [](int width) { return WmfRecord(0x02FA, {0, width, 0, 0x00FF, 0}); };
    EXPECT_EQ(WmfError(Wmf(pen(25965) + line + kWmfEof)),
              "Damaged metafile picture: it draws with a pen of 25965 units");
    // A window of one unit makes each unit the whole picture.
    EXPECT_EQ(WmfError(Wmf(WmfRecord(0x020C, {1, 1}) + pen(3) + kWmfEof)),
              "Damaged metafile picture: it draws with a pen of 3 units");
    // A pen of a tenth of the picture is drawn.
    if (CanRenderWindowsMetafiles()) {
        EXPECT_EQ(RenderWindowsMetafile(Wmf(pen(10) + line + kWmfEof)).size(), QSize(100, 100));
    }
}

TEST(WindowsMetafile, TheHeaderTellsThePlayerTheLongestRecordHeld) {
    // Found by fuzzing: a header claiming a record of 1.6 G words, for which
    // the player took a buffer of 3 GB before reading anything.
    constexpr qsizetype kLongestRecordField = 22 + 12;
    for (quint32 claimed : {0x61737010u, 16u, 1u, 0u}) {
        QByteArray file = Wmf(WmfRedSquare() + kWmfEof), expected = file;
        little_endian::Store(file.data() + kLongestRecordField, claimed);
        // The CreatePenIndirect record's 8 words; nothing else is touched.
        little_endian::Store(expected.data() + kLongestRecordField, quint32{8});
        EXPECT_EQ(metafile_detail::WindowsMetafileForPlayer(file), expected) << claimed;
        // Overstated or understated, the picture is drawn.
        if (CanRenderWindowsMetafiles()) ExpectSquare(RenderWindowsMetafile(file), Qt::red);
    }
}

TEST(WindowsMetafile, TellsTheUserWhyTheHelperDrewNothing) {
    if (!CanRenderWindowsMetafiles()) GTEST_SKIP() << "built without libwmf";
    const Folder folder;
    const QByteArray square = Wmf(WmfRedSquare() + kWmfEof);
    const auto errorWith = [&](const char* name, const QByteArray& script) {
        const QString path = script.isEmpty() ? folder.Path(name) : folder.Write(name, script);
        QFile(path).setPermissions(QFile::ReadOwner | QFile::ExeOwner);
        qputenv("KAVEL_DRAW_METAFILE", path.toLocal8Bit());
        const std::string error = WmfError(square);
        qunsetenv("KAVEL_DRAW_METAFILE");
        return error;
    };
    EXPECT_EQ(errorWith("absent", {}),
              "Cannot draw metafile pictures: the helper program kavel-draw-metafile is missing");
    EXPECT_EQ(errorWith("no-interpreter", "#!/nonexistent/sh\n"),
              "Cannot draw metafile pictures: the helper program kavel-draw-metafile cannot be "
              "started");
    EXPECT_EQ(errorWith("crashing", "#!/bin/sh\nkill -9 $$\n"),
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
    for (int drawn = 0; drawn < 5 || std::chrono::steady_clock::now() < end; ++drawn) {
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
