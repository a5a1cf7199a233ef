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
    // The first character it lacks is named whole, both halves of a pair.
    EXPECT_EQ(FirstOutsideCodePage(text), "");
    EXPECT_EQ(FirstOutsideCodePage(QString::fromUtf8("€?Ωx好")), QString::fromUtf8("Ω"));
    EXPECT_EQ(FirstOutsideCodePage(QString::fromUtf8("ab😀")), QString::fromUtf8("😀"));
}
