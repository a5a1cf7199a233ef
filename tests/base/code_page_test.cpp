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
    // The first character it lacks is named whole, both halves of a pair; a
    // NUL has no byte of a text, since it would end it.
    EXPECT_EQ(FirstCharOutsideCodePage(text.mid(1)), std::nullopt);
    EXPECT_EQ(FirstCharOutsideCodePage(text), U'\0');
    EXPECT_EQ(FirstCharOutsideCodePage(QString::fromUtf8("€?Ωx好")), U'Ω');
    EXPECT_EQ(FirstCharOutsideCodePage(QString::fromUtf8("ab😀")), U'😀');
}
