// kavel-draw-metafile: draws one metafile for the program, which runs it for
// every .wmf and .emf picture it loads (assets/helper_process.h).
//
//   kavel-draw-metafile wmf|emf < FILE > ANSWER
//
// The answer is 'D' and the picture (assets/drawn_picture.h), or 'R' and the
// message of the refusal; the exit status is 0 when an answer was written. The drawing
// libraries were written for trusted files, so they run here: a hostile file
// costs this process, never the program's window or memory.

#include <unistd.h>

#include <QGuiApplication>
#include <QString>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <new>
#include <optional>

#include "assets/drawn_picture.h"
#include "assets/helper_process.h"
#include "assets/metafile_checks.h"
#include "assets/metafile_helper/players.h"
#include "assets/metafile_helper/resource_limits.h"
#include "assets/picture_error.h"

namespace {

// The picture loader reads no larger file.
constexpr qint64 kMaxInputBytes = 256LL * 1024 * 1024;

enum class Kind { Windows, Enhanced };

std::optional<Kind> KindNamed(const char* name) {
    if (std::strcmp(name, "wmf") == 0) return Kind::Windows;
    if (std::strcmp(name, "emf") == 0) return Kind::Enhanced;
    return std::nullopt;
}

std::optional<QByteArray> ReadInput() {
    QByteArray input;
    char chunk[64 * 1024];
    for (;;) {
        const ssize_t got = ::read(STDIN_FILENO, chunk, sizeof chunk);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return std::nullopt;
        if (got == 0) return input;
        if (input.size() + got > kMaxInputBytes) return std::nullopt;
        input.append(chunk, got);
    }
}

bool WriteAll(const char* data, qint64 size) {
    while (size > 0) {
        const ssize_t written = ::write(STDOUT_FILENO, data, static_cast<size_t>(size));
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        data += written;
        size -= written;
    }
    return true;
}

// The same checks the program made: the libraries never see a file that
// did not pass them, whoever runs the helper.
QImage Draw(Kind kind, const QByteArray& bytes) {
    if (kind == Kind::Windows) {
        const QByteArray checked = metafile_detail::WindowsMetafileForPlayer(bytes);
#ifdef KAVEL_HAVE_LIBWMF
        return metafile_detail::PlayWindowsMetafile(checked);
#else
        throw PictureError(
            QStringLiteral("Windows metafile pictures are not supported by this build"));
#endif
    }
    const QSize size = metafile_detail::CheckEnhancedMetafile(bytes);
#ifdef KAVEL_HAVE_EMF2SVG
    return metafile_detail::PlayEnhancedMetafile(bytes, size);
#else
    (void)size;
    throw PictureError(
        QStringLiteral("Enhanced metafile pictures are not supported by this build"));
#endif
}

}  // namespace

int main(int argc, char** argv) {
    LimitHelperResources();
    const std::optional<Kind> kind = argc == 2 ? KindNamed(argv[1]) : std::nullopt;
    if (!kind) {
        std::fprintf(stderr, "usage: %s wmf|emf < FILE > ANSWER\n", argv[0]);
        return 2;
    }
    // Qt warns about every odd attribute of a damaged drawing, and about its
    // own start-up here: not the program's business, and the error channel
    // is the program's.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
        if (type == QtCriticalMsg || type == QtFatalMsg) {
            std::fprintf(stderr, "%s\n", qPrintable(message));
        }
    });

    // Qt SVG lays out the texts of a converted picture with the font
    // database, which needs a GUI application; the offscreen platform draws
    // into pictures only and never needs a display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    const std::optional<QByteArray> input = ReadInput();
    if (!input) return 3;
    char tag = kHelperDrewTag;
    QByteArray payload;
    try {
        payload = EncodeDrawnPicture(Draw(*kind, *input));
    } catch (const PictureError& error) {
        tag = kHelperRefusedTag;
        payload = error.message().toUtf8();
    } catch (const std::bad_alloc&) {
        return 4;
    }
    const bool answered = WriteAll(&tag, 1) && WriteAll(payload.constData(), payload.size());
    // Nothing is left to do: tearing down Qt and the libraries' state would
    // only cost time, and the leak checker's report on a hostile file's
    // leftovers is no one's concern.
    ::_exit(answered ? 0 : 1);
}
