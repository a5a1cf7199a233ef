// kaveldef, the command-line companion of Kavel.def Editor.
#include <QCoreApplication>
#include <QFile>
#include <QGuiApplication>
#include <cstdio>
#include <memory>

#include "cli/commands.h"

namespace {

QtMessageHandler qtHandler = nullptr;

// Run without a desktop session, the offscreen platform notes that it has no
// runtime folder; render needs none, so the note is only noise.
void QuietMessages(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (message.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR not set"))) return;
    if (qtHandler) qtHandler(type, context, message);
}

}  // namespace

int main(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments.append(QString::fromLocal8Bit(argv[i]));

    // Only render draws (fonts need a GUI application); it needs no display.
    std::unique_ptr<QCoreApplication> app;
    if (kaveldef::NeedsGui(arguments)) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        qtHandler = qInstallMessageHandler(QuietMessages);
        app = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    QCoreApplication::setApplicationName(QStringLiteral("kaveldef"));
    QCoreApplication::setApplicationVersion(QStringLiteral("1.00"));

    QFile in;
    QFile out;
    QFile err;
    in.open(stdin, QIODevice::ReadOnly);
    out.open(stdout, QIODevice::WriteOnly);
    err.open(stderr, QIODevice::WriteOnly | QIODevice::Unbuffered);
    return kaveldef::Run(QCoreApplication::arguments(), {in, out, err});
}
