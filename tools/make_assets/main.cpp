// kavel-make-assets: draws the program's built-in pictures and writes them
// into a folder, by default assets/pictures of the working directory (run it
// from the top of the source tree).

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <cstdio>

#include "canvas.h"
#include "pictures.h"

int main(int argc, char** argv) {
    // Drawing needs no window system; the offscreen platform is enough.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = QGuiApplication::arguments();
    const QDir out(args.size() > 1 ? args.at(1) : QStringLiteral("assets/pictures"));
    if (!out.exists() && !QDir().mkpath(out.path())) {
        std::fprintf(stderr, "kavel-make-assets: cannot create %s\n", qPrintable(out.path()));
        return 1;
    }
    auto path = [&](const char* name) { return out.filePath(QString::fromLatin1(name)); };
    constexpr int kQuality = 85;

    WriteJpeg(DrawOfficeBackground(), path("background.jpg"), kQuality, false, false);
    WriteJpeg(DrawNightSkyline(), path("atcr100.jpg"), kQuality, true, false);
    WriteJpeg(DrawFoldedMap(), path("atcr101.jpg"), kQuality, false, false);
    WriteJpeg(DrawTitleLettering(), path("atcr102.jpg"), 90, false, true);
    WriteJpeg(DrawProgressDots(), path("trbp300.jpg"), 90, false, true);
    WriteBmp24(DrawCopyGlyph(), path("copy.bmp"));
    WriteBmp24(DrawPasteGlyph(), path("paste.bmp"));
    const QImage icon = DrawProgramIcon();
    WritePng(icon, path("icon.png"));
    WriteIco32(icon, path("icon.ico"));
    WriteBmp24(DrawStatusStrip(), path("sb_strip.bmp"));
    WriteBmp24(DrawInfoSeparator(), path("sb_info.bmp"));
    std::printf("Pictures written to %s\n", qPrintable(out.path()));
    return 0;
}
