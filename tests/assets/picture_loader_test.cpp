#include "assets/picture_loader.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "assets/metafile_files.h"
#include "assets/metafile_renderer.h"
#include "assets/picture_test_support.h"
#include "support/bytes.h"

namespace {

using ::testing::StartsWith;
using namespace test_metafiles;

class LoadPictureTest : public ::testing::Test, protected Folder {};

std::string ErrorOf(const QString& path) {
    return PictureErrorOf([&] { LoadPicture(path); });
}

// A 24-bit bitmap whose header claims the given size, followed by only a few
// pixels.
QByteArray BmpClaiming(int width, int height) {
    QByteArray bmp("BM");
    // File size, reserved, pixel offset, header size, width, height, planes
    // and bits a pixel, compression, pixel bytes, resolution, colours.
    for (const int field :
         {54 + 64, 0, 54, 40, width, height, 1 | (24 << 16), 0, 0, 2835, 2835, 0, 0}) {
        AppendU32(bmp, static_cast<std::uint32_t>(field));
    }
    return bmp + QByteArray(64, '\x40');
}

}  // namespace

TEST_F(LoadPictureTest, ChoosesTheKindByExtensionInAnyCase) {
    const QByteArray bmp = BuiltinFile("copy.bmp"), jpeg = BuiltinFile("trbp300.jpg");
    EXPECT_EQ(LoadPicture(Write("a.Bmp", bmp)).size(), QSize(21, 21));
    EXPECT_EQ(LoadPicture(Write("b.JPG", jpeg)).size(), QSize(256, 8));
    EXPECT_EQ(LoadPicture(Write("c.jpeg", jpeg)).size(), QSize(256, 8));
    const QImage icon = LoadPicture(Write("d.ICO", BuiltinFile("icon.ico")));
    EXPECT_EQ(icon.size(), QSize(48, 48));
    EXPECT_EQ(qAlpha(icon.pixel(0, 47)), 0);
    // The content does not decide: a JPEG named .bmp is a damaged bitmap.
    EXPECT_THAT(ErrorOf(Write("e.bmp", jpeg)), StartsWith("Damaged bitmap picture: "));
    EXPECT_THAT(ErrorOf(Write("f.ico", QByteArray(40, '\x01'))),
                StartsWith("Damaged icon picture: "));

    // Metafiles are drawn in the size their header gives.
    if (CanRenderWindowsMetafiles()) {
        EXPECT_EQ(LoadPicture(Write("g.WMF", Wmf(WmfRedSquare() + kWmfEof))).size(),
                  QSize(100, 100));
    }
    if (CanRenderEnhancedMetafiles()) {
        EXPECT_EQ(LoadPicture(Write("h.Emf", Emf(EmfBlueSquare()))).size(), QSize(100, 100));
    }

    EXPECT_EQ(ErrorOf(Path("missing.Png")), "Unknown picture file extension (.Png)");
    EXPECT_EQ(ErrorOf(Path("archive.jpg.tar")), "Unknown picture file extension (.tar)");
    EXPECT_EQ(ErrorOf(Path("noextension")), "Unknown picture file extension (.)");
    // A missing file is named as given, relative or not; other kinds of file
    // are refused by the same open.
    EXPECT_EQ(ErrorOf("no/such/dir/x.ico"), "Cannot open file no/such/dir/x.ico");
}

TEST_F(LoadPictureTest, RefusesABitmapClaimingAnAbsurdSize) {
    // Each side is allowed, the area is not.
    EXPECT_EQ(ErrorOf(Write("wide.bmp", BmpClaiming(20000, 6000))),
              "Bitmap picture too large (20000 x 6000)");
    // A sane size with too few pixels behind it is damaged, not too large.
    EXPECT_EQ(ErrorOf(Write("short.bmp", BmpClaiming(200, 200))),
              "Damaged bitmap picture: the file ends before its last row");
}

TEST_F(LoadPictureTest, LoadBitmapIgnoresTheExtension) {
    EXPECT_EQ(LoadBitmap(Write("glyph.jpg", BuiltinFile("paste.bmp"))).size(), QSize(21, 21));
    EXPECT_THAT(PictureErrorOf([&] { LoadBitmap(Write("photo.bmp", BuiltinFile("trbp300.jpg"))); }),
                StartsWith("Damaged bitmap picture: "));
}
