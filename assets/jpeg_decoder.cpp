#include "assets/jpeg_decoder.h"

// jpeglib.h expects size_t and FILE to be declared before it.
#include <jerror.h>
#include <jpeglib.h>

#include <csetjmp>
#include <cstddef>
#include <cstdio>

#include "assets/picture_error.h"

namespace {

// A progressive file may carry any number of scans, and every scan walks the
// whole picture; a few hundred is far more than any encoder writes.
constexpr int kMaxScans = 500;
// Ceiling for libjpeg's own working memory (the whole-picture coefficient
// buffers of progressive files); beyond it libjpeg raises an error.
constexpr long kMaxDecoderMemory = 768L * 1024 * 1024;

struct ErrorManager {
    jpeg_error_mgr pub;  // first, so that libjpeg's pointer converts back
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

struct Decoder {
    jpeg_decompress_struct info{};
    ErrorManager error{};
    jpeg_progress_mgr progress{};

    Decoder() = default;
    Decoder(const Decoder&) = delete;
    Decoder& operator=(const Decoder&) = delete;
    ~Decoder() { jpeg_destroy_decompress(&info); }  // harmless when never created
};

ErrorManager& ErrorsOf(j_common_ptr cinfo) {
    return *reinterpret_cast<ErrorManager*>(cinfo->err);
}

// libjpeg's default reaction to an error is exit(); we go back to Run() instead.
[[noreturn]] void JumpBack(j_common_ptr cinfo) {
    ErrorManager& errors = ErrorsOf(cinfo);
    (*cinfo->err->format_message)(cinfo, errors.message);
    std::longjmp(errors.jump, 1);
}

void Silence(j_common_ptr) {}

// Warnings about recoverable faults (stray bytes between markers and the like)
// are let through, as every viewer does. Running out of data before the last
// row is not, whether the file ends there or a marker follows too early:
// libjpeg would fill the rest of the picture with grey, and a half-grey
// picture is better reported than shown. Stopping there also spares the
// decoding of a huge picture that a few bytes of data merely claim.
// Arithmetic-coded scans may end early by design (the encoder drops their
// trailing zero bytes), so libjpeg cannot tell a cut one and stays silent;
// such a file is bounded only by the pixel budget.
void EmitMessage(j_common_ptr cinfo, int level) {
    if (level >= 0) return;  // trace messages
    const int code = cinfo->err->msg_code;
    if (code == JWRN_JPEG_EOF || code == JWRN_HIT_MARKER) JumpBack(cinfo);
    ++cinfo->err->num_warnings;
}

void WatchScans(j_common_ptr cinfo) {
    if (cinfo->is_decompressor) {
        auto* info = reinterpret_cast<j_decompress_ptr>(cinfo);
        if (info->input_scan_number > kMaxScans) {
            ErrorManager& errors = ErrorsOf(cinfo);
            std::snprintf(errors.message, sizeof errors.message, "more than %d scans", kMaxScans);
            std::longjmp(errors.jump, 1);
        }
    }
}

// Stored CMYK is converted with the plain formula; files with an Adobe marker
// hold the inks inverted, as Photoshop writes them.
void CmykToRgbx(uchar* line, int width, bool inverted) {
    for (int x = 0; x < width; ++x) {
        uchar* p = line + 4 * x;
        int c = p[0], m = p[1], y = p[2], k = p[3];
        if (!inverted) {
            c = 255 - c;
            m = 255 - m;
            y = 255 - y;
            k = 255 - k;
        }
        p[0] = static_cast<uchar>((c * k + 127) / 255);
        p[1] = static_cast<uchar>((m * k + 127) / 255);
        p[2] = static_cast<uchar>((y * k + 127) / 255);
        p[3] = 255;
    }
}

QString TooLarge(qint64 width, qint64 height) {
    return QStringLiteral("JPEG picture too large (%1 x %2)").arg(width).arg(height);
}

// Runs libjpeg over the bytes into `image`. Returns false when libjpeg gave up;
// its message is then in decoder.error.message. Nothing that needs a
// destructor may live in this frame across libjpeg calls, since errors leave
// through longjmp.
bool Run(Decoder& decoder, const QByteArray& bytes, QImage& image) {
    jpeg_decompress_struct& info = decoder.info;
    if (setjmp(decoder.error.jump)) return false;

    jpeg_create_decompress(&info);
    info.mem->max_memory_to_use = kMaxDecoderMemory;
    info.progress = &decoder.progress;
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.constData()),
                 static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&info, TRUE);

    const qint64 width = info.image_width;
    const qint64 height = info.image_height;
    if (width > JPEG_MAX_DIMENSION || height > JPEG_MAX_DIMENSION ||
        width * height > kMaxPicturePixels) {
        throw PictureError(TooLarge(width, height));
    }

    const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
    info.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_RGBX;
    jpeg_start_decompress(&info);

    image = QImage(static_cast<int>(info.output_width), static_cast<int>(info.output_height),
                   QImage::Format_RGBX8888);
    if (image.isNull()) throw PictureError(TooLarge(width, height));
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = image.scanLine(static_cast<int>(info.output_scanline));
        jpeg_read_scanlines(&info, &row, 1);
    }
    if (cmyk) {
        for (int y = 0; y < image.height(); ++y) {
            CmykToRgbx(image.scanLine(y), image.width(), info.saw_Adobe_marker);
        }
    }
    // The rest of the file (a missing end marker, trailing bytes) is of no
    // interest; destroying the decoder discards it.
    return true;
}

}  // namespace

QImage DecodeJpeg(const QByteArray& bytes) {
    Decoder decoder;
    decoder.info.err = jpeg_std_error(&decoder.error.pub);
    decoder.error.pub.error_exit = JumpBack;
    decoder.error.pub.output_message = Silence;
    decoder.error.pub.emit_message = EmitMessage;
    decoder.progress.progress_monitor = WatchScans;

    QImage image;
    if (!Run(decoder, bytes, image)) {
        // libjpeg checks the largest dimension itself while reading the header.
        if (decoder.error.pub.msg_code == JERR_IMAGE_TOO_BIG) {
            throw PictureError(TooLarge(decoder.info.image_width, decoder.info.image_height));
        }
        throw PictureError(QStringLiteral("Damaged JPEG picture: %1")
                               .arg(QString::fromLocal8Bit(decoder.error.message)));
    }
    return image;
}
