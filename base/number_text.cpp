#include "base/number_text.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

#include "base/conversion_error.h"

namespace {

[[noreturn]] void ThrowInteger(const QString& text) {
    throw ConversionError(QStringLiteral("'%1' is not a valid integer value").arg(text));
}

[[noreturn]] void ThrowFloat(const QString& text) {
    throw ConversionError(QStringLiteral("'%1' is not a valid floating point value").arg(text));
}

bool IsDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

int HexValue(QChar c) {
    if (c >= u'0' && c <= u'9') return c.unicode() - u'0';
    if (c >= u'a' && c <= u'f') return c.unicode() - u'a' + 10;
    if (c >= u'A' && c <= u'F') return c.unicode() - u'A' + 10;
    return -1;
}

}  // namespace

std::int32_t ParseIntegerText(const QString& text) {
    const qsizetype length = text.size();
    qsizetype pos = 0;
    while (pos < length && text[pos] == u' ') ++pos;
    if (pos == length) ThrowInteger(text);

    qsizetype hexStart = -1;
    if (text[pos] == u'$' || text[pos] == u'x' || text[pos] == u'X') {
        hexStart = pos + 1;
    } else if (text[pos] == u'0' && pos + 1 < length &&
               (text[pos + 1] == u'x' || text[pos + 1] == u'X')) {
        hexStart = pos + 2;
    }

    if (hexStart >= 0) {
        if (hexStart == length) ThrowInteger(text);
        std::uint32_t value = 0;
        int significant = 0;
        for (qsizetype i = hexStart; i < length; ++i) {
            const int digit = HexValue(text[i]);
            if (digit < 0) ThrowInteger(text);
            if (significant > 0 || digit != 0) ++significant;
            if (significant > 8) ThrowInteger(text);
            value = (value << 4) | static_cast<std::uint32_t>(digit);
        }
        return static_cast<std::int32_t>(value);
    }

    bool negative = false;
    if (text[pos] == u'+' || text[pos] == u'-') {
        negative = text[pos] == u'-';
        ++pos;
    }
    if (pos == length) ThrowInteger(text);
    const std::int64_t limit = negative ? std::int64_t{2147483648} : std::int64_t{2147483647};
    std::int64_t magnitude = 0;
    for (; pos < length; ++pos) {
        if (!IsDigit(text[pos])) ThrowInteger(text);
        magnitude = magnitude * 10 + (text[pos].unicode() - u'0');
        if (magnitude > limit) ThrowInteger(text);
    }
    return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}

float ParseFloatText(const QString& text, QChar decimalSeparator) {
    const qsizetype length = text.size();
    qsizetype pos = 0;
    while (pos < length && text[pos] == u' ') ++pos;

    std::string normalized;
    if (pos < length && (text[pos] == u'+' || text[pos] == u'-')) {
        if (text[pos] == u'-') normalized += '-';
        ++pos;
    }

    // Mantissa: digits, optionally the separator and more digits.
    std::string integerDigits;
    std::string fractionDigits;
    bool sawSeparator = false;
    while (pos < length && IsDigit(text[pos]))
        integerDigits += static_cast<char>(text[pos++].unicode());
    if (pos < length && text[pos] == decimalSeparator) {
        sawSeparator = true;
        ++pos;
        while (pos < length && IsDigit(text[pos]))
            fractionDigits += static_cast<char>(text[pos++].unicode());
    }
    if (integerDigits.empty() && !sawSeparator) ThrowFloat(text);

    // Exponent: "E" or "e", optional sign, digits; an "E" without digits adds nothing.
    std::int64_t exponent = 0;
    if (pos < length && (text[pos] == u'e' || text[pos] == u'E')) {
        ++pos;
        bool negativeExponent = false;
        if (pos < length && (text[pos] == u'+' || text[pos] == u'-')) {
            negativeExponent = text[pos] == u'-';
            ++pos;
        }
        while (pos < length && IsDigit(text[pos])) {
            if (exponent < 1'000'000'000) exponent = exponent * 10 + (text[pos].unicode() - u'0');
            ++pos;
        }
        if (negativeExponent) exponent = -exponent;
    }
    while (pos < length && text[pos] == u' ') ++pos;
    if (pos != length) ThrowFloat(text);

    normalized += integerDigits.empty() ? std::string("0") : integerDigits;
    if (!fractionDigits.empty()) normalized += "." + fractionDigits;
    normalized += "e" + std::to_string(exponent);

    long double value = 0.0L;
    const auto [end, error] =
        std::from_chars(normalized.data(), normalized.data() + normalized.size(), value);
    if (error == std::errc::result_out_of_range) {
        // Too large, or so small that it is zero: tell them apart by where the
        // first significant digit stands.
        const std::string digits = integerDigits + fractionDigits;
        const std::size_t first = digits.find_first_not_of('0');
        if (first == std::string::npos) {
            value = 0.0L;
        } else {
            const std::int64_t leadingPower = static_cast<std::int64_t>(integerDigits.size()) - 1 -
                                              static_cast<std::int64_t>(first) + exponent;
            if (leadingPower >= 0) ThrowFloat(text);
            value = 0.0L;
        }
        if (!normalized.empty() && normalized[0] == '-') value = -value;
    } else if (error != std::errc() || end != normalized.data() + normalized.size()) {
        ThrowFloat(text);
    }
    if (!std::isfinite(value)) ThrowFloat(text);
    const float stored = static_cast<float>(value);
    if (!std::isfinite(stored)) ThrowFloat(text);
    return stored;
}

QString IntegerDisplayText(std::int32_t value) {
    return QString::number(value);
}

QString HexDisplayText(std::uint32_t value) {
    return QStringLiteral("0x") + QString::number(value, 16).rightJustified(8, u'0').toUpper();
}

QString FloatDisplayText(float value, QChar decimalSeparator) {
    if (std::isnan(value)) return QStringLiteral("NAN");
    if (std::isinf(value)) return value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
    const bool negative = std::signbit(value);
    if (value == 0.0f) return negative ? QStringLiteral("-0") : QStringLiteral("0");

    // The exact decimal expansion of any float fits in 120 significant digits.
    char buffer[160];
    const double magnitude = std::fabs(static_cast<double>(value));
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, magnitude,
                                      std::chars_format::scientific, 120);
    const std::string scientific(buffer, result.ptr);
    const std::size_t ePos = scientific.find('e');
    std::string digits = scientific.substr(0, 1) + scientific.substr(2, ePos - 2);
    int exponent10 = std::stoi(scientific.substr(ePos + 1));

    constexpr std::size_t kSignificant = 15;
    if (digits.size() > kSignificant) {
        const bool roundUp = digits[kSignificant] >= '5';
        digits.resize(kSignificant);
        if (roundUp) {
            int i = static_cast<int>(kSignificant) - 1;
            for (; i >= 0; --i) {
                if (digits[i] == '9') {
                    digits[i] = '0';
                } else {
                    ++digits[i];
                    break;
                }
            }
            if (i < 0) {
                digits.insert(digits.begin(), '1');
                digits.resize(kSignificant);
                ++exponent10;
            }
        }
    }
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();

    QString shown = negative ? QStringLiteral("-") : QString();
    const QString separator(decimalSeparator);
    if (exponent10 >= -4 && exponent10 <= 14) {
        if (exponent10 >= 0) {
            const std::size_t integerLength = static_cast<std::size_t>(exponent10) + 1;
            std::string integerPart = digits.substr(0, std::min(integerLength, digits.size()));
            integerPart.append(integerLength - integerPart.size(), '0');
            shown += QString::fromLatin1(integerPart);
            if (digits.size() > integerLength)
                shown += separator + QString::fromLatin1(digits.substr(integerLength));
        } else {
            shown += QStringLiteral("0") + separator + QString(-exponent10 - 1, QLatin1Char('0')) +
                     QString::fromLatin1(digits);
        }
    } else {
        shown += QLatin1Char(digits[0]);
        if (digits.size() > 1) shown += separator + QString::fromLatin1(digits.substr(1));
        shown += QStringLiteral("E") + QString::number(exponent10);
    }
    return shown;
}
