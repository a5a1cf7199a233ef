#pragma once

// The picture loader for one kind of file, chosen by the extension that the
// including file defines as KAVEL_FUZZ_EXTENSION: the input is written to a
// file of that extension and loaded as the skin loads it. A picture either
// comes back within the pixel budget or is refused with a PictureError; any
// other outcome (a crash, a hang, an allocation beyond the budget, another
// exception) is a fault.

#include <unistd.h>

#include <QDir>
#include <QGuiApplication>
#include <cstdio>
#include <string>

#include "assets/jpeg_decoder.h"
#include "assets/metafile_helper_path.h"
#include "assets/metafile_renderer.h"
#include "assets/picture_error.h"
#include "assets/picture_loader.h"
#include "fuzz_support.h"

namespace {

QString inputPath;

void CheckPicture(const QImage& image) {
    FUZZ_CHECK(!image.isNull());
    FUZZ_CHECK(qint64(image.width()) * image.height() <= kMaxPicturePixels);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    // Metafiles draw text, which needs the font database of a GUI application.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // Kept to the end of the process: destroyed among the static objects it
    // would outlive Qt's own.
    static QGuiApplication* application = new QGuiApplication(*argc, *argv);
    (void)application;
    // Qt's readers warn on every bad offset of a damaged file; a warning is
    // not a fault, and writing thousands of them a second slows the search.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
        if (type == QtCriticalMsg || type == QtFatalMsg) {
            std::fprintf(stderr, "%s\n", qPrintable(message));
        }
    });
#ifdef KAVEL_FUZZ_DRAW_ONE_IN
    // Without its helper every metafile would be refused alike, and the
    // drawing libraries never reached.
    FUZZ_CHECK(!FindMetafileHelper().isEmpty());
#endif
    inputPath = QDir::temp().filePath(QStringLiteral("kavel-fuzz-%1.%2")
                                          .arg(::getpid())
                                          .arg(QLatin1StringView(KAVEL_FUZZ_EXTENSION)));
    return 0;
}

#ifdef KAVEL_FUZZ_DRAW_ONE_IN
// Set by the replay runner of the test suite, which draws every input.
extern "C" bool kavel_fuzz_replaying __attribute__((weak));

// A kind whose drawing library runs in a child process costs a process per
// drawing. The checks made in this process before the library sees the file
// run on every input; the whole load, library and child included, on a fixed
// share of the inputs chosen by their bytes, so that each input is always
// treated alike.
bool DrawThisOne(const std::uint8_t* data, std::size_t size) {
    if (&kavel_fuzz_replaying != nullptr && kavel_fuzz_replaying) return true;
    std::uint32_t hash = 2166136261u;  // FNV-1a
    for (std::size_t i = 0; i < size; ++i) hash = (hash ^ data[i]) * 16777619u;
    return hash % KAVEL_FUZZ_DRAW_ONE_IN == 0;
}
#endif

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
#ifdef KAVEL_FUZZ_DRAW_ONE_IN
    if (!DrawThisOne(data, size)) {
        CheckBeforeDrawing(FuzzBytes(data, size));
        return 0;
    }
#endif
    const QByteArray native = QFile::encodeName(inputPath);
    std::FILE* file = std::fopen(native.constData(), "wb");
    FUZZ_CHECK(file != nullptr);
    FUZZ_CHECK(std::fwrite(data, 1, size, file) == size);
    FUZZ_CHECK(std::fclose(file) == 0);
    try {
        CheckPicture(LoadPicture(inputPath));
    } catch (const PictureError& error) {
        FUZZ_CHECK(!error.message().isEmpty());
    }
    if (QLatin1StringView(KAVEL_FUZZ_EXTENSION) == QLatin1StringView("bmp")) {
        // The glyphs are read as bitmaps whatever their name says.
        try {
            CheckPicture(LoadBitmap(inputPath));
        } catch (const PictureError& error) {
            FUZZ_CHECK(!error.message().isEmpty());
        }
    }
    std::remove(native.constData());
    return 0;
}
