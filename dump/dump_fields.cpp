#include "dump/dump_fields.h"

#include <QByteArray>
#include <cstring>

#include "base/code_page.h"
#include "base/conversion_error.h"
#include "base/number_text.h"
#include "document/text_db.h"
#include "document/type_code.h"

namespace dump {

namespace {

constexpr QChar kSeparator = u'.';
constexpr QChar kReplacement = QChar(0xFFFD);

std::uint32_t BitsOf(float value) {
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

float FloatOf(std::uint32_t bits) {
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

QString OneLine(QString text) {
    for (QChar& c : text) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F) c = kReplacement;
    }
    return text;
}

int HexDigit(QChar c) {
    if (c >= u'0' && c <= u'9') return c.unicode() - u'0';
    if (c >= u'a' && c <= u'f') return c.unicode() - u'a' + 10;
    if (c >= u'A' && c <= u'F') return c.unicode() - u'A' + 10;
    return -1;
}

QString Quoted(const QString& text) {
    return QLatin1Char('\'') + text + QLatin1Char('\'');
}

// The stored type bytes a type text stands for.
MenuItemRecord WithTypeOf(const QString& text) {
    MenuItemRecord record;
    type_code::SetFromShown(record, ToCodePage(text));
    return record;
}

bool SameType(const MenuItemRecord& a, const MenuItemRecord& b) {
    return std::memcmp(a.type, b.type, 4) == 0;
}

QString TypeBytesText(const MenuItemRecord& record) {
    QString text;
    for (int i = 0; i < 4; ++i) {
        text += QString::number(static_cast<unsigned char>(record.type[i]), 16)
                    .rightJustified(2, u'0')
                    .toUpper();
    }
    return text;
}

// A number text that is there and not blank.
std::optional<QString> Given(const FieldTexts& texts, Field field) {
    const std::optional<QString>& text = At(texts, field);
    if (!text || text->trimmed().isEmpty()) return std::nullopt;
    return text;
}

class RecordReader {
  public:
    RecordReader(const FieldTexts& texts, bool oneLine) : texts_(texts), oneLine_(oneLine) {}

    ReadRecord Read() {
        Integer(Field::Id, [this](std::int32_t v) { result_.record.id = v; });
        Type();
        ReadFloat(Field::PosX, Field::PosXBits, result_.record.posX);
        ReadFloat(Field::PosY, Field::PosYBits, result_.record.posY);
        ReadFloat(Field::ScaleX, Field::ScaleXBits, result_.record.scaleX);
        ReadFloat(Field::ScaleY, Field::ScaleYBits, result_.record.scaleY);
        Integer(Field::TextId, [this](std::int32_t v) { result_.record.textId = v; });
        Integer(Field::Font,
                [this](std::int32_t v) { result_.record.font = static_cast<std::uint32_t>(v); });
        Integer(Field::Color,
                [this](std::int32_t v) { result_.record.color = static_cast<std::uint32_t>(v); });
        return std::move(result_);
    }

  private:
    void Fail(Field field, const QString& reason) { result_.errors.push_back({field, reason}); }

    template <typename Store>
    void Integer(Field field, Store store) {
        const std::optional<QString> text = Given(texts_, field);
        if (!text) return Fail(field, QStringLiteral("missing"));
        try {
            store(ParseIntegerText(text->trimmed()));
        } catch (const ConversionError& error) {
            Fail(field, error.message());
        }
    }

    void ReadFloat(Field display, Field bitsField, float& out) {
        const std::optional<QString> shown = Given(texts_, display);
        const std::optional<QString> bitsText = Given(texts_, bitsField);
        if (bitsText) {
            std::uint32_t bits = 0;
            try {
                bits = static_cast<std::uint32_t>(ParseIntegerText(bitsText->trimmed()));
            } catch (const ConversionError& error) {
                return Fail(bitsField, error.message());
            }
            // The bits stand unless the display text was changed by hand.
            if (!shown || shown->trimmed() == FloatDisplayText(FloatOf(bits), kSeparator)) {
                out = FloatOf(bits);
                return;
            }
        }
        if (!shown) return Fail(display, QStringLiteral("missing"));
        try {
            out = ParseFloatText(*shown, kSeparator);
        } catch (const ConversionError& error) {
            Fail(display, error.message());
        }
    }

    void Type() {
        const std::optional<QString>& text = At(texts_, Field::Type);
        if (const std::optional<QString> bytesText = Given(texts_, Field::TypeBytes)) {
            QString digits = *bytesText;
            digits.remove(u' ');
            bool valid = digits.size() == 8;
            MenuItemRecord fromBytes;
            for (int i = 0; valid && i < 4; ++i) {
                const int high = HexDigit(digits[2 * i]);
                const int low = HexDigit(digits[2 * i + 1]);
                valid = high >= 0 && low >= 0;
                fromBytes.type[i] = static_cast<char>(high * 16 + low);
            }
            if (!valid) {
                return Fail(Field::TypeBytes,
                            Quoted(*bytesText) + QStringLiteral(" is not four bytes in hex"));
            }
            if (!text || *text == TypeText(fromBytes, oneLine_)) {
                std::memcpy(result_.record.type, fromBytes.type, 4);
                return;
            }
        }
        if (!text) return Fail(Field::Type, QStringLiteral("missing"));
        if (text->size() > 4) {
            return Fail(Field::Type,
                        Quoted(*text) + QStringLiteral(" is longer than four characters"));
        }
        if (FromCodePage(ToCodePage(*text)) != *text) {
            return Fail(
                Field::Type,
                Quoted(*text) +
                    QStringLiteral(" holds a character outside the Windows-1252 code page"));
        }
        std::memcpy(result_.record.type, WithTypeOf(*text).type, 4);
    }

    const FieldTexts& texts_;
    bool oneLine_;
    ReadRecord result_;
};

}  // namespace

std::optional<Field> FieldNamed(QStringView name) {
    for (std::size_t i = 0; i < kFieldCount; ++i) {
        if (name ==
            QLatin1String(kFieldNames[i].data(), static_cast<qsizetype>(kFieldNames[i].size()))) {
            return static_cast<Field>(i);
        }
    }
    return std::nullopt;
}

QString TypeText(const MenuItemRecord& record, bool oneLine) {
    const QString shown = FromCodePage(type_code::Shown(record));
    return oneLine ? OneLine(shown) : shown;
}

FieldTexts DumpRecord(const MenuItemRecord& record, std::size_t index, int storedBytes,
                      const DumpOptions& options) {
    FieldTexts texts;
    At(texts, Field::Index) = QString::number(index);
    At(texts, Field::Id) = IntegerDisplayText(record.id);
    const QString type = TypeText(record, options.oneLine);
    At(texts, Field::Type) = type;
    if (!SameType(WithTypeOf(type), record)) At(texts, Field::TypeBytes) = TypeBytesText(record);

    const auto put = [&texts](Field display, Field bits, float value) {
        At(texts, display) = FloatDisplayText(value, kSeparator);
        At(texts, bits) = HexDisplayText(BitsOf(value));
    };
    put(Field::PosX, Field::PosXBits, record.posX);
    put(Field::PosY, Field::PosYBits, record.posY);
    put(Field::ScaleX, Field::ScaleXBits, record.scaleX);
    put(Field::ScaleY, Field::ScaleYBits, record.scaleY);

    At(texts, Field::TextId) = IntegerDisplayText(record.textId);
    if (options.textDb) {
        if (const std::optional<std::string_view> text = options.textDb->FindText(record.textId)) {
            const QString decoded = FromCodePage(*text);
            At(texts, Field::Text) = options.oneLine ? OneLine(decoded) : decoded;
        }
    }
    At(texts, Field::Font) = HexDisplayText(record.font);
    At(texts, Field::Color) = HexDisplayText(record.color);
    if (storedBytes < kMenuItemRecordSize)
        At(texts, Field::StoredBytes) = QString::number(storedBytes);
    return texts;
}

ReadRecord RecordFromTexts(const FieldTexts& texts, bool oneLine) {
    return RecordReader(texts, oneLine).Read();
}

}  // namespace dump
