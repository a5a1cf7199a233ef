#include "base/number_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "base/conversion_error.h"
#include "support/bytes.h"

namespace {

QString IntegerError(const QString& text) {
    try {
        ParseIntegerText(text);
    } catch (const ConversionError& error) {
        return error.message();
    }
    return QString();
}

QString FloatError(const QString& text, QChar separator = u'.') {
    try {
        ParseFloatText(text, separator);
    } catch (const ConversionError& error) {
        return error.message();
    }
    return QString();
}

}  // namespace

TEST(IntegerText, AcceptsDecimalAndEveryHexPrefix) {
    EXPECT_EQ(ParseIntegerText("255"), 255);
    EXPECT_EQ(ParseIntegerText("$ff"), 255);
    EXPECT_EQ(ParseIntegerText("x1F"), 31);
    EXPECT_EQ(ParseIntegerText("0X1f"), 31);
    EXPECT_EQ(ParseIntegerText("0x000000FF"), 255);
    EXPECT_EQ(ParseIntegerText("0x0000000000000000FF"), 255);
    EXPECT_EQ(ParseIntegerText("012"), 12);
    EXPECT_EQ(ParseIntegerText("  7"), 7);
    EXPECT_EQ(ParseIntegerText("+7"), 7);
    EXPECT_EQ(ParseIntegerText("-2147483648"), std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(ParseIntegerText("2147483647"), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(ParseIntegerText("0xFFFFFFFF"), -1);
    EXPECT_EQ(ParseIntegerText("0x80000000"), std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(ParseIntegerText("0"), 0);
}

TEST(IntegerText, RefusesEverythingElseWithTheTextInTheMessage) {
    for (const char* bad :
         {"", "   ", "-", "+", "$", "0x", "x", "-0x10", "+$1", "0x100000000", "2147483648",
          "-2147483649", "7 ", "1.5", "12a", "0xG", "99999999999999999999", "٣"}) {
        EXPECT_EQ(IntegerError(QString::fromUtf8(bad)),
                  QStringLiteral("'%1' is not a valid integer value").arg(QString::fromUtf8(bad)))
            << bad;
    }
}

TEST(FloatText, AcceptsBlanksSignsSeparatorAndExponent) {
    EXPECT_EQ(ParseFloatText("1.5", u'.'), 1.5f);
    EXPECT_EQ(ParseFloatText("1,5", u','), 1.5f);
    EXPECT_EQ(ParseFloatText(" 7", u'.'), 7.0f);
    EXPECT_EQ(ParseFloatText("7 ", u'.'), 7.0f);
    EXPECT_EQ(ParseFloatText(".", u'.'), 0.0f);
    EXPECT_EQ(ParseFloatText("5.", u'.'), 5.0f);
    EXPECT_EQ(ParseFloatText(".5", u'.'), 0.5f);
    EXPECT_EQ(ParseFloatText("-2.5", u'.'), -2.5f);
    EXPECT_EQ(ParseFloatText("2e3", u'.'), 2000.0f);
    EXPECT_EQ(ParseFloatText("2E-1", u'.'), 0.2f);
    EXPECT_EQ(ParseFloatText("5E", u'.'), 5.0f);
    EXPECT_EQ(ParseFloatText("0.1", u'.'), 0.1f);
    EXPECT_EQ(ParseFloatText("1e-5000", u'.'), 0.0f);
    EXPECT_TRUE(std::signbit(ParseFloatText("-0", u'.')));
    EXPECT_EQ(ParseFloatText("3.4028234e38", u'.'), std::numeric_limits<float>::max());
}

TEST(FloatText, RefusesOtherFormsAndValuesBeyondAFloat) {
    for (const char* bad : {"", " ", "-", "+", "1,5", "1.000,5", "0x10", "abc", "e5", "NAN", "INF",
                            "1e39", "-1e39", "1e5000", "1..2"}) {
        const QString text = QString::fromUtf8(bad);
        EXPECT_EQ(FloatError(text),
                  QStringLiteral("'%1' is not a valid floating point value").arg(text))
            << bad;
    }
    EXPECT_EQ(FloatError("1.5", u','), QStringLiteral("'1.5' is not a valid floating point value"));
}

TEST(NumberDisplay, IntegersAndAttributes) {
    EXPECT_EQ(IntegerDisplayText(-12), "-12");
    EXPECT_EQ(IntegerDisplayText(0), "0");
    EXPECT_EQ(HexDisplayText(255), "0x000000FF");
    EXPECT_EQ(HexDisplayText(0), "0x00000000");
    EXPECT_EQ(HexDisplayText(0xFFFFFFFFu), "0xFFFFFFFF");
    EXPECT_EQ(HexDisplayText(0xabcdef12u), "0xABCDEF12");
}

TEST(NumberDisplay, FloatsInGeneralFormat) {
    EXPECT_EQ(FloatDisplayText(0.1f, u'.'), "0.100000001490116");
    EXPECT_EQ(FloatDisplayText(0.0001f, u'.'), "9.99999974737875E-5");
    EXPECT_EQ(FloatDisplayText(std::ldexp(1.0f, -13), u'.'), "0.0001220703125");
    EXPECT_EQ(FloatDisplayText(std::ldexp(1.0f, -14), u'.'), "6.103515625E-5");
    EXPECT_EQ(FloatDisplayText(std::ldexp(1.0f, 50), u'.'), "1.12589990684262E15");
    EXPECT_EQ(FloatDisplayText(-2.5f, u'.'), "-2.5");
    EXPECT_EQ(FloatDisplayText(640.0f, u'.'), "640");
    EXPECT_EQ(FloatDisplayText(1.5f, u','), "1,5");
    EXPECT_EQ(FloatDisplayText(0.0f, u'.'), "0");
    EXPECT_EQ(FloatDisplayText(-0.0f, u'.'), "-0");
    EXPECT_EQ(FloatDisplayText(std::ldexp(1.0f, 49), u'.'), "562949953421312");
    EXPECT_EQ(FloatDisplayText(std::numeric_limits<float>::max(), u'.'), "3.40282346638529E38");
    EXPECT_EQ(FloatDisplayText(FloatFromBits(1), u'.'), "1.40129846432482E-45");
    // A tie at the sixteenth digit rounds away from zero.
    EXPECT_EQ(FloatDisplayText(std::ldexp(1.0f, -22), u'.'), "2.38418579101563E-7");
    EXPECT_EQ(FloatDisplayText(std::nanf(""), u'.'), "NAN");
    EXPECT_EQ(FloatDisplayText(-std::numeric_limits<float>::infinity(), u'.'), "-INF");
}

TEST(NumberDisplay, ShownFloatsConvertBackToTheSameBits) {
    std::mt19937 random(42);
    for (const QChar separator : {QChar(u'.'), QChar(u',')}) {
        for (int i = 0; i < 200000; ++i) {
            const float value = FloatFromBits(static_cast<std::uint32_t>(random()));
            if (!std::isfinite(value)) continue;
            const QString shown = FloatDisplayText(value, separator);
            ASSERT_EQ(BitsOf(ParseFloatText(shown, separator)), BitsOf(value))
                << shown.toStdString();
        }
    }
}

TEST(NumberDisplay, ShownIntegersConvertBack) {
    std::mt19937 random(43);
    for (int i = 0; i < 100000; ++i) {
        const auto value = static_cast<std::int32_t>(random());
        ASSERT_EQ(ParseIntegerText(IntegerDisplayText(value)), value);
        ASSERT_EQ(ParseIntegerText(HexDisplayText(static_cast<std::uint32_t>(value))), value);
    }
}
