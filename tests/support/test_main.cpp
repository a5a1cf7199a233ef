#include <gtest/gtest.h>

#include <QGuiApplication>

// The core tests draw with QPainter and fonts, which need a GUI application
// object; it runs on the offscreen platform.
int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
