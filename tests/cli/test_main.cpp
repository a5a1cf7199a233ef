#include <gtest/gtest.h>

#include <QApplication>

// The render tests compare with the editor's own preview panel, a widget, so
// the tests run under a widget application on the offscreen platform.
int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
