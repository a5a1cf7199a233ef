// The number texts of the property panel. The first input byte chooses how the
// rest is taken (UTF-16 or Latin-1) and the decimal separator ('.' or ',').
// Whatever converts must show as a text that converts back to the same bits;
// whatever does not must be refused with the message that names it.

#include <cmath>
#include <cstring>

#include "base/conversion_error.h"
#include "base/number_text.h"
#include "fuzz_support.h"

namespace {

std::uint32_t BitsOf(float value) {
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

void CheckInteger(const QString& text) {
    std::int32_t value = 0;
    try {
        value = ParseIntegerText(text);
    } catch (const ConversionError& error) {
        FUZZ_CHECK(error.message() ==
                   QStringLiteral("'%1' is not a valid integer value").arg(text));
        return;
    }
    FUZZ_CHECK(ParseIntegerText(IntegerDisplayText(value)) == value);
    FUZZ_CHECK(ParseIntegerText(HexDisplayText(static_cast<std::uint32_t>(value))) == value);
    // A decimal text holds only blanks, one sign and digits; a hex one a prefix.
    for (const QChar c : text) {
        FUZZ_CHECK(c.unicode() < 0x80);
    }
}

void CheckFloat(const QString& text, QChar separator) {
    float value = 0;
    try {
        value = ParseFloatText(text, separator);
    } catch (const ConversionError& error) {
        FUZZ_CHECK(error.message() ==
                   QStringLiteral("'%1' is not a valid floating point value").arg(text));
        return;
    }
    FUZZ_CHECK(std::isfinite(value));
    const QString shown = FloatDisplayText(value, separator);
    FUZZ_CHECK(BitsOf(ParseFloatText(shown, separator)) == BitsOf(value));
    // The other separator shows and converts back the same way.
    const QChar other = separator == u'.' ? QChar(u',') : QChar(u'.');
    FUZZ_CHECK(BitsOf(ParseFloatText(FloatDisplayText(value, other), other)) == BitsOf(value));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::uint8_t mode = data[0];
    const char* rest = reinterpret_cast<const char*>(data + 1);
    const qsizetype length = static_cast<qsizetype>(size - 1);
    QString text;
    if ((mode & 1) != 0) {
        text.resize(length / 2);
        std::memcpy(text.data(), rest, static_cast<std::size_t>(length / 2) * 2);
    } else {
        text = QString::fromLatin1(rest, length);
    }
    const QChar separator = (mode & 2) != 0 ? QChar(u',') : QChar(u'.');
    CheckInteger(text);
    CheckFloat(text, separator);
    return 0;
}
