#include "assets/metafile_renderer.h"

#include <chrono>

#include "assets/drawn_picture.h"
#include "assets/helper_process.h"
#include "assets/metafile_checks.h"
#include "assets/metafile_helper_path.h"
#include "assets/picture_error.h"

using metafile_detail::Damaged;

namespace {

// Longer than any sound picture takes, helper start-up included, even in a
// sanitizer build.
constexpr std::chrono::milliseconds kDrawingTimeLimit{3000};

QString CannotDraw(const QString& why) {
    return QStringLiteral("Cannot draw metafile pictures: the helper program %1 %2")
        .arg(QLatin1StringView(kMetafileHelperName), why);
}

// The checked file drawn by the helper.
QImage DrawnByHelper(const char* kind, const QByteArray& checked) {
    const QString helper = FindMetafileHelper();
    if (helper.isEmpty()) throw PictureError(CannotDraw(QStringLiteral("is missing")));
    const HelperAnswer answer =
        RunDrawingHelper(helper, {QLatin1StringView(kind)}, checked, kDrawingTimeLimit,
                         DrawnPictureBytes(kMaxMetafilePixels));
    switch (answer.ending) {
        case HelperAnswer::Ending::Drawn: {
            const QImage image = DecodeDrawnPicture(answer.bytes, kMaxMetafilePixels);
            if (image.isNull()) break;
            return image;
        }
        case HelperAnswer::Ending::Refused:
            throw PictureError(answer.message);
        case HelperAnswer::Ending::TooSlow:
            Damaged(QStringLiteral("it takes too long to draw"));
        case HelperAnswer::Ending::NotStarted:
            throw PictureError(CannotDraw(QStringLiteral("cannot be started")));
        case HelperAnswer::Ending::Failed:
            break;
    }
    Damaged(QStringLiteral("the drawing library failed on it"));
}

}  // namespace

QImage RenderWindowsMetafile(const QByteArray& bytes) {
    const QByteArray checked = metafile_detail::WindowsMetafileForPlayer(bytes);
    if (!CanRenderWindowsMetafiles()) {
        throw PictureError(
            QStringLiteral("Windows metafile pictures are not supported by this build"));
    }
    return DrawnByHelper("wmf", checked);
}

QImage RenderEnhancedMetafile(const QByteArray& bytes) {
    metafile_detail::CheckEnhancedMetafile(bytes);
    if (!CanRenderEnhancedMetafiles()) {
        throw PictureError(
            QStringLiteral("Enhanced metafile pictures are not supported by this build"));
    }
    return DrawnByHelper("emf", bytes);
}

bool CanRenderWindowsMetafiles() {
#ifdef KAVEL_HAVE_LIBWMF
    return true;
#else
    return false;
#endif
}

bool CanRenderEnhancedMetafiles() {
#ifdef KAVEL_HAVE_EMF2SVG
    return true;
#else
    return false;
#endif
}
