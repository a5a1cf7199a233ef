#include "base/number_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "base/conversion_error.h"
#include "support/bytes.h"

// The messages of refused texts ("'12a' is not a valid integer value") are
// checked by the fuzz target's replay on its seeds.
TEST(IntegerText, AcceptsDecimalAndEveryHexPrefixAndRefusesEverythingElse) {
    for (const char* text : {"255", "0255", "$ff", "xFf", "0X0000000000000000FF"})
        EXPECT_EQ(ParseIntegerText(text), 255) << text;
    EXPECT_EQ(ParseIntegerText("  +7"), 7);
    EXPECT_EQ(ParseIntegerText("-2147483648"), INT32_MIN);
    EXPECT_EQ(ParseIntegerText("2147483647"), INT32_MAX);
    for (const char* bad :
         {"", "   ", "-", "+", "$", "0x", "x", "-0x10", "+$1", "0x100000000", "2147483648",
          "-2147483649", "7 ", "1.5", "12a", "0xG", "99999999999999999999", "٣"}) {
        EXPECT_THROW(ParseIntegerText(QString::fromUtf8(bad)), ConversionError) << bad;
    }
}

TEST(FloatText, AcceptsBlanksSignsSeparatorAndExponentButNoOtherFormOrValueBeyondAFloat) {
    const std::pair<const char*, float> cases[] = {
        {" 7", 7.0f},     {"7 ", 7.0f},      {".", 0.0f},
        {"5.", 5.0f},     {".5", 0.5f},      {"-2.5", -2.5f},
        {"2e3", 2000.0f}, {"2E-1", 0.2f},    {"5E", 5.0f},
        {"0.1", 0.1f},    {"1e-5000", 0.0f}, {"3.4028234e38", std::numeric_limits<float>::max()}};
    for (const auto& [text, value] : cases) EXPECT_EQ(ParseFloatText(text, u'.'), value) << text;
    EXPECT_EQ(ParseFloatText("1,5", u','), 1.5f);
    EXPECT_TRUE(std::signbit(ParseFloatText("-0", u'.')));
    for (const char* bad : {"", " ", "-", "+", "1,5", "1.000,5", "0x10", "abc", "e5", "NAN", "INF",
                            "1e39", "-1e39", "1e5000", "1..2"}) {
        EXPECT_THROW(ParseFloatText(QString::fromUtf8(bad), u'.'), ConversionError) << bad;
    }
    EXPECT_THROW(ParseFloatText("1.5", u','), ConversionError);
}

TEST(NumberDisplay, AttributesInHexAndFloatsInGeneralFormat) {
    EXPECT_EQ(HexDisplayText(0xab), "0x000000AB");
    const std::pair<float, const char*> cases[] = {
        {0.1f, "0.100000001490116"},
        {0.0001f, "9.99999974737875E-5"},
        {std::ldexp(1.0f, -13), "0.0001220703125"},
        {std::ldexp(1.0f, -14), "6.103515625E-5"},
        {std::ldexp(1.0f, 49), "562949953421312"},
        {std::ldexp(1.0f, 50), "1.12589990684262E15"},
        {640.0f, "640"},
        {-0.0f, "-0"},
        {std::numeric_limits<float>::max(), "3.40282346638529E38"},
        {FloatFromBits(1), "1.40129846432482E-45"},
        {std::ldexp(1.0f, -22), "2.38418579101563E-7"},  // a tie rounds away from zero
        {std::nanf(""), "NAN"},
        {-std::numeric_limits<float>::infinity(), "-INF"}};
    for (const auto& [value, text] : cases) EXPECT_EQ(FloatDisplayText(value, u'.'), text);
    EXPECT_EQ(FloatDisplayText(1.5f, u','), "1,5");
}

TEST(NumberDisplay, ShownNumbersConvertBackToTheSameBits) {
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
    for (int i = 0; i < 100000; ++i) {
        const auto value = static_cast<std::int32_t>(random());
        ASSERT_EQ(ParseIntegerText(IntegerDisplayText(value)), value);
        ASSERT_EQ(ParseIntegerText(HexDisplayText(static_cast<std::uint32_t>(value))), value);
    }
}
