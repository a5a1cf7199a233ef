#pragma once

#include <QString>
#include <array>
#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

#include "document/menu_item_record.h"

class TextDb;

// The fields of one record in a dump, as texts, and the conversions between a
// record and them. The CSV and JSON forms both go through here, so the two
// agree on every value.
namespace dump {

enum class Field {
    Index,      // position in the file, from 0; not read back
    Id,         // IntegerDisplayText
    Type,       // the shown form, as the property panel shows it
    TypeBytes,  // the four stored bytes in hex, when the shown form loses them
    PosX,       // FloatDisplayText with '.'
    PosXBits,   // the exact 32-bit pattern, HexDisplayText
    PosY,
    PosYBits,
    ScaleX,
    ScaleXBits,
    ScaleY,
    ScaleYBits,
    TextId,       // IntegerDisplayText
    Text,         // the database's text for textId; not read back
    Font,         // HexDisplayText
    Color,        // HexDisplayText
    StoredBytes,  // only on a short last record: how many of its bytes the file held
};
inline constexpr std::size_t kFieldCount = 17;

// Field names as the CSV header and the JSON keys spell them, in dump order.
inline constexpr std::array<std::string_view, kFieldCount> kFieldNames = {
    "index",  "id",       "type",   "typeBytes",  "posX",        "posXBits",
    "posY",   "posYBits", "scaleX", "scaleXBits", "scaleY",      "scaleYBits",
    "textId", "text",     "font",   "color",      "storedBytes",
};

inline std::string_view NameOf(Field field) {
    return kFieldNames[static_cast<std::size_t>(field)];
}
std::optional<Field> FieldNamed(QStringView name);

// A record's field texts, indexed by Field; nothing for a field left out. An
// empty number text counts as left out too (a cleared cell), while an empty
// type is the type whose shown form is empty.
using FieldTexts = std::array<std::optional<QString>, kFieldCount>;

inline std::optional<QString>& At(FieldTexts& texts, Field field) {
    return texts[static_cast<std::size_t>(field)];
}
inline const std::optional<QString>& At(const FieldTexts& texts, Field field) {
    return texts[static_cast<std::size_t>(field)];
}

struct DumpOptions {
    // The string database whose texts go into the text field, or none.
    const TextDb* textDb = nullptr;
    // Line breaks and other control characters in texts are shown as U+FFFD,
    // so that every record stays on one line (the CSV form). JSON escapes them.
    bool oneLine = false;
};

// The texts of a record. storedBytes is how many of its 36 bytes the file
// held (fewer only for a short last record).
FieldTexts DumpRecord(const MenuItemRecord& record, std::size_t index, int storedBytes,
                      const DumpOptions& options);

// The type as a dump shows it: the shown form decoded from Windows-1252.
QString TypeText(const MenuItemRecord& record, bool oneLine);

// A field that could not be read back: the reason is a complete sentence part
// such as "'1.2.3' is not a valid floating point value".
struct FieldError {
    Field field;
    QString reason;
};

// Reads a record back from its texts. Where both a display text and its exact
// form (bits, typeBytes) are given, the exact form wins unless the display
// text differs from the one the exact form shows: then it was edited, and the
// edit wins. A field given in neither form is an error. Index, text and
// storedBytes are not read. Every error of the record is returned, in field
// order; the record is only complete when there is none.
struct ReadRecord {
    MenuItemRecord record;
    std::vector<FieldError> errors;
};
ReadRecord RecordFromTexts(const FieldTexts& texts, bool oneLine);

}  // namespace dump
