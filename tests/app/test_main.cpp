#include <gtest/gtest.h>

#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>

namespace {

QtMessageHandler previousHandler = nullptr;

// The offscreen platform says at every fade-in step that it has no window
// opacity; the window keeps its own value, so the notice is only noise.
void QuietMessages(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    // Nor can it raise windows or grab the keyboard for a popup.
    for (const char* noise : {"does not support setting window opacity", "does not support raise()",
                              "does not support grabbing the keyboard"})
        if (message.contains(QLatin1String(noise))) return;
    if (previousHandler) previousHandler(type, context, message);
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    previousHandler = qInstallMessageHandler(QuietMessages);
    QApplication app(argc, argv);
    // The window's settings (QSettings) go to a folder of this run's own,
    // apart from the user's and from test runs beside it.
    const QTemporaryDir settings;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
