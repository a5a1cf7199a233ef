#include "base/code_page.h"

#include <QList>
#include <array>

namespace {

// Bytes 0x80 to 0x9F; the five bytes that Windows-1252 leaves undefined map to
// the C1 control of the same value, as Windows itself does.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

}  // namespace

QString FromCodePage(std::string_view bytes) {
    QString text(static_cast<qsizetype>(bytes.size()), Qt::Uninitialized);
    QChar* out = text.data();
    for (const char byte : bytes) {
        const auto value = static_cast<unsigned char>(byte);
        *out++ = (value >= 0x80 && value < 0xA0) ? QChar(kHighControls[value - 0x80])
                                                 : QChar(static_cast<char16_t>(value));
    }
    return text;
}

std::optional<char> CodePageByte(char32_t character) {
    if ((character > 0 && character < 0x80) || (character >= 0xA0 && character <= 0xFF))
        return static_cast<char>(character);
    for (std::size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] == character) return static_cast<char>(0x80 + i);
    }
    return std::nullopt;
}

QByteArray ToCodePage(const QString& text) {
    QByteArray bytes;
    bytes.reserve(text.size());
    for (const QChar c : text) bytes.append(c.isNull() ? '\0' : CodePageByte(c.unicode()).value_or('?'));
    return bytes;
}

std::optional<char32_t> FirstCharOutsideCodePage(QStringView text) {
    for (const char32_t character : text.toUcs4()) {
        if (!CodePageByte(character)) return character;
    }
    return std::nullopt;
}
