#include "assets/jpeg_decoder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

// jpeglib.h expects size_t and FILE to be declared before it.
#include <jpeglib.h>

#include <cstdio>
#include <cstdlib>
#include <functional>

#include "assets/picture_error.h"
#include "assets/picture_test_support.h"

namespace {

using ::testing::StartsWith;

std::string ErrorOf(const QByteArray& bytes) {
    return PictureErrorOf([&] { DecodeJpeg(bytes); });
}

struct Coding {
    bool progressive = false;
    bool arithmetic = false;
    bool optimized = false;
    unsigned int restartRows = 0;    // restart marker every N MCU rows
    unsigned int restartBlocks = 0;  // or every N MCUs
    bool adobeMarker = true;
};

// Encodes a picture with libjpeg's compressor as `coding` says; `fillRow`
// writes the samples of row y.
QByteArray Compress(int width, int height, J_COLOR_SPACE space, int components,
                    const Coding& coding, const std::function<void(int, QByteArray&)>& fillRow) {
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = components;
    info.in_color_space = space;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 95, TRUE);
    info.write_Adobe_marker = coding.adobeMarker ? TRUE : FALSE;
    info.arith_code = coding.arithmetic ? TRUE : FALSE;
    info.optimize_coding = coding.optimized ? TRUE : FALSE;
    info.restart_in_rows = static_cast<int>(coding.restartRows);
    info.restart_interval = coding.restartBlocks;
    if (coding.progressive) jpeg_simple_progression(&info);
    jpeg_start_compress(&info, TRUE);
    QByteArray row(width * components, '\0');
    for (int y = 0; y < height; ++y) {
        fillRow(y, row);
        JSAMPROW line = reinterpret_cast<JSAMPROW>(row.data());
        jpeg_write_scanlines(&info, &line, 1);
    }
    jpeg_finish_compress(&info);
    QByteArray bytes(reinterpret_cast<const char*>(buffer), static_cast<qsizetype>(size));
    jpeg_destroy_compress(&info);
    std::free(buffer);
    return bytes;
}

// A 16 x 16 picture, each 8 x 8 quarter in one of `quarters` (four pixels of
// `components` bytes each).
QByteArray Encode(J_COLOR_SPACE space, int components, const QByteArray& quarters,
                  bool progressive = false, bool adobeMarker = true) {
    Coding coding;
    coding.progressive = progressive;
    coding.adobeMarker = adobeMarker;
    return Compress(16, 16, space, components, coding, [&](int y, QByteArray& row) {
        for (int x = 0; x < 16; ++x) {
            const int quarter = (y / 8) * 2 + x / 8;
            for (int c = 0; c < components; ++c)
                row[x * components + c] = quarters[quarter * components + c];
        }
    });
}

// A 37 x 23 colour gradient (sizes that fill no MCU).
QByteArray EncodeGradient(const Coding& coding) {
    return Compress(37, 23, JCS_RGB, 3, coding, [](int y, QByteArray& row) {
        for (int x = 0; x < 37; ++x) {
            row[x * 3] = static_cast<char>(x * 7);
            row[x * 3 + 1] = static_cast<char>(y * 11);
            row[x * 3 + 2] = static_cast<char>(255 - x * 3 - y * 4);
        }
    });
}

QByteArray Bytes(std::initializer_list<int> values) {
    QByteArray bytes;
    for (int v : values) bytes.append(static_cast<char>(v));
    return bytes;
}

// Red, green, blue and white quarters, as RGB.
const QByteArray kRgbQuarters = Bytes({255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255});

void ExpectQuarters(const QImage& image) {
    ASSERT_EQ(image.size(), QSize(16, 16));
    const QColor expected[] = {Qt::red, Qt::green, Qt::blue, Qt::white};
    for (int q = 0; q < 4; ++q) {
        const QColor got = image.pixelColor((q % 2) * 8 + 4, (q / 2) * 8 + 4);
        EXPECT_NEAR(got.red(), expected[q].red(), 12) << "quarter " << q;
        EXPECT_NEAR(got.green(), expected[q].green(), 12) << "quarter " << q;
        EXPECT_NEAR(got.blue(), expected[q].blue(), 12) << "quarter " << q;
    }
}

// Offset of the first frame header (SOF0 or SOF2) marker.
qsizetype FrameHeader(const QByteArray& jpeg) {
    for (qsizetype i = 2; i + 1 < jpeg.size(); ++i) {
        const auto b = static_cast<unsigned char>(jpeg[i + 1]);
        if (static_cast<unsigned char>(jpeg[i]) == 0xFF && (b == 0xC0 || b == 0xC2)) return i;
    }
    return -1;
}

QByteArray WithClaimedSize(QByteArray jpeg, int width, int height) {
    const qsizetype at = FrameHeader(jpeg);
    if (at < 0) return {};
    jpeg[at + 5] = static_cast<char>(height >> 8);
    jpeg[at + 6] = static_cast<char>(height & 0xFF);
    jpeg[at + 7] = static_cast<char>(width >> 8);
    jpeg[at + 8] = static_cast<char>(width & 0xFF);
    return jpeg;
}

}  // namespace

TEST(DecodeJpeg, ReadsColourGreyAndProgressiveFiles) {
    ExpectQuarters(DecodeJpeg(Encode(JCS_RGB, 3, kRgbQuarters)));
    ExpectQuarters(DecodeJpeg(Encode(JCS_RGB, 3, kRgbQuarters, true)));

    const QImage grey = DecodeJpeg(Encode(JCS_GRAYSCALE, 1, Bytes({0, 80, 160, 255})));
    EXPECT_EQ(grey.format(), QImage::Format_RGBX8888);
    const int levels[] = {0, 80, 160, 255};
    for (int q = 0; q < 4; ++q) {
        const QColor got = grey.pixelColor((q % 2) * 8 + 4, (q / 2) * 8 + 4);
        EXPECT_NEAR(got.red(), levels[q], 3);
        EXPECT_EQ(got.red(), got.green());
        EXPECT_EQ(got.red(), got.blue());
    }
}

TEST(DecodeJpeg, ReadsEveryCodingAndRestartLayoutWhole) {
    // Sound files of every coding must not be taken for cut ones: each is read
    // to its last row, close to the gradient it was made from.
    for (const bool progressive : {false, true}) {
        for (const bool arithmetic : {false, true}) {
            for (const unsigned int restartBlocks : {0u, 1u, 3u}) {
                const Coding coding{.progressive = progressive,
                                    .arithmetic = arithmetic,
                                    .optimized = !arithmetic,
                                    .restartBlocks = restartBlocks};
                const QImage image = DecodeJpeg(EncodeGradient(coding));
                ASSERT_EQ(image.size(), QSize(37, 23));
                for (const QPoint at : {QPoint(0, 0), QPoint(36, 22), QPoint(20, 11)}) {
                    const QColor got = image.pixelColor(at);
                    EXPECT_NEAR(got.red(), at.x() * 7, 10) << progressive << arithmetic;
                    EXPECT_NEAR(got.green(), at.y() * 11, 10) << progressive << arithmetic;
                    EXPECT_NEAR(got.blue(), 255 - at.x() * 3 - at.y() * 4, 10)
                        << progressive << arithmetic << restartBlocks;
                }
            }
        }
    }
    EXPECT_EQ(DecodeJpeg(EncodeGradient({.optimized = true, .restartRows = 1})).size(),
              QSize(37, 23));
}

TEST(DecodeJpeg, ConvertsCmykInBothInkConventions) {
    // Files with an Adobe marker hold the inks inverted (0 = full ink), as
    // Photoshop writes them; files without it hold them plainly.
    const QByteArray inks = Bytes({0, 255, 255, 0, 255, 0, 255, 0, 255, 255, 0, 0, 0, 0, 0, 0});
    QByteArray inverted = inks;
    for (char& b : inverted) b = static_cast<char>(255 - static_cast<unsigned char>(b));
    ExpectQuarters(DecodeJpeg(Encode(JCS_CMYK, 4, inverted, false, true)));
    ExpectQuarters(DecodeJpeg(Encode(JCS_CMYK, 4, inks, false, false)));
}

TEST(DecodeJpeg, RefusesEmptyAndForeignData) {
    EXPECT_EQ(ErrorOf(QByteArray()), "Damaged JPEG picture: Empty input file");
    EXPECT_THAT(ErrorOf("GIF89a not a jpeg at all"),
                StartsWith("Damaged JPEG picture: Not a JPEG file"));
    QByteArray corrupt = Encode(JCS_RGB, 3, kRgbQuarters);
    corrupt[FrameHeader(corrupt) + 9] = 0;  // a frame of no components
    EXPECT_THAT(ErrorOf(corrupt), StartsWith("Damaged JPEG picture: "));
}

TEST(DecodeJpeg, RefusesATruncatedFileInsteadOfFillingItGrey) {
    const QByteArray whole = BuiltinFile("atcr101.jpg");
    ASSERT_FALSE(whole.isEmpty());
    EXPECT_EQ(ErrorOf(whole.left(whole.size() / 2)),
              "Damaged JPEG picture: Premature end of JPEG file");
    QByteArray progressive = Encode(JCS_RGB, 3, kRgbQuarters, true);
    EXPECT_EQ(ErrorOf(progressive.left(progressive.size() - 40)),
              "Damaged JPEG picture: Premature end of JPEG file");

    // The same cuts closed by an end marker, as some copying tools leave them.
    const QByteArray end("\xFF\xD9", 2);
    EXPECT_EQ(ErrorOf(whole.left(whole.size() / 2) + end),
              "Damaged JPEG picture: Corrupt JPEG data: premature end of data segment");
    EXPECT_EQ(ErrorOf(progressive.left(progressive.size() - 40) + end),
              "Damaged JPEG picture: Corrupt JPEG data: premature end of data segment");
}

TEST(DecodeJpeg, RefusesAbsurdSizesBeforeAllocating) {
    const QByteArray small = BuiltinFile("trbp300.jpg");
    ASSERT_GT(FrameHeader(small), 0);
    EXPECT_EQ(ErrorOf(WithClaimedSize(small, 65535, 65535)),
              "JPEG picture too large (65535 x 65535)");
    // Each side is allowed, the area is not.
    EXPECT_EQ(ErrorOf(WithClaimedSize(small, 20000, 6000)),
              "JPEG picture too large (20000 x 6000)");
}

TEST(DecodeJpeg, StopsAFileThatRepeatsItsScansWithoutEnd) {
    // A progressive file whose last scan is repeated 600 times: every scan
    // walks the whole picture, so the count is limited.
    const QByteArray progressive = Encode(JCS_RGB, 3, kRgbQuarters, true);
    const qsizetype lastScan = progressive.lastIndexOf(QByteArray("\xFF\xDA", 2));
    ASSERT_GT(lastScan, 0);
    const QByteArray scan = progressive.mid(lastScan, progressive.size() - 2 - lastScan);
    QByteArray looped = progressive.left(progressive.size() - 2);
    for (int i = 0; i < 600; ++i) looped += scan;
    looped += QByteArray("\xFF\xD9", 2);
    EXPECT_EQ(ErrorOf(looped), "Damaged JPEG picture: more than 500 scans");
}
