#pragma once

#include <QByteArray>
#include <vector>

#include "document/menu_item_record.h"
#include "dump/dump_text.h"

class TextDb;

// Records on their way through the clipboard, between two editors or to and
// from any program that handles text: as the program's own type, the
// records' bytes as the file holds them, and as the text of a dump.
namespace dump {

// The program's own clipboard type.
inline constexpr char kRecordsMimeType[] = "application/x-kavel-def-records";

// The records' 36 bytes each, in order.
QByteArray RecordsBytes(const std::vector<MenuItemRecord>& records);
// Records from such bytes: nothing when they are empty or not whole records.
std::optional<std::vector<MenuItemRecord>> RecordsFromBytes(const QByteArray& bytes);

// The CSV dump of the records, as `kaveldef dump` writes a file of them: the
// header line, then one record a line, exact bits included, with each
// record's text from the string database when one is given.
QByteArray RecordsText(const std::vector<MenuItemRecord>& records, const TextDb* textDb);

// Records from the text of a dump, CSV or JSON (told by its content), as
// `kaveldef build` reads it. The records count only when there is no
// problem; a text without a record is one.
ReadResult RecordsFromText(const QByteArray& text);

}  // namespace dump
