#include "base/code_page.h"

#include <gtest/gtest.h>

TEST(CodePage, EveryByteSurvivesTheRoundTrip) {
    QByteArray all;
    for (int b = 0; b < 256; ++b) all.append(static_cast<char>(b));
    const QString text = FromCodePage(all);
    ASSERT_EQ(text.size(), 256);
    EXPECT_EQ(text.at(0x80), QChar(0x20AC));  // euro sign
    EXPECT_EQ(text.at(0xE4), QChar(0x00E4));  // a umlaut
    EXPECT_EQ(text.at(0x9F), QChar(0x0178));
    EXPECT_EQ(ToCodePage(text), all);
    EXPECT_EQ(ToCodePage(QString::fromUtf8("€ ü ✓")), QByteArray("\x80 \xFC ?"));
    EXPECT_EQ(FirstOutsideCodePage(text), "");
}

TEST(CodePage, TheFirstCharacterItLacksIsNamedWhole) {
    EXPECT_EQ(FirstOutsideCodePage(QString::fromUtf8("€?Ωx好")), QString::fromUtf8("Ω"));
    // Outside the basic plane: both halves of the pair.
    EXPECT_EQ(FirstOutsideCodePage(QString::fromUtf8("ab😀")), QString::fromUtf8("😀"));
    // A C1 control that the code page's byte 0x81 stands for is held; 0x80 is the euro.
    EXPECT_EQ(FirstOutsideCodePage(QString(QChar(0x81))), "");
    EXPECT_EQ(FirstOutsideCodePage(QString(QChar(0x80))), QString(QChar(0x80)));
}
