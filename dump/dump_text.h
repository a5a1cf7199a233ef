#pragma once

#include <QByteArray>
#include <QString>
#include <optional>
#include <vector>

#include "dump/dump_fields.h"
#include "document/menu_item_record.h"

class TextDb;

// A menu definition file as text, one record per line, and back.
//
// CSV: a header line naming the columns, then one line per record. Columns
// may be reordered or left out when reading (a left-out bits column lets the
// display text stand alone); an empty number cell counts as left out.
//
// JSON: an object with the file's size, whether its last record was short,
// and "records", an array holding one object per line with its keys always in
// the same order, so that a line diff of two dumps shows the changed fields.
namespace dump {

enum class Format { Csv, Json };

// fileSize is the menu file's length in bytes; when it is not a multiple of
// 36 the last record is marked as short.
QByteArray WriteDump(const std::vector<MenuItemRecord>& records, qint64 fileSize, Format format,
                     const TextDb* textDb);

// A reason a dump was refused. line is where the record (or the fault)
// stands, from 1; record is the record's position when the line is not known.
struct Problem {
    int line = 0;
    int record = -1;
    QString field;
    QString reason;

    // "line 7, field posX: '1.2.3' is not a valid floating point value"
    QString Describe() const;
};

struct ReadResult {
    std::vector<MenuItemRecord> records;
    std::vector<Problem> problems;  // the records count only when there is none
};

ReadResult ReadDump(const QByteArray& bytes, Format format);

// By the file name's extension (.csv, .json), otherwise by the content: JSON
// starts with '{' or '['.
Format DetectFormat(const QString& fileName, const QByteArray& bytes);

}  // namespace dump
