#pragma once

#include <QChar>
#include <QString>
#include <cstdint>

// The texts in which the property panel shows numbers, and the conversions of
// the user's texts back into numbers. The decimal separator is the user's
// locale's and is passed in, so that display and conversion always agree.

// Integer text: optional leading blanks, then an optional sign and decimal
// digits (signed 32-bit), or one of the prefixes "$", "x", "X", "0x", "0X" and
// up to eight significant hexadecimal digits (any 32-bit pattern). Nothing may
// follow. Throws ConversionError("'<text>' is not a valid integer value").
std::int32_t ParseIntegerText(const QString& text);

// Float text: optional blanks and sign, digits with an optional decimal
// separator, an optional exponent, optional trailing blanks. The value is read
// in extended precision and rounded to a 32-bit float; a value beyond the
// 32-bit range is refused. Throws
// ConversionError("'<text>' is not a valid floating point value").
float ParseFloatText(const QString& text, QChar decimalSeparator);

// Signed decimal: "-12", "0", "2147483647".
QString IntegerDisplayText(std::int32_t value);

// "0x" and exactly eight upper-case hexadecimal digits.
QString HexDisplayText(std::uint32_t value);

// General format: the exact value rounded to at most 15 significant digits
// (halves away from zero), fixed notation for magnitudes from 0.0001 to below
// 10^15, otherwise scientific ("6.103515625E-5", "1.12589990684262E15").
// -0 shows as "-0" so that it converts back to itself; NaN shows as "NAN" and
// the infinities as "INF" and "-INF".
QString FloatDisplayText(float value, QChar decimalSeparator);
