#include "assets/jpeg_decoder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

// jpeglib.h expects size_t and FILE to be declared before it.
#include <jpeglib.h>

#include <cstdio>
#include <cstdlib>
#include <functional>

#include "assets/picture_test_support.h"

namespace {

using ::testing::StartsWith;

std::string ErrorOf(const QByteArray& bytes) {
    return PictureErrorOf([&] { DecodeJpeg(bytes); });
}

struct Coding {
    bool progressive = false;
    bool arithmetic = false;
    bool optimized = true;           // Huffman tables made for the picture
    unsigned int restartBlocks = 0;  // restart marker every N MCUs
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

// A 16 x 16 progressive picture in red, green, blue and white quarters.
QByteArray EncodeProgressiveQuarters() {
    return Compress(16, 16, JCS_RGB, 3, {.progressive = true, .optimized = false},
                    [](int y, QByteArray& row) {
                        static const char kQuarters[] = "\xFF\0\0\0\xFF\0\0\0\xFF\xFF\xFF\xFF";
                        for (int i = 0; i < 16 * 3; ++i)
                            row[i] = kQuarters[((y / 8) * 2 + i / 24) * 3 + i % 3];
                    });
}

// The file with `bytes` put at `offset` into its frame header (SOF0 or SOF2).
QByteArray WithFrameHeaderBytes(QByteArray jpeg, qsizetype offset, const QByteArray& bytes) {
    for (qsizetype at = 2; at + offset + bytes.size() <= jpeg.size(); ++at) {
        const auto marker = static_cast<unsigned char>(jpeg[at + 1]);
        if (jpeg[at] == '\xFF' && (marker == 0xC0 || marker == 0xC2))
            return jpeg.replace(at + offset, bytes.size(), bytes);
    }
    ADD_FAILURE() << "no frame header";
    return {};
}

}  // namespace

TEST(DecodeJpeg, ReadsEveryCodingAndRestartLayoutWhole) {
    // Sound files of every coding must not be taken for cut ones: each is read
    // to its last row, close to the gradient it was made from.
    for (const bool progressive : {false, true}) {
        for (const bool arithmetic : {false, true}) {
            for (const unsigned int restartBlocks : {0u, 1u, 3u}) {
                const QImage image = DecodeJpeg(EncodeGradient({.progressive = progressive,
                                                                .arithmetic = arithmetic,
                                                                .optimized = !arithmetic,
                                                                .restartBlocks = restartBlocks}));
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
}

TEST(DecodeJpeg, ConvertsCmykInBothInkConventions) {
    // Files with an Adobe marker hold the inks inverted (0 = full ink), as
    // Photoshop writes them; files without it hold them plainly. The 8 x 8
    // quarters are red, green, blue and white.
    const int inks[4][4] = {{0, 255, 255, 0}, {255, 0, 255, 0}, {255, 255, 0, 0}, {0, 0, 0, 0}};
    const QColor expected[] = {Qt::red, Qt::green, Qt::blue, Qt::white};
    for (const bool adobe : {true, false}) {
        const QImage image = DecodeJpeg(
            Compress(16, 16, JCS_CMYK, 4, {.adobeMarker = adobe}, [&](int y, QByteArray& row) {
                for (int i = 0; i < 16 * 4; ++i) {
                    const int ink = inks[(y / 8) * 2 + i / 32][i % 4];
                    row[i] = static_cast<char>(adobe ? 255 - ink : ink);
                }
            }));
        ASSERT_EQ(image.size(), QSize(16, 16));
        for (int q = 0; q < 4; ++q) {
            const QColor got = image.pixelColor((q % 2) * 8 + 4, (q / 2) * 8 + 4);
            EXPECT_NEAR(got.red(), expected[q].red(), 12) << adobe << " quarter " << q;
            EXPECT_NEAR(got.green(), expected[q].green(), 12) << adobe << " quarter " << q;
            EXPECT_NEAR(got.blue(), expected[q].blue(), 12) << adobe << " quarter " << q;
        }
    }
}

TEST(DecodeJpeg, RefusesDamagedFilesAndAbsurdSizes) {
    const QByteArray noComponents =
        WithFrameHeaderBytes(EncodeGradient({}), 9, QByteArray(1, '\0'));
    for (const QByteArray& damaged : {QByteArray(), QByteArray("GIF89a"), noComponents})
        EXPECT_THAT(ErrorOf(damaged), StartsWith("Damaged JPEG picture: "));

    // Cut files, baseline and progressive, are refused rather than filled with
    // grey; and so are the same cuts closed by an end marker, as some copying
    // tools leave them.
    const QByteArray baseline = BuiltinFile("atcr101.jpg");
    const QByteArray progressive = EncodeProgressiveQuarters();
    for (const QByteArray& cut : {baseline.left(baseline.size() / 2), progressive.chopped(40)}) {
        EXPECT_EQ(ErrorOf(cut), "Damaged JPEG picture: Premature end of JPEG file");
        EXPECT_EQ(ErrorOf(cut + "\xFF\xD9"),
                  "Damaged JPEG picture: Corrupt JPEG data: premature end of data segment");
    }

    // Absurd sizes (the frame header's height and width, big-endian) are
    // refused before anything is allocated; each side of the second is
    // allowed, the area is not.
    EXPECT_EQ(ErrorOf(WithFrameHeaderBytes(baseline, 5, "\xFF\xFF\xFF\xFF")),
              "JPEG picture too large (65535 x 65535)");
    EXPECT_EQ(ErrorOf(WithFrameHeaderBytes(baseline, 5, "\x17\x70\x4E\x20")),
              "JPEG picture too large (20000 x 6000)");
}

TEST(DecodeJpeg, StopsAFileThatRepeatsItsScansWithoutEnd) {
    // A progressive file whose last scan is repeated 600 times: every scan
    // walks the whole picture, so the count is limited.
    const QByteArray progressive = EncodeProgressiveQuarters();
    const qsizetype lastScan = progressive.lastIndexOf(QByteArray("\xFF\xDA", 2));
    ASSERT_GT(lastScan, 0);
    QByteArray looped = progressive.chopped(2);
    for (int i = 0; i < 600; ++i)
        looped += progressive.mid(lastScan, progressive.size() - 2 - lastScan);
    EXPECT_EQ(ErrorOf(looped + "\xFF\xD9"), "Damaged JPEG picture: more than 500 scans");
}
