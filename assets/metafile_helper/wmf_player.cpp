// Windows metafiles through libwmf's gd device, which draws into a
// true-colour picture and writes it out as PNG.

#include <optional>

#include "assets/metafile_checks.h"
#include "assets/metafile_helper/players.h"
#include "assets/picture_error.h"
#include "base/little_endian.h"

// After Qt's headers: libwmf's define macros such as U16 that clash with them.
#include <libwmf/api.h>
#include <libwmf/gd.h>

namespace {

using metafile_detail::Damaged;

QString Why(wmf_error_t error) {
    switch (error) {
        case wmf_E_InsMem:
            return QStringLiteral("not enough memory to draw it");
        case wmf_E_EOF:
            return QStringLiteral("the file ends early");
        case wmf_E_BadFile:
        case wmf_E_BadFormat:
            return QStringLiteral("its records cannot be read");
        default:
            return QStringLiteral("it cannot be drawn");
    }
}

// Owns libwmf's state and the memory it reads from; destroying it also frees
// the picture drawn.
class Player {
  public:
    explicit Player(const QByteArray& bytes) : bytes_(bytes) {
        wmfAPI_Options options{};
        options.function = wmf_gd_function;
        const unsigned long flags =
            WMF_OPT_FUNCTION | WMF_OPT_IGNORE_NONFATAL | WMF_OPT_NO_ERROR | WMF_OPT_NO_DEBUG;
        if (wmf_api_create(&api_, flags, &options) != wmf_E_None) {
            Release();
            throw PictureError(QStringLiteral("Windows metafiles cannot be drawn here"));
        }
        Check(wmf_mem_open(api_, reinterpret_cast<unsigned char*>(bytes_.data()),
                           static_cast<long>(bytes_.size())));
        opened_ = true;
    }
    Player(const Player&) = delete;
    Player& operator=(const Player&) = delete;
    ~Player() { Release(); }

    // The picture drawn, as PNG.
    QByteArray DrawPng() {
        wmfD_Rect box{};
        Check(wmf_scan(api_, 0, &box));
        unsigned int width = 0, height = 0;
        Check(wmf_display_size(api_, &width, &height, 96, 96));
        metafile_detail::CheckPictureSize(width, height);

        // The device hands over the picture as PNG through a sink; asking for
        // the gd image itself would leave it unfreed.
        wmf_gd_t* device = WMF_GD_GetData(api_);
        if ((device->flags & WMF_GD_SUPPORTS_PNG) == 0) {
            throw PictureError(QStringLiteral("Windows metafiles cannot be drawn here"));
        }
        device->type = wmf_gd_png;
        device->flags |= WMF_GD_OUTPUT_MEMORY | WMF_GD_OWN_BUFFER;
        device->sink.context = &png_;
        device->sink.function = CollectPng;
        device->bbox = PlaceableFrame().value_or(box);
        device->width = width;
        device->height = height;
        Check(wmf_play(api_, 0, &box));
        return png_;
    }

  private:
    static int CollectPng(void* context, char* buffer, int length) {
        static_cast<QByteArray*>(context)->append(buffer, length);
        return length;
    }

    // The scan finds the box around what is drawn; a placeable file names its
    // own frame, in the units that libwmf draws in there: points.
    std::optional<wmfD_Rect> PlaceableFrame() const {
        const auto u16 = [&](int at) {
            return little_endian::Load<quint16>(bytes_.constData() + at);
        };
        if (bytes_.size() < 22 || u16(0) != 0xCDD7 || u16(2) != 0x9AC6 || u16(14) == 0) {
            return std::nullopt;
        }
        const float toPoints = 72.0f / u16(14);
        const auto s16 = [&](int at) { return static_cast<qint16>(u16(at)) * toPoints; };
        wmfD_Rect frame{};
        frame.TL.x = qMin(s16(6), s16(10));
        frame.TL.y = qMin(s16(8), s16(12));
        frame.BR.x = qMax(s16(6), s16(10));
        frame.BR.y = qMax(s16(8), s16(12));
        return frame;
    }

    void Check(wmf_error_t error) {
        if (error != wmf_E_None) Damaged(Why(error));
    }
    void Release() {
        if (api_ == nullptr) return;
        if (opened_) wmf_mem_close(api_);
        wmf_api_destroy(api_);
        api_ = nullptr;
    }

    QByteArray bytes_;  // libwmf reads from this copy while it plays
    QByteArray png_;
    wmfAPI* api_ = nullptr;
    bool opened_ = false;
};

}  // namespace

QImage metafile_detail::PlayWindowsMetafile(const QByteArray& bytes) {
    // The player fills every shape over its whole extent, inside the picture
    // or not, and draws text and bitmaps at any size the records ask for: a
    // record of a few bytes can keep it busy for minutes or take gigabytes,
    // which is why it runs in the helper.
    Player player(bytes);
    const QImage image = QImage::fromData(player.DrawPng(), "png");
    if (image.isNull()) Damaged(QStringLiteral("nothing was drawn"));
    return image;
}
