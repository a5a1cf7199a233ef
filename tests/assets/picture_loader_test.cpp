#include "assets/picture_loader.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QTemporaryDir>

#include "assets/picture_test_support.h"
#include "support/bytes.h"

namespace {

using ::testing::StartsWith;

class LoadPictureTest : public ::testing::Test {
  protected:
    QString Put(const QString& name, const QByteArray& bytes) {
        const QString path = dir_.filePath(name);
        EXPECT_TRUE(WriteBytes(path, bytes)) << path.toStdString();
        return path;
    }
    QString Path(const QString& name) const { return dir_.filePath(name); }

  private:
    QTemporaryDir dir_;
};

std::string ErrorOf(const QString& path) {
    return PictureErrorOf([&] { LoadPicture(path); });
}

// A 24-bit BMP header claiming the given size, followed by only a few pixels.
QByteArray BmpClaiming(int width, int height) {
    QByteArray bmp("BM");
    AppendU32(bmp, 54 + 64);
    AppendU32(bmp, 0);
    AppendU32(bmp, 54);
    AppendU32(bmp, 40);
    AppendU32(bmp, static_cast<std::uint32_t>(width));
    AppendU32(bmp, static_cast<std::uint32_t>(height));
    AppendU32(bmp, 1 | (24 << 16));  // planes, bits per pixel
    AppendU32(bmp, 0);
    AppendU32(bmp, 0);
    AppendU32(bmp, 2835);
    AppendU32(bmp, 2835);
    AppendU32(bmp, 0);
    AppendU32(bmp, 0);
    return bmp + QByteArray(64, '\x40');
}

}  // namespace

TEST_F(LoadPictureTest, ChoosesTheKindByExtensionInAnyCase) {
    const QByteArray bmp = BuiltinFile("copy.bmp"), jpeg = BuiltinFile("trbp300.jpg");
    EXPECT_EQ(LoadPicture(Put("a.bmp", bmp)).size(), QSize(21, 21));
    EXPECT_EQ(LoadPicture(Put("b.Bmp", bmp)).size(), QSize(21, 21));
    EXPECT_EQ(LoadPicture(Put("c.JPG", jpeg)).size(), QSize(256, 8));
    EXPECT_EQ(LoadPicture(Put("d.jpeg", jpeg)).size(), QSize(256, 8));
    EXPECT_EQ(LoadPicture(Put("e.JpEg", jpeg)).size(), QSize(256, 8));
    const QImage icon = LoadPicture(Put("f.ICO", BuiltinFile("icon.ico")));
    EXPECT_EQ(icon.size(), QSize(48, 48));
    EXPECT_EQ(qAlpha(icon.pixel(0, 47)), 0);
    // The content does not decide: a JPEG named .bmp is a damaged bitmap.
    EXPECT_THAT(ErrorOf(Put("g.bmp", jpeg)), StartsWith("Damaged bitmap picture: "));
}

TEST_F(LoadPictureTest, NamesAnUnknownExtension) {
    EXPECT_EQ(ErrorOf(Put("p.gif", "GIF89a")), "Unknown picture file extension (.gif)");
    EXPECT_EQ(ErrorOf(Path("missing.Png")), "Unknown picture file extension (.Png)");
    EXPECT_EQ(ErrorOf(Put("noextension", "x")), "Unknown picture file extension (.)");
    EXPECT_EQ(ErrorOf(Put("trailing.", "x")), "Unknown picture file extension (.)");
    EXPECT_EQ(ErrorOf(Path("archive.jpg.tar")), "Unknown picture file extension (.tar)");
}

TEST_F(LoadPictureTest, ReportsAFileThatCannotBeOpened) {
    const QString missing = Path("missing.jpg");
    EXPECT_EQ(ErrorOf(missing), Text("Cannot open file " + missing));
    ASSERT_TRUE(QDir().mkpath(Path("folder.bmp")));
    EXPECT_EQ(ErrorOf(Path("folder.bmp")), Text("Cannot open file " + Path("folder.bmp")));
    // The path is shown as given, relative or not.
    EXPECT_EQ(ErrorOf("no/such/dir/x.ico"), "Cannot open file no/such/dir/x.ico");
}

TEST_F(LoadPictureTest, RefusesFifosAndDevicesAtOnce) {
    // A FIFO without a writer once blocked the open for ever: the process is
    // ended if the refusal does not come within 20 seconds.
    ::alarm(20);
    const QString fifo = Path("pipe.bmp");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0644), 0);
    EXPECT_EQ(ErrorOf(fifo), Text("Cannot open file " + fifo));
    EXPECT_EQ(PictureErrorOf([&] { LoadBitmap(fifo); }), Text("Cannot open file " + fifo));
    // A device that never ends, under a picture's name.
    ASSERT_TRUE(QFile::link("/dev/zero", Path("zero.jpg")));
    EXPECT_EQ(ErrorOf(Path("zero.jpg")), Text("Cannot open file " + Path("zero.jpg")));
    ::alarm(0);
}

TEST_F(LoadPictureTest, ReportsDamagedPictures) {
    EXPECT_THAT(ErrorOf(Put("a.bmp", "BM not really")), StartsWith("Damaged bitmap picture: "));
    EXPECT_THAT(ErrorOf(Put("b.ico", QByteArray(40, '\x01'))),
                StartsWith("Damaged icon picture: "));
    EXPECT_THAT(ErrorOf(Put("c.jpg", "")), StartsWith("Damaged JPEG picture: "));
    const QByteArray jpeg = BuiltinFile("atcr101.jpg");
    EXPECT_EQ(ErrorOf(Put("d.jpg", jpeg.left(jpeg.size() / 3))),
              "Damaged JPEG picture: Premature end of JPEG file");
}

TEST_F(LoadPictureTest, RefusesABitmapClaimingAnAbsurdSize) {
    EXPECT_EQ(ErrorOf(Put("huge.bmp", BmpClaiming(65535, 65535))),
              "Bitmap picture too large (65535 x 65535)");
    EXPECT_EQ(ErrorOf(Put("wide.bmp", BmpClaiming(20000, 6000))),
              "Bitmap picture too large (20000 x 6000)");
    // A sane size with too few pixels behind it is damaged, not too large.
    EXPECT_EQ(ErrorOf(Put("short.bmp", BmpClaiming(200, 200))),
              "Damaged bitmap picture: the file ends before its last row");
}

TEST_F(LoadPictureTest, LoadBitmapIgnoresTheExtension) {
    EXPECT_EQ(LoadBitmap(Put("glyph.jpg", BuiltinFile("paste.bmp"))).size(), QSize(21, 21));
    EXPECT_EQ(LoadBitmap(Put("glyph", BuiltinFile("paste.bmp"))).size(), QSize(21, 21));
    EXPECT_EQ(PictureErrorOf([&] { LoadBitmap(Path("none.bmp")); }),
              Text("Cannot open file " + Path("none.bmp")));
    EXPECT_THAT(PictureErrorOf([&] { LoadBitmap(Put("photo.bmp", BuiltinFile("trbp300.jpg"))); }),
                StartsWith("Damaged bitmap picture: "));
}
